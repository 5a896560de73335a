#include "settings/PathChecks.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace quorvant {

bool FolderExists(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

bool FileExists(const QString& path) { return !path.isEmpty() && QFileInfo(path).isFile(); }

QString ProgramFolder() { return QCoreApplication::applicationDirPath(); }

}  // namespace quorvant

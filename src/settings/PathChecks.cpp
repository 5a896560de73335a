#include "settings/PathChecks.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "settings/FilePrimitives.h"

namespace quorvant {

bool FolderExists(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

bool FileExists(const QString& path) { return !path.isEmpty() && QFileInfo(path).isFile(); }

FileKind KindOf(const QString& path) { return files::KindOfPath(path); }

QString ProgramFolder() { return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()); }

QString JoinPath(const QString& folder, const QString& name) { return folder + QDir::separator() + name; }

}  // namespace quorvant

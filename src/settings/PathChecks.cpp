#include "settings/PathChecks.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace quorvant {

bool FolderExists(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

bool FileExists(const QString& path) { return !path.isEmpty() && QFileInfo(path).isFile(); }

FileKind KindOf(const QString& path) {
    struct stat st;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0) return FileKind::Missing;
    if (S_ISREG(st.st_mode)) return FileKind::Regular;
    if (S_ISDIR(st.st_mode)) return FileKind::Folder;
    if (S_ISFIFO(st.st_mode)) return FileKind::Fifo;
    if (S_ISCHR(st.st_mode)) return FileKind::CharDevice;
    if (S_ISBLK(st.st_mode)) return FileKind::BlockDevice;
    if (S_ISSOCK(st.st_mode)) return FileKind::Socket;
    return FileKind::Other;
}

QString ProgramFolder() { return QCoreApplication::applicationDirPath(); }

}  // namespace quorvant

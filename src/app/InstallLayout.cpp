#include "app/InstallLayout.h"

#include <QDir>
#include <QFileInfo>

#include "settings/PathChecks.h"

namespace quorvant {

QString ExecutableFolder() { return ProgramFolder(); }

QString GenreHelperPath(const QString& executableFolder) {
    const QString name = QStringLiteral("quorvant-genres" QUORVANT_EXE_SUFFIX);
    const QString beside = JoinPath(executableFolder, name);
    if (QFileInfo(beside).isExecutable()) return beside;
    const QString installed = QDir::cleanPath(
        JoinPath(JoinPath(executableFolder, QStringLiteral(QUORVANT_BIN_TO_LIBEXEC)), name));
    // When neither exists the reader reports the path it tried; beside the program is what a
    // copied build folder expects.
    return QFileInfo(installed).isExecutable() ? installed : beside;
}

QString InstalledDataFolder(const QString& executableFolder) {
    return QDir::cleanPath(JoinPath(executableFolder, QStringLiteral(QUORVANT_BIN_TO_DATA)));
}

}  // namespace quorvant

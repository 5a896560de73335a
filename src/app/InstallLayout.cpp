#include "app/InstallLayout.h"

#include <QDir>
#include <QFileInfo>

#include "settings/PathChecks.h"

namespace quorvant {

QString ExecutableFolder() { return ProgramFolder(); }

QString GenreHelperPath(const QString& executableFolder) {
    const QString beside = JoinPath(executableFolder, QStringLiteral("quorvant-genres"));
    if (QFileInfo(beside).isExecutable()) return beside;
    const QString installed = QDir::cleanPath(
        JoinPath(JoinPath(executableFolder, QStringLiteral(QUORVANT_BIN_TO_LIBEXEC)), QStringLiteral("quorvant-genres")));
    // When neither exists the reader reports the path it tried; beside the program is what a
    // copied build folder expects.
    return QFileInfo(installed).isExecutable() ? installed : beside;
}

QString InstalledDataFolder(const QString& executableFolder) {
    return QDir::cleanPath(JoinPath(executableFolder, QStringLiteral(QUORVANT_BIN_TO_DATA)));
}

}  // namespace quorvant

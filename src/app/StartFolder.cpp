#include "app/StartFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "app/InstallLayout.h"
#include "platform/ServiceInterfaces.h"
#include "settings/IniAccessor.h"
#include "settings/PathChecks.h"
#include "settings/SettingsFiles.h"
#include "text/Messages.h"

namespace quorvant {

namespace {
const QString kSection = QStringLiteral("Start");
const QString kKey = QStringLiteral("ProgramFolder");

std::optional<QString> Remembered(const QString& rememberFile) {
    if (!FileExists(rememberFile)) return std::nullopt;
    IniAccessor ini;
    ini.SetFile(rememberFile);
    ini.SetSection(kSection);
    ini.SetKey(kKey);
    const QString folder = ini.ReadValue();
    if (!FolderExists(folder)) return std::nullopt;
    return folder;
}

void Remember(const QString& rememberFile, const QString& folder) {
    // Not being able to remember only means the question comes again next time.
    try {
        QDir().mkpath(QFileInfo(rememberFile).path());
        IniAccessor ini;
        ini.SetFile(rememberFile);
        ini.SetSection(kSection);
        ini.SetKey(kKey);
        ini.WriteValue(folder);
    } catch (const IniError&) {
    }
}
}  // namespace

bool IsInstalledCopy(const QString& executableFolder) {
    if (FileExists(JoinPath(executableFolder, kServerIni))) return false;
    // As root a system folder is writable, so the installed layout also counts.
    return !QFileInfo(executableFolder).isWritable() || FolderExists(InstalledDataFolder(executableFolder));
}

QString RememberFile() {
    return JoinPath(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
                    QStringLiteral("quorvant/quorvant.ini"));
}

std::optional<QString> StartFolder(const QString& givenFolder, const QString& executableFolder,
                                   const QString& rememberFile, FolderChooser& chooser) {
    if (!givenFolder.isEmpty()) return givenFolder;
    if (!IsInstalledCopy(executableFolder)) return executableFolder;
    if (const std::optional<QString> remembered = Remembered(rememberFile)) return remembered;
    const std::optional<QString> chosen =
        chooser.Browse(nullptr, msg::ChooseServerFolderPrompt(), QDir::homePath(),
                       {msg::ChooserOk(), msg::ChooserNewFolder(), msg::ChooserCancel()});
    if (!chosen || chosen->isEmpty() || !FolderExists(*chosen)) return std::nullopt;
    const QString folder = QDir::cleanPath(QFileInfo(*chosen).absoluteFilePath());
    Remember(rememberFile, folder);
    return folder;
}

}  // namespace quorvant

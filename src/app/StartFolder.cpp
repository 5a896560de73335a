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

}  // namespace

QString IniFolderMemory::Read() const {
    if (!FileExists(file_)) return {};
    IniAccessor ini;
    ini.SetFile(file_);
    ini.SetSection(kSection);
    ini.SetKey(kKey);
    return ini.ReadValue();
}

bool IniPreferences::Flag(const QString& name) const {
    if (!FileExists(file_)) return false;
    IniAccessor ini;
    ini.SetFile(file_);
    ini.SetSection(QStringLiteral("Window"));
    ini.SetKey(name);
    return ini.ReadValue().trimmed() == QLatin1String("1");
}

void IniPreferences::SetFlag(const QString& name, bool on) {
    try {
        QDir().mkpath(QFileInfo(file_).path());
        IniAccessor ini;
        ini.SetFile(file_);
        ini.SetSection(QStringLiteral("Window"));
        ini.SetKey(name);
        ini.WriteValue(on ? QStringLiteral("1") : QStringLiteral("0"));
    } catch (const IniError&) {
    }
}

void IniFolderMemory::Write(const QString& folder) {
    try {
        QDir().mkpath(QFileInfo(file_).path());
        IniAccessor ini;
        ini.SetFile(file_);
        ini.SetSection(kSection);
        ini.SetKey(kKey);
        ini.WriteValue(folder);
    } catch (const IniError&) {
    }
}

bool IsInstalledCopy(const QString& executableFolder) {
    if (FileExists(JoinPath(executableFolder, kServerIni)) || FileExists(JoinPath(executableFolder, kNewsIni)))
        return false;
    // As root a system folder is writable, so the installed layout also counts.
    return !QFileInfo(executableFolder).isWritable() || FolderExists(InstalledDataFolder(executableFolder));
}

QString RememberFile() {
    return JoinPath(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
                    QStringLiteral("quorvant/quorvant.ini"));
}

namespace {

enum class Answer { Open, Another, Stop };

// A folder without the server's files may well be the wrong one: a save there would create them.
Answer Settle(const QString& folder, ErrorReporter& reporter) {
    if (FileExists(JoinPath(folder, kServerIni)) || FileExists(JoinPath(folder, kNewsIni))) return Answer::Open;
    switch (reporter.Choose(nullptr, msg::EmptyFolderTitle(), msg::EmptyFolderQuestion(QDir::toNativeSeparators(folder)),
                            {msg::ChooseOtherFolder(), msg::OpenAnyway(), msg::StopCaption()})) {
        case 0:
            return Answer::Another;
        case 1:
            return Answer::Open;
        default:
            return Answer::Stop;
    }
}

// The chooser until the user settles on a folder; remembered then, when `memory` is given.
std::optional<QString> Choose(FolderChooser& chooser, ErrorReporter& reporter, QString start, FolderMemory* memory) {
    for (;;) {
        const std::optional<QString> chosen = chooser.Browse(
            nullptr, msg::ChooseServerFolderPrompt(), start, {msg::ChooserOk(), msg::ChooserNewFolder(), msg::ChooserCancel()});
        if (!chosen || chosen->isEmpty() || !FolderExists(*chosen)) return std::nullopt;
        const QString folder = QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(*chosen).absoluteFilePath()));
        switch (Settle(folder, reporter)) {
            case Answer::Open:
                if (memory) memory->Write(folder);
                return folder;
            case Answer::Another:
                start = folder;
                break;
            case Answer::Stop:
                return std::nullopt;
        }
    }
}

}  // namespace

std::optional<QString> StartFolder(const QString& givenFolder, const QString& executableFolder,
                                   FolderMemory& memory, FolderChooser& chooser, ErrorReporter& reporter) {
    if (!givenFolder.isEmpty()) {
        switch (Settle(givenFolder, reporter)) {
            case Answer::Open:
                return givenFolder;
            case Answer::Another:
                return Choose(chooser, reporter, givenFolder, nullptr);
            case Answer::Stop:
                return std::nullopt;
        }
    }
    if (!IsInstalledCopy(executableFolder)) return executableFolder;
    const QString remembered = memory.Read();
    if (FolderExists(remembered)) return remembered;
    if (!remembered.isEmpty()) {
        const QString why = QFileInfo::exists(remembered) ? msg::FolderIsNoFolder() : msg::FolderDoesNotExist();
        reporter.Report(nullptr, msg::EmptyFolderTitle(),
                        msg::RememberedFolderGone(QDir::toNativeSeparators(remembered), why));
    }
    return Choose(chooser, reporter, QDir::homePath(), &memory);
}

}  // namespace quorvant

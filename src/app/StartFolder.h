#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "platform/ServiceInterfaces.h"

namespace quorvant {

class ErrorReporter;
class FolderChooser;

// Where the chosen program folder is remembered for the user.
class FolderMemory {
public:
    virtual ~FolderMemory() = default;
    // The remembered folder as written, whether or not it is still there; empty when none.
    virtual QString Read() const = 0;
    // Not being able to remember only means the question comes again next time.
    virtual void Write(const QString& folder) = 0;
};

// An INI file, [Start] ProgramFolder: on Linux the file in the user's configuration folder.
class IniFolderMemory : public FolderMemory {
public:
    explicit IniFolderMemory(QString file) : file_(std::move(file)) {}
    QString Read() const override;
    void Write(const QString& folder) override;

private:
    QString file_;
};

// The user's other choices in the same file, section [Window]: a flag is 1 or 0.
class IniPreferences : public Preferences {
public:
    explicit IniPreferences(QString file) : file_(std::move(file)) {}
    bool Flag(const QString& name) const override;
    void SetFlag(const QString& name, bool on) override;

private:
    QString file_;
};

// This system's place for it: the INI file above on Linux; on Windows the registry (the user's
// own choice first, else the folder the installer was given for all users).
std::unique_ptr<FolderMemory> SystemFolderMemory();
// The same place for the user's choices in the windows.
std::unique_ptr<Preferences> SystemPreferences();

// The program folder the window edits:
// - the folder given with --folder, always;
// - else the executable's folder, as a build folder or a copied program folder expects;
// - but an installed copy (its folder holds neither server.ini nor news.ini and is a system folder
//   or, on Windows, any folder) uses the folder remembered for this user in `memory`, and asks for
//   it with the chooser when there is none, or when the remembered one is gone (after saying so
//   and why).
// A given or chosen folder with neither server.ini nor news.ini gets a question that names it:
// choose another, open it anyway, or stop. The chooser's folder is remembered only once settled.
// Nothing when the user cancels or stops; nothing is written then.
std::optional<QString> StartFolder(const QString& givenFolder, const QString& executableFolder,
                                   FolderMemory& memory, FolderChooser& chooser, ErrorReporter& reporter);

// True for an executable folder the window must not edit: neither server.ini nor news.ini in it,
// and either it may not be written or it is where an installation put the program.
bool IsInstalledCopy(const QString& executableFolder);

// The per-user file that remembers the chosen folder on Linux (in the user's configuration folder).
QString RememberFile();

}  // namespace quorvant

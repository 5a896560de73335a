#include <QSettings>

#include "app/StartFolder.h"

namespace quorvant {

namespace {
// HKEY_CURRENT_USER\Software\Quorvant\Quorvant\Start, value ProgramFolder; the installer writes the
// same under HKEY_LOCAL_MACHINE for all users, which QSettings reads when the user has none.
const QString kValue = QStringLiteral("Start/ProgramFolder");

class RegistryFolderMemory : public FolderMemory {
public:
    QString Read() const override { return Settings().value(kValue).toString(); }
    void Write(const QString& folder) override { Settings().setValue(kValue, folder); }

private:
    static QSettings Settings() {
        return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quorvant"),
                         QStringLiteral("Quorvant"));
    }
};
// The user's choices in the windows, under ...\Quorvant\Quorvant\Window.
class RegistryPreferences : public Preferences {
public:
    bool Flag(const QString& name) const override { return Settings().value("Window/" + name).toInt() == 1; }
    void SetFlag(const QString& name, bool on) override { Settings().setValue("Window/" + name, on ? 1 : 0); }

private:
    static QSettings Settings() {
        return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quorvant"),
                         QStringLiteral("Quorvant"));
    }
};
}  // namespace

std::unique_ptr<FolderMemory> SystemFolderMemory() { return std::make_unique<RegistryFolderMemory>(); }
std::unique_ptr<Preferences> SystemPreferences() { return std::make_unique<RegistryPreferences>(); }

}  // namespace quorvant

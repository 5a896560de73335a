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
}  // namespace

std::unique_ptr<FolderMemory> SystemFolderMemory() { return std::make_unique<RegistryFolderMemory>(); }

}  // namespace quorvant

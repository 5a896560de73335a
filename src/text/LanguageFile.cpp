#include "text/LanguageFile.h"

#include <QFile>

#include "settings/IniAccessor.h"
#include "settings/IniDocument.h"
#include "settings/PathChecks.h"
#include "settings/SettingsFiles.h"
#include "text/Messages.h"
#include "text/TextTable.h"

// Resources of a static library must be registered by name, outside any namespace.
static void RegisterBuiltInTexts() { Q_INIT_RESOURCE(quorvant_text); }

namespace quorvant {

namespace {
const QString kSection = QStringLiteral("Language");

QStringList& Folders() {
    static QStringList folders;
    return folders;
}

LanguageSource& Used() {
    static LanguageSource source;
    return source;
}

// Reads one file through the settings accessor; false (with the reason) when it cannot be used.
bool ReadFile(const QString& path, const std::function<void(int, const QString&)>& store, QString* reason) {
    if (!FileExists(path)) {
        *reason = msg::LanguageFileMissing();
        return false;
    }
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly)) {
        *reason = msg::LanguageFileUnreadable();
        return false;
    }
    probe.close();
    IniAccessor iniLang;
    iniLang.SetFile(path);
    iniLang.SetSection(kSection);
    QString texts[kLastTextId + 1];
    bool any = false;
    for (int id = kFirstTextId; id <= kLastTextId; ++id) {
        iniLang.SetKey(QString::number(id));
        texts[id] = iniLang.ReadValue();
        any = any || !texts[id].isEmpty();
    }
    // A file without a single text would give a window without texts.
    if (!any) {
        *reason = msg::LanguageFileWithoutTexts();
        return false;
    }
    for (int id = kFirstTextId; id <= kLastTextId; ++id) store(id, texts[id]);
    return true;
}
}  // namespace

void ReadBuiltIn(const std::function<void(int, const QString&)>& store) {
    RegisterBuiltInTexts();
    QFile resource(QStringLiteral(":/quorvant/quorvant.lng"));
    if (!resource.open(QIODevice::ReadOnly)) return;
    const IniDocument document(resource.readAll());
    for (int id = kFirstTextId; id <= kLastTextId; ++id)
        store(id, document.Value(kSection, QString::number(id)).value_or(QString()));
}

void SetLanguageFolders(const QStringList& folders) { Folders() = folders; }

const LanguageSource& UsedLanguageFile() { return Used(); }

void ReadLanguageFile(const QString& programFolder, const std::function<void(int, const QString&)>& store) {
    LanguageSource source;
    QStringList folders{programFolder};
    for (const QString& folder : Folders())
        if (!folders.contains(folder)) folders.append(folder);
    for (const QString& folder : folders) {
        const QString path = JoinPath(folder, kLanguageFile);
        QString reason;
        if (ReadFile(path, store, &reason)) {
            source.file = path;
            Used() = source;
            return;
        }
        source.unreadable.append(path + QStringLiteral(": ") + reason);
    }
    ReadBuiltIn(store);
    Used() = source;
}

QString BuiltInTextsMessage(const LanguageSource& source) {
    return msg::BuiltInTextsUsed(source.unreadable);
}

}  // namespace quorvant

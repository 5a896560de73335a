#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace quorvant {

// Folders searched for "quorvant.lng" after the program folder, in order (the executable's own
// folder, the installed data folder). Set once by the program before the main window starts.
void SetLanguageFolders(const QStringList& folders);

// Where the texts came from at the last LaadTaal.
struct LanguageSource {
    QString file;             // the language file read; empty when the built-in texts were used
    QStringList unreadable;   // "path: reason" for each file tried that could not be used
    bool BuiltIn() const { return file.isEmpty(); }
};
const LanguageSource& UsedLanguageFile();

// Fills texts 101..450 from the first readable language file of the program folder and the
// folders above, else from the Dutch texts built into the program. Never leaves every text empty.
void ReadLanguageFile(const QString& programFolder, const std::function<void(int id, const QString& text)>& store);

// The Dutch texts built into the program.
void ReadBuiltIn(const std::function<void(int id, const QString& text)>& store);

// What to tell the user, once, when the built-in texts had to be used.
QString BuiltInTextsMessage(const LanguageSource& source);

}  // namespace quorvant

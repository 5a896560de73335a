#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace quorvant::test {

QByteArray ReadFile(const QString& path);
void WriteFile(const QString& path, const QByteArray& bytes);
// `text` as UTF-16LE with its byte-order mark, the way the server's tools write such files.
QByteArray Utf16LeWithBom(const QString& text);
// One value through a fresh accessor, as a window reading the file would see it.
QString ReadKey(const QString& file, const QString& section, const QString& key);
// Every entry of a folder, hidden ones included, by name (but the Windows save lock).
QStringList FolderEntries(const QString& folder);
// The same without the settings history folder, but with what a save left unfinished in it.
QStringList EntriesBesideHistory(const QString& folder);

// A temporary program folder (and a database folder inside it) for building real windows.
class TempProgramFolder {
public:
    // `withLanguage`: put the Dutch quorvant.lng beside the "program".
    explicit TempProgramFolder(bool withLanguage = true);

    QString Path() const { return dir_.path(); }
    QString File(const QString& name) const { return dir_.path() + "/" + name; }
    QString DatabaseFolder() const { return dir_.path() + "/db"; }

    void Write(const QString& name, const QByteArray& bytes) const { WriteFile(File(name), bytes); }
    QByteArray Read(const QString& name) const { return ReadFile(File(name)); }
    bool Exists(const QString& name) const;

private:
    QTemporaryDir dir_;
};

// Value of one key as the file holds it (first section and key, case-insensitive), or a null
// QString when absent. For checking saved files independently of the accessor.
QString IniValueInFile(const QString& path, const QString& section, const QString& key);

// The file's lines without their line ends.
QStringList FileLines(const QByteArray& bytes);

// The key lines of one section (every non-blank line below its header, comments included) as the
// file holds them, in file order, without line ends. A section that stands twice gives both parts.
QStringList SectionLines(const QByteArray& bytes, const QString& section);

// The keys (the text before '=') of the section's lines, in file order.
QStringList SectionKeys(const QByteArray& bytes, const QString& section);

// Texts are program-wide: empty them so each window starts as at a fresh program start.
void ResetProgramState();

}  // namespace quorvant::test

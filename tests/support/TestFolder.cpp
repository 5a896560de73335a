#include "support/TestFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

#include "settings/History.h"
#include "settings/IniAccessor.h"
#include "text/TextTable.h"
#include "windows/shared/NewsItems.h"

namespace quorvant::test {

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
}

QByteArray Utf16LeWithBom(const QString& text) {
    QByteArray bytes("\xFF\xFE", 2);
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

QString ReadKey(const QString& file, const QString& section, const QString& key) {
    IniAccessor ini;
    ini.SetFile(file);
    ini.SetSection(section);
    ini.SetKey(key);
    return ini.ReadValue();
}

QStringList FolderEntries(const QString& folder) {
    QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    // On Windows copies of the program take turns through this empty file, which stays.
    entries.removeOne(QStringLiteral(".quorvant-lock"));
    return entries;
}

QStringList EntriesBesideHistory(const QString& folder) {
    QStringList entries = FolderEntries(folder);
    entries.removeOne(history::FolderName());
    for (const QString& entry : FolderEntries(folder + "/" + history::FolderName()))
        if (entry.endsWith(".pending") || entry.contains(".part-")) entries << history::FolderName() + "/" + entry;
    return entries;
}

TempProgramFolder::TempProgramFolder(bool withLanguage) {
    QDir().mkpath(DatabaseFolder());
    if (withLanguage) Write("quorvant.lng", ReadFile(QString(QUORVANT_SOURCE_DIR) + "/resources/quorvant.lng"));
}

bool TempProgramFolder::Exists(const QString& name) const { return QFileInfo::exists(File(name)); }

QString IniValueInFile(const QString& path, const QString& section, const QString& key) {
    bool inSection = false;
    for (const QString& line : FileLines(ReadFile(path))) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith('[') && trimmed.endsWith(']')) {
            if (inSection) return {};
            inSection = trimmed.mid(1, trimmed.size() - 2).trimmed().compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection || trimmed.startsWith(';')) continue;
        const int eq = line.indexOf('=');
        if (eq < 0) continue;
        if (line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0) {
            const QString value = line.mid(eq + 1);
            return value.isNull() ? QString("") : value;
        }
    }
    return {};
}

QStringList FileLines(const QByteArray& bytes) {
    QStringList lines = QString::fromUtf8(bytes).split('\n');
    for (QString& line : lines)
        if (line.endsWith('\r')) line.chop(1);
    return lines;
}

QStringList SectionLines(const QByteArray& bytes, const QString& section) {
    QStringList lines;
    bool inSection = false;
    for (const QString& line : FileLines(bytes)) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith('[')) {
            inSection = trimmed.compare("[" + section + "]", Qt::CaseInsensitive) == 0;
            continue;
        }
        if (inSection && !trimmed.isEmpty()) lines.append(line);
    }
    return lines;
}

QStringList SectionKeys(const QByteArray& bytes, const QString& section) {
    QStringList keys;
    for (const QString& line : SectionLines(bytes, section))
        if (line.contains('=')) keys.append(line.left(line.indexOf('=')));
    return keys;
}

void ResetProgramState() { ClearTexts(); }

}  // namespace quorvant::test

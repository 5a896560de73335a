#include "app/IniCheck.h"

#include <dtl/dtl.hpp>

#include <QDir>
#include <QHash>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <algorithm>

#include "app/IniOutput.h"
#include "devices/SoundSystem.h"
#include "schema/KeyChecks.h"
#include "schema/KeySchema.h"
#include "settings/AtomicFile.h"
#include "settings/IniAccessor.h"
#include "settings/IniDocument.h"
#include "settings/IniEncoding.h"
#include "settings/PathChecks.h"
#include "settings/SettingsFiles.h"
#include "settings/ValueRules.h"
#include "text/FailureReasons.h"
#include "text/TextTable.h"

namespace quorvant::ini {

namespace {

// Which of the server's files a path is, by its name; nothing for any other file.
std::optional<schema::File> KindOfFile(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    for (schema::File file : {schema::File::Server, schema::File::News, schema::File::Common})
        if (name.compare(schema::FileName(file), Qt::CaseInsensitive) == 0) return file;
    return std::nullopt;
}

const schema::Key* KnownKey(const QString& path, const QString& section, const QString& key) {
    const std::optional<schema::File> file = KindOfFile(path);
    if (!file) return nullptr;
    return schema::Lookup(*file, TrimSpacesAndTabs(section).toString(), TrimSpacesAndTabs(key).toString());
}

// This machine as quorvant-ini sees it: files and folders, and ALSA's cards and mixer lines. The
// genre list is read only by the window's helper, so the panic genre is not checked here.
class ToolFacts : public schema::LocalFacts {
public:
    std::optional<int> SoundDevices() const override { return int(sound::PlaybackDevices().size()); }
    std::optional<int> MixerDevices() const override { return int(Cards().size()); }
    std::optional<int> MixerLines(int device) const override {
        if (device < 0 || device >= int(Cards().size())) return std::nullopt;
        return int(sound::MixerLines(Cards()[device].number).size());
    }

private:
    const std::vector<sound::Card>& Cards() const {
        if (!cards_) cards_ = sound::Cards();
        return *cards_;
    }
    mutable std::optional<std::vector<sound::Card>> cards_;
};

// The lines of a file's text, each with its line break where it has one, so that a last line
// that gains or loses its break counts as changed.
std::vector<QString> Lines(const QString& text) {
    std::vector<QString> lines;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype end = text.indexOf(u'\n', start);
        if (end < 0) {
            lines.push_back(text.mid(start));
            break;
        }
        lines.push_back(text.mid(start, end + 1 - start));
        start = end + 1;
    }
    return lines;
}

QString TextOf(const QByteArray& bytes) {
    int bom = 0;
    const IniEncoding encoding = DetectEncoding(bytes, &bom);
    return Decode(bytes.mid(bom), encoding);
}

// A unified diff of the two texts (three lines of context), as `diff -u` prints it; nothing when
// they are the same. dtl finds the shortest edit script and groups it into hunks.
QString UnifiedDiff(const QString& name, const QString& before, const QString& after) {
    const std::vector<QString> a = Lines(before);
    const std::vector<QString> b = Lines(after);
    if (a == b) return {};
    dtl::Diff<QString> diff(a, b);
    diff.onHuge();
    diff.compose();
    diff.composeUnifiedHunks();
    QString out = QStringLiteral("--- %1\n+++ %1\n").arg(name);
    // An empty range starts at the line before it, as patch expects.
    const auto start = [](long long at, long long count) { return count == 0 ? at - 1 : at; };
    for (const auto& hunk : diff.getUniHunks()) {
        out += QStringLiteral("@@ -%1,%2 +%3,%4 @@\n")
                   .arg(start(hunk.a, hunk.b))
                   .arg(hunk.b)
                   .arg(start(hunk.c, hunk.d))
                   .arg(hunk.d);
        for (const auto* part : {&hunk.common[0], &hunk.change, &hunk.common[1]})
            for (const auto& [line, info] : *part) {
                out += info.type == dtl::SES_ADD ? u'+' : info.type == dtl::SES_DELETE ? u'-' : u' ';
                QString shown = line;
                if (shown.endsWith(u'\n')) shown.chop(1);
                if (shown.endsWith(u'\r')) shown.chop(1);
                out += shown + (line.endsWith(u'\n') ? QStringLiteral("\n") : QStringLiteral("\n\\ No newline at end of file\n"));
            }
    }
    return out;
}

int DryRun(const QString& file, const std::vector<Edit>& edits, const std::function<QString(size_t)>& where,
           const Options& options) {
    QByteArray bytes;
    if (QFileInfo::exists(file)) {
        FileStamp stamp;
        std::optional<IniError> problem;
        if (!ReadWholeFile(file, &bytes, &stamp, &problem))
            return Fail(kFileError,
                        QStringLiteral("%1: cannot read: %2")
                            .arg(file, problem ? FailureReason(*problem, Language::English) : QStringLiteral("read error")));
    }
    IniDocument document(bytes);
    for (size_t i = 0; i < edits.size(); ++i) {
        const Edit& edit = edits[i];
        try {
            if (edit.remove)
                document.RemoveKey(edit.section, edit.key);
            else
                document.SetValue(edit.section, edit.key, edit.value);
        } catch (const IniError& error) {
            return Fail(kUsage, QStringLiteral("%1: %2; nothing was changed")
                                    .arg(where(i), FailureReason(error.ForFile(file), Language::English)));
        }
    }
    if (const std::optional<int> stop = RefuseUnknownNames(file, edits, where, options)) return *stop;
    return PrintFileDiff(file, bytes, document.Serialize(), options);
}

// How far apart two names are: the edits (a letter added, dropped, changed or two swapped) that
// turn one into the other, without regard to case.
int Distance(const QString& first, const QString& second) {
    const QString a = first.toCaseFolded();
    const QString b = second.toCaseFolded();
    std::vector<std::vector<int>> d(size_t(a.size() + 1), std::vector<int>(size_t(b.size() + 1)));
    for (qsizetype i = 0; i <= a.size(); ++i) d[size_t(i)][0] = int(i);
    for (qsizetype j = 0; j <= b.size(); ++j) d[0][size_t(j)] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i)
        for (qsizetype j = 1; j <= b.size(); ++j) {
            int& here = d[size_t(i)][size_t(j)];
            here = std::min({d[size_t(i - 1)][size_t(j)] + 1, d[size_t(i)][size_t(j - 1)] + 1,
                             d[size_t(i - 1)][size_t(j - 1)] + (a[i - 1] == b[j - 1] ? 0 : 1)});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                here = std::min(here, d[size_t(i - 2)][size_t(j - 2)] + 1);
        }
    return d[size_t(a.size())][size_t(b.size())];
}

// The known name nearest to `name`, when one is near enough to be a slip of the keyboard.
std::optional<QString> Nearest(const QString& name, const QStringList& known) {
    std::optional<QString> best;
    int bestDistance = std::max<int>(2, int(name.size() / 3)) + 1;
    for (const QString& candidate : known) {
        const int distance = Distance(name, candidate);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = candidate;
        }
    }
    return best;
}

QString Named(const Edit& edit) { return QStringLiteral("[%1] %2").arg(edit.section, edit.key); }

}  // namespace

std::optional<int> BeforeSave(const QString& file, const std::vector<Edit>& edits,
                              const std::function<QString(size_t)>& where, const Options& options) {
    for (size_t i = 0; i < edits.size(); ++i) {
        const Edit& edit = edits[i];
        const QString place = where(i) == file ? file : QStringLiteral("%1: %2").arg(file, where(i));
        const auto refuse = [&](const QString& why, const QString& hint = {}) {
            return Fail(kUsage, QStringLiteral("%1: %2: %3; nothing was changed%4").arg(place, Named(edit), why, hint));
        };
        // "[x" would be written as the header "[[x]", which reads back as another name.
        for (const QString& name : {edit.section, edit.key})
            if (TrimSpacesAndTabs(name).startsWith(u'['))
                return refuse(QStringLiteral("the name \"%1\" starts with \"[\"").arg(name));
        for (const QString& text : {edit.section, edit.key, edit.value})
            if (text.contains(QChar(0))) return refuse(QStringLiteral("contains a NUL character"));
        // A line break is the engine's to refuse, with its own words.
        if (edit.remove || options.force || edit.value.contains(u'\n') || edit.value.contains(u'\r')) continue;
        const schema::Key* key = KnownKey(file, edit.section, edit.key);
        if (!key) continue;
        if (const std::optional<schema::Finding> finding = schema::CheckValue(*key, edit.section, edit.value))
            return refuse(schema::Reason(*finding, Language::English), QStringLiteral(" (--force stores it anyway)"));
    }
    if (options.dryRun) return DryRun(file, edits, where, options);
    return std::nullopt;
}

std::optional<int> RefuseUnknownNames(const QString& file, const std::vector<Edit>& edits,
                                      const std::function<QString(size_t)>& where, const Options& options) {
    if (options.allowNew) return std::nullopt;
    const std::optional<schema::File> kind = KindOfFile(file);
    IniAccessor ini;
    ini.SetFile(file);
    // Sections by name key, as the file or the schema spells them.
    QHash<QString, QString> sections;
    for (const QString& section : ini.SectionNames()) sections.insert(NameKey(section), section);
    if (kind)
        for (const schema::Key& key : schema::KeysOf(*kind))
            for (const QString& section : schema::SectionNames(key.section)) sections.insert(NameKey(section), section);
    QHash<QString, QHash<QString, QString>> keysOf;
    for (size_t i = 0; i < edits.size(); ++i) {
        const Edit& edit = edits[i];
        if (edit.remove) continue;
        const QString place = where(i) == file ? file : QStringLiteral("%1: %2").arg(file, where(i));
        const auto refuse = [&](const QString& what, const QStringList& known, const QString& name,
                                const QString& section) {
            const std::optional<QString> nearest = Nearest(name, known);
            const QString hint = !nearest ? QString()
                                 : section.isEmpty() ? QStringLiteral("; did you mean [%1]?").arg(*nearest)
                                                     : QStringLiteral("; did you mean [%1] %2?").arg(section, *nearest);
            return Fail(kUsage, QStringLiteral("%1: %2 is known neither to the schema nor to the file%3 (--new adds it); "
                                               "nothing was changed")
                                    .arg(place, what, hint));
        };
        const auto section = sections.constFind(NameKey(edit.section));
        if (section == sections.cend())
            return refuse(QStringLiteral("the section [%1]").arg(edit.section), sections.values(), edit.section, {});
        // Each section's known keys once, by name key, however many edits it has.
        auto known = keysOf.find(NameKey(*section));
        if (known == keysOf.end()) {
            ini.SetSection(*section);
            QStringList keys = ini.KeyNames();
            if (kind)
                for (const schema::Key& key : schema::KeysOf(*kind))
                    if (schema::SectionNames(key.section).contains(*section, Qt::CaseInsensitive))
                        keys << key.Name() << key.WriteName();
            QHash<QString, QString> byName;
            for (const QString& key : keys) byName.insert(NameKey(key), key);
            known = keysOf.insert(NameKey(*section), byName);
        }
        if (!known->contains(NameKey(edit.key)) && !(kind && KnownKey(file, edit.section, edit.key)))
            return refuse(QStringLiteral("[%1] %2").arg(edit.section, edit.key), known->values(), edit.key, *section);
    }
    return std::nullopt;
}

int PrintFileDiff(const QString& file, const QByteArray& before, const QByteArray& after, const Options& options) {
    const QString diff = UnifiedDiff(file, TextOf(before), TextOf(after));
    Print(stdout, diff);
    return Compared(!diff.isEmpty(), options);
}

QStringList FilesToCheck(const QString& fileOrFolder) {
    if (!QFileInfo(fileOrFolder).isDir()) return {fileOrFolder};
    return {JoinPath(fileOrFolder, kServerIni), JoinPath(fileOrFolder, kNewsIni)};
}

int Check(const QStringList& files, const Options& options) {
    LoadBuiltInTexts();
    const ToolFacts facts;
    int problems = 0;
    for (const QString& path : files) {
        const std::optional<schema::File> kind = KindOfFile(path);
        if (!kind)
            return Fail(kUsage, QStringLiteral("%1: not a file whose keys are known (%2, %3, %4)")
                                    .arg(path, kServerIni, kNewsIni, kCommonSettingsIni));
        IniAccessor ini;
        ini.SetFile(path);
        const auto values = [&](const schema::Key& key, const QString& section) -> std::optional<QString> {
            ini.SetSection(section);
            ini.SetKey(key.Name());
            if (!ini.KeyExists()) return std::nullopt;
            return ini.ReadValue();
        };
        for (const schema::Finding& finding : schema::CheckFile(*kind, values, facts)) {
            const QString reason = schema::Reason(finding, Language::English);
            if (options.json)
                PrintJson({{"file", path}, {"section", finding.section}, {"key", finding.key->Name()},
                           {"value", finding.text}, {"reason", reason}});
            else
                Print(stdout, QStringLiteral("%1: [%2] %3=%4: %5\n")
                                  .arg(path, finding.section, finding.key->Name(), finding.text, reason));
            ++problems;
        }
    }
    return problems == 0 ? 0 : kProblems;
}

std::optional<int> RefuseUndecodable(const QStringList& rest, const QList<bool>& decodable) {
    static const char* const kRoles[] = {"the file name", "the command", "the section name", "the key name", "the value"};
    for (qsizetype i = 0; i < rest.size() && i < decodable.size(); ++i) {
        if (decodable[i]) continue;
        const QString role = QString::fromLatin1(kRoles[std::min<qsizetype>(i, std::size(kRoles) - 1)]);
        const QString key = rest.size() >= 4 ? QStringLiteral(" of [%1] %2").arg(rest[2], rest[3]) : QString();
        return Fail(kUsage, QStringLiteral("%1: %2%3 is not valid UTF-8; nothing was changed")
                                .arg(rest.value(0), role, i >= 2 ? key : QString()));
    }
    return std::nullopt;
}

int Finished(int code) {
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return code;
    const int error = errno;
    Fail(kFileError, QStringLiteral("cannot write to standard output: %1")
                         .arg(SystemErrorText(error, true, Language::English)));
    return kFileError;
}

}  // namespace quorvant::ini

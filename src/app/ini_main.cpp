// quorvant-ini: the window's safe edits from scripts. Only the settings engine, no display.

#include <QByteArray>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "app/IniCheck.h"
#include "app/ProcessSetup.h"
#include "app/IniOutput.h"
#include "app/IniHistory.h"
#include "settings/AtomicFile.h"
#include "settings/IniAccessor.h"
#include "settings/IniEncoding.h"
#include "schema/KeySchema.h"
#include "text/FailureReasons.h"
#include "text/TextTable.h"

namespace {

using quorvant::IniAccessor;
using quorvant::IniError;

using quorvant::ini::Fail;
using quorvant::ini::kAbsent;
using quorvant::ini::kDone;
using quorvant::ini::kFileError;
using quorvant::ini::kUsage;
using quorvant::ini::Print;

const char* const kUsageText =
    "Usage: quorvant-ini [OPTIONS] FILE COMMAND [ARGUMENTS]   (options may stand anywhere)\n"
    "       quorvant-ini --help | --version | --schema\n"
    "\n"
    "Reads and changes one settings file as the Quorvant window does: names match without regard\n"
    "to case, the first entry counts, every save is one atomic replacement under the folder lock,\n"
    "and the file's encoding, line endings and every line not changed stay as they are.\n"
    "\n"
    "Commands:\n"
    "  get SECTION KEY          print the value (exit 1 when absent)\n"
    "  set SECTION KEY VALUE    store the value (creates the key or section when needed)\n"
    "  del SECTION KEY          remove the key (exit 1 when absent)\n"
    "  list [SECTION]           print the sections, or the section's key=value lines\n"
    "  apply                    read 'set SECTION KEY VALUE' and 'del SECTION KEY' lines from\n"
    "                           standard input and store them all in one save, or none\n"
    "  history                  print the kept versions, oldest first, one line each: version,\n"
    "                           time (UTC), user@host, program, action, keys its save changed\n"
    "  diff [A [B]]             print the keys that differ from version A (default: the last)\n"
    "                           to version B (default: the file now)\n"
    "  restore VERSION [SECTION KEY]\n"
    "                           put the version back, or only that key of it, as a save\n"
    "  check                    print one line per value the server would not read as meant\n"
    "                           (FILE may be the program folder: its server.ini and news.ini)\n"
    "\n"
    "Options:\n"
    "  --force      set and apply store a value of a known key that its rule cannot read or\n"
    "               that lies outside its limits\n"
    "  --new        set and apply may add a section or key that neither the schema nor the file\n"
    "               knows (otherwise refused, naming the nearest known one)\n"
    "  --dry-run    set, del, apply and restore print what they would change as a unified diff\n"
    "               of the file and write nothing\n"
    "  --exit-code  diff, and writes under --dry-run, exit 1 when something differs\n"
    "  --json       get, list, check, history and diff print one JSON object per line\n"
    "  --           what follows is no option (a value that starts with --)\n"
    "Every save keeps the content it replaces in .quorvant-history beside the file.\n"
    "\n"
    "--schema prints every key the windows read and write, one JSON object per line: file,\n"
    "section, key, writeKey, rule, default, lowest, highest, step, digits, caption, unit, window,\n"
    "page and flags (where the key departs from its rule). null where a key has no such value.\n"
    "\n"
    "Exit status: 0 done, 1 key, section or version absent (or a difference, with --exit-code),\n"
    "2 usage error or refused value, 3 the file could not be read or saved (or standard output\n"
    "not written), 4 check found problems.\n";

QString Brackets(const QString& section, const QString& key) { return QStringLiteral("[%1] %2").arg(section, key); }

// The engine names the reason; scripts log it in English, from the table the window's Dutch
// comes from.
QString EnglishReason(const IniError& error) { return quorvant::FailureReason(error, quorvant::Language::English); }

// Whether the file can be read; the message is printed when it cannot. The file is read and
// parsed here once: the commands that follow find the parse in the engine's cache.
bool ReadState(const QString& file, bool mayBeMissing, int* code) {
    const QFileInfo info(file);
    if (!info.exists()) {
        if (mayBeMissing) return true;
        *code = Fail(kFileError, QStringLiteral("%1: cannot read: no such file").arg(file));
        return false;
    }
    if (!info.isFile()) {
        *code = Fail(kFileError, QStringLiteral("%1: cannot read: not a regular file").arg(file));
        return false;
    }
    // The engine says while it reads why a file cannot be read, or that it is damaged: what a
    // damaged file would print is not what it holds, and the window refuses it too.
    IniAccessor ini;
    ini.SetFile(file);
    if (const std::optional<IniError> problem = ini.LoadProblem()) {
        *code = Fail(kFileError, QStringLiteral("%1: cannot read: %2").arg(file, EnglishReason(*problem)));
        return false;
    }
    return true;
}

using quorvant::ini::Edit;

// Stores the edits in one save; the file stays as it was on any failure. `where` names an edit in
// a message ("FILE" or "standard input, line N").
int Save(const QString& file, const std::vector<Edit>& edits, const std::function<QString(size_t)>& where,
         const quorvant::ini::Options& options) {
    IniAccessor ini;
    ini.SetFile(file);
    try {
        quorvant::IniSave save(ini);
        for (size_t i = 0; i < edits.size(); ++i) {
            const Edit& edit = edits[i];
            ini.SetSection(edit.section);
            ini.SetKey(edit.key);
            if (edit.remove) {
                ini.DeleteKey();
                continue;
            }
            // A value or name the file cannot take is refused here, before anything is written.
            try {
                ini.WriteValue(edit.value);
            } catch (const IniError& error) {
                return Fail(kUsage, QStringLiteral("%1: %2; nothing was changed").arg(where(i), EnglishReason(error)));
            }
        }
        // After the engine's own refusals, which say more about a name it cannot take.
        if (const std::optional<int> stop = quorvant::ini::RefuseUnknownNames(file, edits, where, options)) return *stop;
        save.Commit();
    } catch (const IniError& error) {
        return Fail(kFileError, QStringLiteral("%1: cannot save: %2").arg(file, EnglishReason(error)));
    }
    return kDone;
}

// One word of an apply line: up to the next blank, or in double quotes when it holds blanks.
std::optional<QString> NextWord(const QString& line, qsizetype* at) {
    while (*at < line.size() && (line[*at] == u' ' || line[*at] == u'\t')) ++*at;
    if (*at >= line.size()) return std::nullopt;
    if (line[*at] == u'"') {
        const qsizetype end = line.indexOf(u'"', *at + 1);
        if (end < 0) return std::nullopt;
        const QString word = line.mid(*at + 1, end - *at - 1);
        *at = end + 1;
        return word;
    }
    qsizetype end = *at;
    while (end < line.size() && line[end] != u' ' && line[end] != u'\t') ++end;
    const QString word = line.mid(*at, end - *at);
    *at = end;
    return word;
}

// Parses "set SECTION KEY VALUE" / "del SECTION KEY"; VALUE is the rest of the line after the one
// blank that follows KEY, exactly as it stands. Empty text when the line is fine.
QString ParseApplyLine(const QString& line, Edit* edit) {
    qsizetype at = 0;
    const std::optional<QString> command = NextWord(line, &at);
    if (command != QLatin1String("set") && command != QLatin1String("del"))
        return QStringLiteral("expected 'set SECTION KEY VALUE' or 'del SECTION KEY'");
    const std::optional<QString> section = NextWord(line, &at);
    const std::optional<QString> key = NextWord(line, &at);
    if (!section || !key) return QStringLiteral("a section and a key are needed (names with blanks in double quotes)");
    edit->remove = *command == QLatin1String("del");
    edit->section = *section;
    edit->key = *key;
    if (edit->remove) {
        qsizetype rest = at;
        if (NextWord(line, &rest)) return QStringLiteral("'del' takes a section and a key only");
        return {};
    }
    if (at >= line.size()) return QStringLiteral("no value for %1 (an empty value needs a blank after the key)").arg(Brackets(*section, *key));
    edit->value = line.mid(at + 1);
    return {};
}

QByteArray ReadStandardInput() {
    QByteArray input;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) input.append(buffer, qsizetype(n));
    return input;
}

int Apply(const QString& file, const quorvant::ini::Options& options) {
    int code = kDone;
    if (!ReadState(file, true, &code)) return code;
    QList<QByteArray> lines = ReadStandardInput().split('\n');
    if (!lines.isEmpty() && lines.constLast().isEmpty()) lines.removeLast();
    std::vector<Edit> edits;
    std::vector<qsizetype> lineOf;
    const auto lineName = [](qsizetype line) { return QStringLiteral("standard input, line %1").arg(line + 1); };
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray raw = lines[i];
        if (raw.endsWith('\r')) raw.chop(1);
        const QString line = QString::fromUtf8(raw);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#')) continue;
        const auto lineError = [&](const QString& what) {
            return Fail(kUsage, QStringLiteral("%1: %2; nothing was changed").arg(lineName(i), what));
        };
        if (!quorvant::IsValidUtf8(raw.constData(), raw.size())) return lineError(QStringLiteral("not valid UTF-8"));
        Edit edit;
        const QString problem = ParseApplyLine(line, &edit);
        if (!problem.isEmpty()) return lineError(problem);
        edits.push_back(edit);
        lineOf.push_back(i);
    }
    const auto where = [&](size_t edit) { return lineName(lineOf[edit]); };
    if (const std::optional<int> stop = quorvant::ini::BeforeSave(file, edits, where, options)) return *stop;
    return Save(file, edits, where, options);
}

QString JsonText(const QString& text) {
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        if (c == u'"' || c == u'\\')
            out += u'\\' + QString(c);
        else if (c.unicode() < 0x20)
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
        else
            out += c;
    }
    return out + u'"';
}

// One JSON object per key of the schema, in the schema's order.
int PrintSchema() {
    namespace schema = quorvant::schema;
    quorvant::LoadBuiltInTexts();
    const QString null = QStringLiteral("null");
    for (const schema::Key& key : schema::Keys()) {
        const auto number = [&](bool has, qint32 value) { return has ? QString::number(value) : null; };
        const bool led = key.hasLimits && key.limits.digits > 0;
        QStringList flags;
        for (const QString& flag : schema::IrregularNames(key.irregular)) flags << JsonText(flag);
        const QString page = schema::PageText(key);
        const QStringList fields = {
            QStringLiteral("\"file\":") + JsonText(schema::FileName(key.file)),
            QStringLiteral("\"section\":") + JsonText(key.Section()),
            QStringLiteral("\"key\":") + JsonText(key.Name()),
            QStringLiteral("\"writeKey\":") + (key.Has(schema::ReadOnly) ? null : JsonText(key.WriteName())),
            QStringLiteral("\"rule\":") + JsonText(schema::RuleName(key.rule)),
            QStringLiteral("\"default\":") + number(key.hasDefault, key.fallback),
            QStringLiteral("\"lowest\":") + number(key.hasLimits, key.limits.lowest),
            QStringLiteral("\"highest\":") + number(key.hasLimits && !key.Has(schema::SoundDevice), key.limits.highest),
            QStringLiteral("\"step\":") + number(led, key.limits.step),
            QStringLiteral("\"digits\":") + number(led, key.limits.digits),
            QStringLiteral("\"caption\":") + JsonText(schema::CaptionText(key)),
            QStringLiteral("\"unit\":") + (key.HasUnit() ? JsonText(schema::UnitText(key)) : null),
            QStringLiteral("\"window\":") + JsonText(schema::WindowName(key.window)),
            QStringLiteral("\"page\":") + (page.isEmpty() ? null : JsonText(page)),
            QStringLiteral("\"flags\":[") + flags.join(u',') + u']',
        };
        Print(stdout, u'{' + fields.join(u',') + QStringLiteral("}\n"));
    }
    return kDone;
}

// The options, wherever they stand (as git and crudini take them), and the rest in order. "--"
// ends the options; -h and -v count only before the file. Nothing, with `code` set, on a usage error.
struct CommandLine {
    quorvant::ini::Options options;
    QStringList rest;
    QList<bool> decodable;
    bool help = false;
    bool version = false;
    bool schema = false;
};

std::optional<CommandLine> ParseCommandLine(const QStringList& args, const QList<bool>& decodable, int* code) {
    CommandLine line;
    bool optionsEnd = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool shortOption = line.rest.isEmpty() && (arg == QLatin1String("-h") || arg == QLatin1String("-v"));
        if (optionsEnd || (!shortOption && (!arg.startsWith(QLatin1String("--")) || arg.size() == 2))) {
            if (!optionsEnd && arg == QLatin1String("--")) {
                optionsEnd = true;
                continue;
            }
            line.rest << arg;
            line.decodable << decodable.value(i, true);
            continue;
        }
        quorvant::ini::Options& o = line.options;
        const std::pair<const char*, bool*> flags[] = {
            {"--help", &line.help},        {"-h", &line.help},         {"--version", &line.version},
            {"-v", &line.version},         {"--schema", &line.schema}, {"--force", &o.force},
            {"--dry-run", &o.dryRun},      {"--exit-code", &o.exitCode}, {"--json", &o.json},
            {"--new", &o.allowNew},
        };
        const auto flag = std::find_if(std::begin(flags), std::end(flags),
                                       [&](const auto& f) { return arg == QLatin1String(f.first); });
        if (flag == std::end(flags)) {
            *code = Fail(kUsage, QStringLiteral("unknown option '%1'; see quorvant-ini --help").arg(arg));
            return std::nullopt;
        }
        *flag->second = true;
    }
    return line;
}

int Run(const QStringList& args, const QList<bool>& decodable) {
    int code = kDone;
    const std::optional<CommandLine> line = ParseCommandLine(args, decodable, &code);
    if (!line) return code;
    if (line->help) {
        std::fputs(kUsageText, stdout);
        return kDone;
    }
    if (line->version) {
        std::printf("quorvant-ini %d.%d.%d\n", QUORVANT_VERSION_MAJOR, QUORVANT_VERSION_MINOR, QUORVANT_VERSION_BUILD);
        return kDone;
    }
    if (line->schema) return PrintSchema();
    const quorvant::ini::Options& options = line->options;
    quorvant::ini::StartHistory();
    const QStringList& rest = line->rest;
    if (rest.size() < 2) return Fail(kUsage, QStringLiteral("a file and a command are needed; see quorvant-ini --help"));
    if (const std::optional<int> refused = quorvant::ini::RefuseUndecodable(rest, line->decodable)) return *refused;
    const QString& file = rest[0];
    const QString& command = rest[1];
    const QStringList operands = rest.mid(2);
    const auto wrongCount = [&](const char* form) {
        return Fail(kUsage, QStringLiteral("usage: quorvant-ini FILE %1").arg(QLatin1String(form)));
    };
    const bool writes = command == QLatin1String("set") || command == QLatin1String("del") ||
                        command == QLatin1String("apply") || command == QLatin1String("restore");
    if (options.exitCode && !(command == QLatin1String("diff") || (writes && options.dryRun)))
        return Fail(kUsage, QStringLiteral("--exit-code applies to diff, and to set, del, apply and restore with --dry-run"));
    if (options.json && !QStringList{"get", "list", "check", "history", "diff"}.contains(command))
        return Fail(kUsage, QStringLiteral("--json applies to get, list, check, history and diff"));

    if (command == QLatin1String("get")) {
        if (operands.size() != 2) return wrongCount("get SECTION KEY");
        if (!ReadState(file, false, &code)) return code;
        IniAccessor ini;
        ini.SetFile(file);
        ini.SetSection(operands[0]);
        ini.SetKey(operands[1]);
        if (!ini.KeyExists()) return Fail(kAbsent, QStringLiteral("%1: no %2").arg(file, Brackets(operands[0], operands[1])));
        if (options.json)
            quorvant::ini::PrintJson({{"section", operands[0]}, {"key", operands[1]}, {"value", ini.ReadValue()}});
        else
            Print(stdout, ini.ReadValue() + u'\n');
        return kDone;
    }
    if (command == QLatin1String("set") || command == QLatin1String("del")) {
        const bool remove = command == QLatin1String("del");
        if (operands.size() != (remove ? 2 : 3)) return wrongCount(remove ? "del SECTION KEY" : "set SECTION KEY VALUE");
        if (!ReadState(file, !remove, &code)) return code;
        if (remove) {
            IniAccessor ini;
            ini.SetFile(file);
            ini.SetSection(operands[0]);
            ini.SetKey(operands[1]);
            if (!ini.KeyExists()) return Fail(kAbsent, QStringLiteral("%1: no %2").arg(file, Brackets(operands[0], operands[1])));
        }
        const std::vector<Edit> edits = {Edit{remove, operands[0], operands[1], remove ? QString() : operands[2]}};
        const auto where = [&](size_t) { return file; };
        if (const std::optional<int> stop = quorvant::ini::BeforeSave(file, edits, where, options)) return *stop;
        return Save(file, edits, where, options);
    }
    if (command == QLatin1String("list")) {
        if (operands.size() > 1) return wrongCount("list [SECTION]");
        if (!ReadState(file, false, &code)) return code;
        IniAccessor ini;
        ini.SetFile(file);
        if (operands.isEmpty()) {
            for (const QString& section : ini.SectionNames()) {
                if (options.json)
                    quorvant::ini::PrintJson({{"section", section}});
                else
                    Print(stdout, section + u'\n');
            }
            return kDone;
        }
        ini.SetSection(operands[0]);
        const QStringList keys = ini.KeyNames();
        if (keys.isEmpty() && !ini.SectionNames().contains(operands[0], Qt::CaseInsensitive))
            return Fail(kAbsent, QStringLiteral("%1: no section [%2]").arg(file, operands[0]));
        for (const QString& key : keys) {
            ini.SetKey(key);
            if (options.json)
                quorvant::ini::PrintJson({{"section", operands[0]}, {"key", key}, {"value", ini.ReadValue()}});
            else
                Print(stdout, key + u'=' + ini.ReadValue() + u'\n');
        }
        return kDone;
    }
    if (command == QLatin1String("history")) return quorvant::ini::PrintHistory(file, operands, options);
    if (command == QLatin1String("diff")) return quorvant::ini::PrintDiff(file, operands, options);
    if (command == QLatin1String("restore")) return quorvant::ini::Restore(file, operands, options);
    if (command == QLatin1String("apply")) {
        if (!operands.isEmpty()) return wrongCount("apply  (edits on standard input)");
        return Apply(file, options);
    }
    if (command == QLatin1String("check")) {
        if (!operands.isEmpty()) return wrongCount("check");
        QStringList files;
        for (const QString& path : quorvant::ini::FilesToCheck(file)) {
            if (!ReadState(path, path != file, &code)) return code;
            if (QFileInfo::exists(path)) files << path;
        }
        if (files.isEmpty()) return Fail(kFileError, QStringLiteral("%1: holds neither server.ini nor news.ini").arg(file));
        return quorvant::ini::Check(files, options);
    }
    return Fail(kUsage, QStringLiteral("unknown command '%1'; see quorvant-ini --help").arg(command));
}

}  // namespace

int main(int argc, char* argv[]) {
    // Past a file-size limit a save fails with its reason, and a reader that went away is a
    // failed write (exit status 3), instead of a silent end.
    quorvant::PrepareProcess();
    const quorvant::Arguments arguments = quorvant::ProgramArguments(argc, argv);
    return quorvant::ini::Finished(Run(arguments.texts, arguments.decodable));
}

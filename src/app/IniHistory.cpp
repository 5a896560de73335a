#include "app/IniHistory.h"

#include <QByteArray>
#include <QFileInfo>
#include <QHash>
#include <cerrno>
#include <cstdio>
#include <optional>

#include "app/IniCheck.h"
#include "schema/KeyPlace.h"
#include "settings/AtomicFile.h"
#include "settings/History.h"
#include "settings/IniAccessor.h"
#include "settings/IniDocument.h"
#include "settings/KeyChanges.h"
#include "settings/PathChecks.h"
#include "text/FailureReasons.h"
#include "text/TextTable.h"

namespace quorvant::ini {

namespace {

using history::Problem;
using history::Version;

// A few names say which files a summary means; the rest are counted.
constexpr int kNamed = 3;

QString Escaped(const QString& text) { return Printable(text); }

// One line per cause on standard error, however many files share it: the folder not used, or the
// files of the folder skipped for one reason.
void Warn(const QList<Problem>& problems) {
    struct Cause {
        QString folder;
        QString why;
        QStringList names;
    };
    QList<Cause> causes;
    for (const Problem& problem : problems) {
        using Kind = Problem::Kind;
        const QString why = HistoryProblemText(problem, Language::English);
        if (problem.kind == Kind::Link || problem.kind == Kind::NotAFolder || problem.kind == Kind::Untrusted ||
            QFileInfo(problem.entry).fileName() == history::FolderName()) {
            Print(stderr, QStringLiteral("quorvant-ini: warning: the history folder %1 is not used: %2\n")
                              .arg(Escaped(problem.entry), why));
            continue;
        }
        const QFileInfo entry(problem.entry);
        auto cause = std::find_if(causes.begin(), causes.end(),
                                  [&](const Cause& c) { return c.folder == entry.path() && c.why == why; });
        if (cause == causes.end()) cause = causes.insert(causes.end(), Cause{entry.path(), why, {}});
        cause->names << Escaped(entry.fileName());
    }
    for (const Cause& cause : causes) {
        QString names = cause.names.mid(0, kNamed).join(QStringLiteral(", "));
        if (cause.names.size() > kNamed) names += QStringLiteral(" and %1 more").arg(cause.names.size() - kNamed);
        Print(stderr, QStringLiteral("quorvant-ini: warning: skipped %1 file(s) in %2, %3: %4\n")
                          .arg(cause.names.size())
                          .arg(Escaped(cause.folder), cause.why, names));
    }
}

// The settings file must be there and be a regular file, whatever its history holds.
std::optional<int> RefuseNoFile(const QString& file) {
    const FileKind kind = KindOf(file);
    if (kind == FileKind::Missing) return Fail(kFileError, QStringLiteral("%1: cannot read: no such file").arg(file));
    if (kind != FileKind::Regular)
        return Fail(kFileError, QStringLiteral("%1: cannot read: not a regular file but %2")
                                    .arg(file, FileKindText(kind, Language::English)));
    return std::nullopt;
}

// The version `text` names; nothing (the message printed, `code` set) when there is none.
std::optional<Version> Find(const QList<Version>& versions, const QString& file, const QString& text, int* code) {
    bool ok = false;
    const qint64 id = text.toLongLong(&ok);
    if (!ok) {
        *code = Fail(kUsage, QStringLiteral("'%1' is no version number; see quorvant-ini FILE history").arg(text));
        return std::nullopt;
    }
    for (const Version& version : versions)
        if (version.id == id) return version;
    *code = Fail(kAbsent, QStringLiteral("%1: no version %2 in its history").arg(file, text));
    return std::nullopt;
}

// A version's content; nothing (the message printed, `code` set) when it is damaged.
std::optional<QByteArray> ContentOf(const Version& version, const QString& file, int* code) {
    Problem problem;
    const std::optional<QByteArray> content = history::ReadContent(version, &problem);
    if (!content)
        *code = Fail(kFileError, QStringLiteral("%1: cannot read version %2: %3: %4")
                                     .arg(file)
                                     .arg(version.id)
                                     .arg(Escaped(problem.entry), HistoryProblemText(problem, Language::English)));
    return content;
}

QJsonValue Optional(const std::optional<QString>& text) { return text ? QJsonValue(*text) : QJsonValue(); }

QString ValueLines(const KeyChange& change) {
    QString text;
    if (change.before) text += QStringLiteral("- %1\n").arg(Escaped(*change.before));
    if (change.after) text += QStringLiteral("+ %1\n").arg(Escaped(*change.after));
    return text;
}

}  // namespace

void StartHistory() {
    history::SetProgram(QStringLiteral("quorvant-ini %1.%2.%3")
                            .arg(QUORVANT_VERSION_MAJOR)
                            .arg(QUORVANT_VERSION_MINOR)
                            .arg(QUORVANT_VERSION_BUILD));
    history::SetNoticeSink([](const history::Notice& notice) {
        if (notice.kind == history::Notice::Kind::NotRecorded) {
            Print(stderr,
                  QStringLiteral("quorvant-ini: warning: %1 was saved, but its history could not be written "
                                 "(%2: %3)\n")
                      .arg(notice.file, Escaped(notice.problem.entry),
                           HistoryProblemText(notice.problem, Language::English, true)));
            return;
        }
        // Each file's dropped versions under its own name.
        QStringList names;
        QHash<QString, QStringList> ids;
        for (const Version& version : notice.dropped) {
            if (!ids.contains(version.name)) names << version.name;
            ids[version.name] << QString::number(version.id);
        }
        for (const QString& name : names)
            Print(stderr, QStringLiteral("quorvant-ini: note: dropped %1 old version(s) of %2 from the history: %3\n")
                              .arg(ids.value(name).size())
                              .arg(Escaped(name), ids.value(name).join(QStringLiteral(", "))));
        for (const QString& name : notice.single)
            Print(stderr, QStringLiteral("quorvant-ini: note: %1 is larger than the history folder may grow: its "
                                         "history holds its last version only\n")
                              .arg(Escaped(name)));
    });
}

int PrintHistory(const QString& file, const QStringList& operands, const Options& options) {
    if (!operands.isEmpty()) return Fail(kUsage, QStringLiteral("usage: quorvant-ini FILE history"));
    if (const std::optional<int> refused = RefuseNoFile(file)) return *refused;
    const history::Listing listing = history::VersionsOf(file);
    QList<Problem> problems = listing.problems;
    // Only versions that did not record their changes are read, each once.
    history::ChangeReader changes(file, listing.versions);
    for (qsizetype i = 0; i < listing.versions.size(); ++i) {
        const Version& v = listing.versions[i];
        Problem problem;
        const qint64 changed = changes.CountOf(i, &problem);
        if (changed < 0) problems << problem;
        if (options.json) {
            PrintJson({{"version", v.id},
                       {"time", v.time.toString(Qt::ISODateWithMs)},
                       {"user", v.user},
                       {"account", v.account.isEmpty() ? QJsonValue() : QJsonValue(v.account)},
                       {"host", v.host},
                       {"program", v.program},
                       {"action", v.action},
                       {"size", v.size},
                       {"changed", changed < 0 ? QJsonValue() : QJsonValue(changed)}});
            continue;
        }
        const QString who = Escaped(v.user) + u'@' + Escaped(v.host) +
                            (v.account.isEmpty() ? QString() : QStringLiteral(" as ") + Escaped(v.account));
        Print(stdout, QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6 key(s) changed\n")
                          .arg(v.id)
                          .arg(v.time.toString(Qt::ISODate), who, Escaped(v.program), Escaped(v.action),
                               changed < 0 ? QStringLiteral("?") : QString::number(changed)));
    }
    Warn(problems);
    return kDone;
}

int PrintDiff(const QString& file, const QStringList& operands, const Options& options) {
    if (operands.size() > 2) return Fail(kUsage, QStringLiteral("usage: quorvant-ini FILE diff [A [B]]"));
    if (const std::optional<int> refused = RefuseNoFile(file)) return *refused;
    const history::Listing listing = history::VersionsOf(file);
    Warn(listing.problems);
    int code = kDone;
    std::optional<Version> a;
    if (operands.isEmpty()) {
        if (listing.versions.isEmpty())
            return Fail(kAbsent, QStringLiteral("%1: no versions in its history").arg(file));
        a = listing.versions.constLast();
    } else if (!(a = Find(listing.versions, file, operands[0], &code))) {
        return code;
    }
    const std::optional<Version> b = operands.size() == 2 ? Find(listing.versions, file, operands[1], &code) : std::nullopt;
    if (operands.size() == 2 && !b) return code;
    // The two sides, and nothing else of the history.
    const std::optional<QByteArray> before = ContentOf(*a, file, &code);
    if (!before) return code;
    std::optional<QByteArray> after;
    if (b) {
        after = ContentOf(*b, file, &code);
    } else {
        QByteArray bytes;
        FileStamp stamp;
        std::optional<IniError> problem;
        if (ReadWholeFile(file, &bytes, &stamp, &problem)) after = bytes;
        else code = Fail(kFileError, QStringLiteral("%1: cannot read: %2")
                                         .arg(file, problem ? FailureReason(*problem, Language::English) : QString()));
    }
    if (!after) return code;
    LoadBuiltInTexts();
    const QString name = QFileInfo(file).fileName();
    const QList<KeyChange> changes = KeyChanges(IniDocument(*before), IniDocument(*after));
    for (const KeyChange& change : changes) {
        const schema::KeyPlace place = schema::PlaceOf(name, change.section, change.key);
        if (options.json) {
            PrintJson({{"section", change.section},
                       {"key", change.key},
                       {"before", Optional(change.before)},
                       {"after", Optional(change.after)},
                       {"caption", place.caption.isEmpty() ? QJsonValue() : QJsonValue(place.caption)},
                       {"page", place.page.isEmpty() ? QJsonValue() : QJsonValue(place.page)}});
            continue;
        }
        QString where;
        if (!place.caption.isEmpty())
            where = QStringLiteral("  (%1)").arg(place.page.isEmpty() ? place.caption : place.page + ": " + place.caption);
        Print(stdout, QStringLiteral("[%1] %2%3\n").arg(Escaped(change.section), Escaped(change.key), where) +
                          ValueLines(change));
    }
    return Compared(!changes.isEmpty(), options);
}

int Restore(const QString& file, const QStringList& operands, const Options& options) {
    if (operands.size() != 1 && operands.size() != 3)
        return Fail(kUsage, QStringLiteral("usage: quorvant-ini FILE restore VERSION [SECTION KEY]"));
    if (const std::optional<int> refused = RefuseNoFile(file)) return *refused;
    const history::Listing listing = history::VersionsOf(file);
    Warn(listing.problems);
    int code = kDone;
    const std::optional<Version> version = Find(listing.versions, file, operands[0], &code);
    if (!version) return code;
    const std::optional<QByteArray> content = ContentOf(*version, file, &code);
    if (!content) return code;
    try {
        if (operands.size() == 1) {
            if (options.dryRun) {
                QByteArray now;
                FileStamp stamp;
                std::optional<IniError> problem;
                if (!ReadWholeFile(file, &now, &stamp, &problem))
                    return Fail(kFileError, QStringLiteral("%1: cannot read: %2")
                                                .arg(file, problem ? FailureReason(*problem, Language::English) : QString()));
                return PrintFileDiff(file, now, *content, options);
            }
            history::PutBack(file, *content, {history::RestoreAction(version->id)});
            return kDone;
        }
        const std::optional<QString> value = IniDocument(*content).Value(operands[1], operands[2]);
        IniAccessor ini;
        ini.SetFile(file);
        ini.SetSection(operands[1]);
        ini.SetKey(operands[2]);
        if (!value && !ini.KeyExists())
            return Fail(kAbsent, QStringLiteral("%1: no [%2] %3 in version %4 nor in the file")
                                     .arg(file, operands[1], operands[2], operands[0]));
        if (options.dryRun) {
            const std::vector<Edit> edits = {Edit{!value, operands[1], operands[2], value.value_or(QString())}};
            // The key was in the version or is in the file: no new name to guard against.
            Options known = options;
            known.allowNew = true;
            return BeforeSave(file, edits, [&](size_t) { return file; }, known).value_or(kDone);
        }
        IniSave save(ini);
        // A value the file cannot take now (another encoding since) is refused as a set's is.
        try {
            if (value)
                ini.WriteValue(*value);
            else
                ini.DeleteKey();
        } catch (const IniError& error) {
            return Fail(
                kUsage,
                QStringLiteral("%1: %2; nothing was changed").arg(file, FailureReason(error, Language::English)));
        }
        save.Commit(false, {history::ValueRestoreAction(version->id, {{operands[1], operands[2]}})});
    } catch (const IniError& error) {
        return Fail(kFileError, QStringLiteral("%1: cannot restore version %2: %3")
                                    .arg(file, operands[0], FailureReason(error, Language::English)));
    }
    return kDone;
}

}  // namespace quorvant::ini

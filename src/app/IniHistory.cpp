#include "app/IniHistory.h"

#include <QByteArray>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <optional>

#include "app/IniOutput.h"
#include "schema/KeyPlace.h"
#include "settings/AtomicFile.h"
#include "settings/History.h"
#include "settings/IniAccessor.h"
#include "settings/IniDocument.h"
#include "settings/KeyChanges.h"
#include "text/FailureReasons.h"
#include "text/TextTable.h"

namespace quorvant::ini {

namespace {

using history::Version;

QString ProblemText(const history::Problem& problem) {
    switch (problem.kind) {
        case history::Problem::Kind::Foreign:
            return QStringLiteral("not a version of a settings file");
        case history::Problem::Kind::Damaged:
            return QStringLiteral("damaged (its header, size or checksum is wrong)");
        case history::Problem::Kind::Unreadable:
            break;
    }
    return SystemErrorText(problem.errorNumber, false, Language::English);
}

void Warn(const history::Problem& problem) {
    Print(stderr, QStringLiteral("quorvant-ini: warning: skipped %1: %2\n").arg(problem.entry, ProblemText(problem)));
}

// The file's versions, each with its content; damaged ones are skipped with a warning.
struct Loaded {
    QList<Version> versions;
    QList<QByteArray> contents;
};

Loaded Load(const QString& file) {
    const history::Listing listing = history::VersionsOf(file);
    for (const history::Problem& problem : listing.problems) Warn(problem);
    Loaded loaded;
    for (const Version& version : listing.versions) {
        history::Problem problem;
        const std::optional<QByteArray> content = history::ReadContent(version, &problem);
        if (!content) {
            Warn(problem);
            continue;
        }
        loaded.versions.append(version);
        loaded.contents.append(*content);
    }
    return loaded;
}

// The file as it is now; empty when it is missing. Nothing (the message printed) when unreadable.
std::optional<QByteArray> FileNow(const QString& file, int* code) {
    QByteArray bytes;
    FileStamp stamp;
    std::optional<IniError> problem;
    if (ReadWholeFile(file, &bytes, &stamp, &problem)) return bytes;
    if (problem && problem->Details().errorNumber == ENOENT) return QByteArray();
    *code = Fail(kFileError, QStringLiteral("%1: cannot read: %2")
                                 .arg(file, problem ? FailureReason(*problem, Language::English) : QString()));
    return std::nullopt;
}

// The place in `loaded` of version `text`; -1 (the message printed) when there is none.
int Find(const Loaded& loaded, const QString& file, const QString& text, int* code) {
    bool ok = false;
    const qint64 id = text.toLongLong(&ok);
    if (!ok) {
        *code = Fail(kUsage, QStringLiteral("'%1' is no version number; see quorvant-ini FILE history").arg(text));
        return -1;
    }
    for (qsizetype i = 0; i < loaded.versions.size(); ++i)
        if (loaded.versions[i].id == id) return int(i);
    *code = Fail(kAbsent, QStringLiteral("%1: no version %2 in its history").arg(file, text));
    return -1;
}

QString ValueLines(const KeyChange& change) {
    QString text;
    if (change.before) text += QStringLiteral("- %1\n").arg(*change.before);
    if (change.after) text += QStringLiteral("+ %1\n").arg(*change.after);
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
                      .arg(notice.file, notice.place, SystemErrorText(notice.errorNumber, true, Language::English)));
            return;
        }
        QStringList ids;
        for (const Version& version : notice.dropped) ids << QString::number(version.id);
        Print(stderr, QStringLiteral("quorvant-ini: note: dropped %1 old version(s) of %2 from the history: %3\n")
                          .arg(notice.dropped.size())
                          .arg(notice.dropped.constFirst().name, ids.join(QStringLiteral(", "))));
    });
}

int PrintHistory(const QString& file, const QStringList& operands) {
    if (!operands.isEmpty()) return Fail(kUsage, QStringLiteral("usage: quorvant-ini FILE history"));
    int code = kDone;
    const std::optional<QByteArray> now = FileNow(file, &code);
    if (!now) return code;
    const Loaded loaded = Load(file);
    for (qsizetype i = 0; i < loaded.versions.size(); ++i) {
        const Version& v = loaded.versions[i];
        // What the save that replaced this version changed: up to the next version, or the file now.
        const QByteArray& next = i + 1 < loaded.versions.size() ? loaded.contents[i + 1] : *now;
        const qsizetype changed = KeyChanges(IniDocument(loaded.contents[i]), IniDocument(next)).size();
        Print(stdout, QStringLiteral("%1\t%2\t%3@%4\t%5\t%6\t%7 key(s) changed\n")
                          .arg(v.id)
                          .arg(v.time.toString(Qt::ISODate), v.user, v.host, v.program, v.action)
                          .arg(changed));
    }
    return kDone;
}

int PrintDiff(const QString& file, const QStringList& operands) {
    if (operands.size() > 2) return Fail(kUsage, QStringLiteral("usage: quorvant-ini FILE diff [A [B]]"));
    int code = kDone;
    const std::optional<QByteArray> now = FileNow(file, &code);
    if (!now) return code;
    const Loaded loaded = Load(file);
    QByteArray before;
    QByteArray after = *now;
    if (operands.isEmpty()) {
        if (loaded.versions.isEmpty()) return Fail(kAbsent, QStringLiteral("%1: no versions in its history").arg(file));
        before = loaded.contents.constLast();
    } else {
        const int a = Find(loaded, file, operands[0], &code);
        if (a < 0) return code;
        before = loaded.contents[a];
        if (operands.size() == 2) {
            const int b = Find(loaded, file, operands[1], &code);
            if (b < 0) return code;
            after = loaded.contents[b];
        }
    }
    LoadBuiltInTexts();
    const QString name = QFileInfo(file).fileName();
    for (const KeyChange& change : KeyChanges(IniDocument(before), IniDocument(after))) {
        const schema::KeyPlace place = schema::PlaceOf(name, change.section, change.key);
        QString where;
        if (!place.caption.isEmpty())
            where =
                QStringLiteral("  (%1)").arg(place.page.isEmpty() ? place.caption : place.page + ": " + place.caption);
        Print(stdout, QStringLiteral("[%1] %2%3\n").arg(change.section, change.key, where) + ValueLines(change));
    }
    return kDone;
}

int Restore(const QString& file, const QStringList& operands) {
    if (operands.size() != 1 && operands.size() != 3)
        return Fail(kUsage, QStringLiteral("usage: quorvant-ini FILE restore VERSION [SECTION KEY]"));
    int code = kDone;
    const Loaded loaded = Load(file);
    const int at = Find(loaded, file, operands[0], &code);
    if (at < 0) return code;
    const Version& version = loaded.versions[at];
    const QByteArray& content = loaded.contents[at];
    try {
        if (operands.size() == 1) {
            history::PutBack(file, content, history::RestoreAction(version.id));
            return kDone;
        }
        const std::optional<QString> value = IniDocument(content).Value(operands[1], operands[2]);
        IniAccessor ini;
        ini.SetFile(file);
        ini.SetSection(operands[1]);
        ini.SetKey(operands[2]);
        if (!value && !ini.KeyExists())
            return Fail(kAbsent, QStringLiteral("%1: no [%2] %3 in version %4 nor in the file")
                                     .arg(file, operands[1], operands[2], operands[0]));
        const history::ActionScope action(history::RestoreAction(version.id));
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
        save.Commit();
    } catch (const IniError& error) {
        return Fail(kFileError, QStringLiteral("%1: cannot restore version %2: %3")
                                    .arg(file, operands[0], FailureReason(error, Language::English)));
    }
    return kDone;
}

}  // namespace quorvant::ini

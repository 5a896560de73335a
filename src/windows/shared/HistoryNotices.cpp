#include "windows/shared/HistoryNotices.h"

#include <QFileInfo>

#include "settings/History.h"
#include "text/FailureReasons.h"
#include "text/Messages.h"
#include "windows/shared/StatusLine.h"

namespace quorvant {

namespace {

QString NoticeText(const history::Notice& notice) {
    const QString file = QFileInfo(notice.file).fileName();
    if (notice.kind == history::Notice::Kind::NotRecorded)
        return msg::HistoryNotRecorded(file, QStringLiteral("%1 (%2)").arg(HistoryProblemText(notice.problem, Language::Dutch, true),
                                                                         Printable(notice.problem.entry)));
    // Each file's dropped versions under its own name.
    QStringList names;
    QHash<QString, QStringList> ids;
    for (const history::Version& version : notice.dropped) {
        if (!ids.contains(version.name)) names << version.name;
        ids[version.name] << QString::number(version.id);
    }
    QStringList parts;
    for (const QString& name : names) parts << msg::HistoryDropped(Printable(name), ids.value(name));
    for (const QString& name : notice.single) parts << msg::HistorySingle(Printable(name));
    return parts.join(QStringLiteral("; "));
}

}  // namespace

bool AmongFiles(const QStringList& files, const QString& file) {
    const QString canonical = QFileInfo(file).canonicalFilePath();
    for (const QString& shown : files)
        if (shown == file || (!canonical.isEmpty() && QFileInfo(shown).canonicalFilePath() == canonical)) return true;
    return false;
}

HistoryNotices& HistoryNotices::Hub() {
    static HistoryNotices* hub = new HistoryNotices;
    return *hub;
}

HistoryNotices::HistoryNotices() {
    history::SetProgram(QStringLiteral("quorvant %1.%2.%3")
                            .arg(QUORVANT_VERSION_MAJOR)
                            .arg(QUORVANT_VERSION_MINOR)
                            .arg(QUORVANT_VERSION_BUILD));
    // The engine tells while the save still holds the folder lock; the windows hear it after.
    history::SetNoticeSink([this](const history::Notice& notice) {
        QMetaObject::invokeMethod(
            this, [this, file = notice.file, text = NoticeText(notice)] { emit this->notice(file, text); },
            Qt::QueuedConnection);
    });
}

void HistoryNotices::Restored(const QString& file) { emit restored(file); }

void ShowHistoryNotices(StatusLine* line, std::function<QStringList()> files) {
    const auto show = [line, files = std::move(files)](const QString& file, const QString& text) {
        if (AmongFiles(files(), file)) line->ShowNotice(text);
    };
    QObject::connect(&HistoryNotices::Hub(), &HistoryNotices::notice, line, show);
}

}  // namespace quorvant

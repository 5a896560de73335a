#include "windows/shared/OutsideChanges.h"

#include <QDateTime>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include "settings/History.h"
#include "settings/IniAccessor.h"
#include "text/Messages.h"
#include "windows/shared/HistoryNotices.h"
#include "windows/shared/SaveOrReport.h"
#include "windows/shared/StatusLine.h"

namespace quorvant {

namespace {

// A line names a few keys; the rest are counted.
constexpr qsizetype kKeysNamed = 3;

QString Shown(const std::optional<QString>& value) { return value ? *value : msg::AbsentValue(); }

QString ChangesOf(const QList<KeyChange>& changes) {
    QStringList named;
    for (const KeyChange& change : changes.mid(0, kKeysNamed))
        named << msg::KeyChangeText(change.key, Shown(change.before), Shown(change.after));
    return msg::ChangesText(named, changes.size() - named.size());
}

// What the window would write of `file` that differs between two snapshots: the keys a read changed.
QList<KeyChange> Differences(const QList<PendingValue>& before, const QList<PendingValue>& after, const QString& file) {
    QList<KeyChange> changes;
    for (qsizetype i = 0; i < before.size() && i < after.size(); ++i)
        if (before[i].file == file && before[i].text != after[i].text)
            changes.append({after[i].section, after[i].key, before[i].text, after[i].text});
    return changes;
}

}  // namespace

OutsideChanges::OutsideChanges(QWidget* window, StatusLine* line, QList<Shown> files)
    : QObject(window), window_(window), line_(line), files_(std::move(files)) {
    setObjectName("outsideChanges");
    watcher_ = new QFileSystemWatcher(this);
    // A replacement is a rename: the file's watch goes with the old file, the folder's stays. A
    // save fires several signals; one look after they settle.
    settle_ = new QTimer(this);
    settle_->setSingleShot(true);
    settle_->setInterval(150);
    connect(settle_, &QTimer::timeout, this, [this] {
        Watch();
        Check();
    });
    connect(watcher_, &QFileSystemWatcher::fileChanged, settle_, qOverload<>(&QTimer::start));
    connect(watcher_, &QFileSystemWatcher::directoryChanged, settle_, qOverload<>(&QTimer::start));
    // A restore by the history window is told at once, before the file system says so.
    connect(&HistoryNotices::Hub(), &HistoryNotices::restored, this, [this] { Check(); });
    window_->installEventFilter(this);

    button_ = new QPushButton(msg::ReadAgainCaption(), line_);
    button_->setObjectName("cmdReadAgain");
    button_->setAccessibleName(QString(msg::ReadAgainCaption()).remove(u'&'));
    button_->hide();
    line_->addWidget(button_);
    connect(button_, &QPushButton::clicked, this, [this] { ReadAgain(); });

    for (const Shown& file : files_) {
        stamps_.insert(file.path(), StampOf(file.path()));
        since_.insert(file.path(), QDateTime::currentDateTimeUtc());
    }
    Watch();
}

OutsideChanges* OutsideChanges::Of(QWidget* window) {
    return window ? window->findChild<OutsideChanges*>("outsideChanges", Qt::FindDirectChildrenOnly) : nullptr;
}

bool OutsideChanges::eventFilter(QObject* watched, QEvent* event) {
    // Network shares tell no watcher: coming back to the window looks for itself.
    if (watched == window_ && event->type() == QEvent::WindowActivate) Check();
    return QObject::eventFilter(watched, event);
}

void OutsideChanges::Watch() {
    for (const Shown& file : files_) {
        const QString path = file.path();
        if (path.isEmpty()) continue;
        // A folder under the file's name is no settings file: watching it would also keep it
        // (on Windows) from being removed; the folder's watch sees a file take its place.
        if (QFileInfo(path).isFile() && !watcher_->files().contains(path)) watcher_->addPath(path);
        const QString folder = QFileInfo(path).absolutePath();
        if (QFileInfo(folder).isDir() && !watcher_->directories().contains(folder)) watcher_->addPath(folder);
    }
}

void OutsideChanges::Check() {
    // The commit under way owns the accessors; the save's end looks again.
    if (SaveUnderWay()) return;
    QList<int> due;
    for (int i = 0; i < files_.size(); ++i) {
        const QString path = files_[i].path();
        if (path.isEmpty() || files_[i].ini->File() != path || files_[i].ini->InSave()) continue;
        // The window's own saves leave the stamp it took after them.
        const FileStamp stamp = StampOf(path);
        if (stamps_.value(path) == stamp) continue;
        stamps_.insert(path, stamp);
        due << i;
    }
    for (int i : due) {
        const Shown& file = files_[i];
        const QList<KeyChange> changes = file.ini->ChangesOnDisk();
        if (changes.isEmpty()) continue;  // the same values in other bytes
        const QString name = QFileInfo(file.path()).fileName();
        if (!line_->Edits().Dirty(name)) {
            Read(i, ChangesOf(changes));
            continue;
        }
        told_.insert(i);
        button_->show();
        line_->ShowNotice(msg::ChangedOnDiskLine(name, ChangesOf(changes), ByWhom(file.path())));
    }
}

void OutsideChanges::Read(int index, const QString& changes) {
    const Shown& file = files_[index];
    const QString path = file.path();
    const QString name = QFileInfo(path).fileName();
    const QString by = ByWhom(path);
    file.ini->SetFile(path);
    file.ini->ReadAgain();
    file.read();
    line_->Edits().Reset({name});
    stamps_.insert(path, StampOf(path));
    since_.insert(path, QDateTime::currentDateTimeUtc());
    told_.remove(index);
    button_->setVisible(!told_.isEmpty());
    line_->ShowNotice(msg::ReadAgainLine(name, changes, by));
}

void OutsideChanges::ReadAgain() {
    const QSet<int> told = std::exchange(told_, {});
    for (int i : told) Read(i, ChangesOf(files_[i].ini->ChangesOnDisk()));
    button_->hide();
}

void OutsideChanges::Saved(const QString& path, bool merged) {
    for (int i = 0; i < files_.size(); ++i) {
        if (files_[i].path() != path) continue;
        stamps_.insert(path, StampOf(path));
        since_.insert(path, QDateTime::currentDateTimeUtc());
        told_.remove(i);
        button_->setVisible(!told_.isEmpty());
        if (!merged) return;
        // The keys the save left as others wrote them: the window shows them as they are now.
        const QString name = QFileInfo(path).fileName();
        const QList<PendingValue> before = line_->Edits().Now();
        files_[i].ini->ReadAgain();
        files_[i].read();
        line_->Edits().Reset({name});
        const QList<KeyChange> kept = Differences(before, line_->Edits().Now(), name);
        if (!kept.isEmpty()) line_->ShowNotice(msg::ReadAgainLine(name, ChangesOf(kept), {}));
        return;
    }
}

QString OutsideChanges::ByWhom(const QString& path) const {
    // The newest version was replaced by the last save through the history: that save made the
    // file as it is now when each value it recorded is still there.
    const history::Listing listing = history::VersionsOf(path, false);
    if (listing.versions.isEmpty()) return {};
    const history::Version& last = listing.versions.last();
    // A save before the window read the file did not make this change (versions keep whole seconds).
    if (!last.changes || last.time < since_.value(path).addSecs(-1)) return {};
    IniAccessor now;
    now.SetFile(path);
    for (const KeyChange& change : *last.changes) {
        now.SetSection(change.section);
        now.SetKey(change.key);
        if ((now.KeyExists() ? std::optional<QString>(now.ReadValue()) : std::nullopt) != change.after) return {};
    }
    return msg::ChangedBy(last.program.section(u' ', 0, 0), msg::HistoryAction(last.action),
                          msg::SaverText(last.user, last.host, last.account),
                          last.time.toLocalTime().toString(QStringLiteral("HH:mm")));
}

}  // namespace quorvant

#include "windows/dialogs/frmHistory.h"

#include <QCryptographicHash>
#include <QEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QTime>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "schema/KeyPlace.h"
#include "settings/IniAccessor.h"
#include "settings/IniDocument.h"
#include "text/FailureReasons.h"
#include "text/Messages.h"
#include "widgets/Icons.h"
#include "windows/shared/BusyWait.h"
#include "windows/shared/Controls.h"
#include "windows/shared/HistoryNotices.h"
#include "windows/shared/SaveOrReport.h"
#include "windows/shared/WindowButtons.h"

namespace quorvant {

namespace {

QTreeWidget* MakeList(const QString& objectName, const QString& caption, const QStringList& columns, QWidget* parent) {
    auto* list = Named<QTreeWidget>(objectName, parent);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setHeaderLabels(columns);
    list->setAccessibleName(QString(caption).remove(u'&'));
    return list;
}

QByteArray ReadNow(const QString& file) {
    QByteArray bytes;
    FileStamp stamp;
    ReadWholeFile(file, &bytes, &stamp);
    return bytes;
}

// At most this many skipped files are named in the tool tip; the line counts them all.
constexpr int kNamedSkipped = 20;

QString Digest(const QByteArray& bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex(); }

QString ChangedText(qint64 changed) { return changed < 0 ? QStringLiteral("…") : QString::number(changed); }

// A question lists this many changes at most; a count stands for the rest.
constexpr int kListedChanges = 15;

// Shows what a restore changes (`changes`: from the file now to what the restore writes) and asks.
bool AskRestore(QWidget* window, ErrorReporter& errors, const history::Version& version, bool values,
                const QList<KeyChange>& changes, bool changedSinceShown) {
    QStringList lines;
    for (const KeyChange& change : changes.mid(0, kListedChanges)) {
        const schema::KeyPlace place = schema::PlaceOf(version.name, change.section, change.key);
        const auto side = [](const std::optional<QString>& value) { return value ? Printable(*value) : msg::AbsentValue(); };
        lines << msg::RestoreChange(Printable(QStringLiteral("[%1] %2").arg(change.section, change.key)), place.caption,
                                    side(change.before), side(change.after));
    }
    return errors.Ask(window, window->windowTitle(),
                      msg::RestoreQuestion(Printable(version.name), version.id, values, lines,
                                           std::max<qsizetype>(0, changes.size() - kListedChanges), changedSinceShown),
                      msg::RestoreCaption());
}

}  // namespace

bool RestoreValues(QWidget* window, ErrorReporter& errors, const history::Version& version,
                   const QList<KeyChange>& chosen, const std::optional<QByteArray>& shown) {
    WindowSave save(window, errors);
    // Another save or restore runs: nothing to tell.
    if (!save.HasTurn() || chosen.isEmpty()) return false;
    // Read now: the question shows the values the file holds, and the save asks about keys another
    // program changes after that.
    IniAccessor ini;
    ini.SetFile(version.file);
    QList<KeyChange> changes;
    QList<std::pair<QString, QString>> keys;
    for (const KeyChange& change : chosen) {
        ini.SetSection(change.section);
        ini.SetKey(change.key);
        const QString value = ini.ReadValue();
        const std::optional<QString> now = ini.KeyExists() ? std::optional<QString>(value) : std::nullopt;
        if (now != change.before) changes.append(KeyChange{change.section, change.key, now, change.before});
        keys.append({change.section, change.key});
    }
    if (!AskRestore(window, errors, version, true, changes, shown && ReadNow(version.file) != *shown)) return false;
    save.RecordAs(history::ValueRestoreAction(version.id, keys));
    return save.File(ini, [&] {
        for (const KeyChange& change : chosen) {
            ini.SetSection(change.section);
            ini.SetKey(change.key);
            if (change.before)
                ini.WriteValue(*change.before);
            else
                ini.DeleteKey();
        }
    });
}

// What a reader hands the window: the versions as their headers say, the files as they are now.
struct frmHistory::Loaded {
    QList<history::Version> rows;
    QHash<QString, QByteArray> now;
    QHash<QString, QByteArray> nowSha;
    QStringList folders;  // history folders not used, and why
    QStringList skipped;  // files skipped, each with why
};

frmHistory::frmHistory(const QStringList& files, const Services& services, QWidget* parent)
    : DialogWindow(parent), files_(files), services_(services) {
    setObjectName("frmHistory");
    setWindowTitle(msg::HistoryCaption());
    auto* layout = new QVBoxLayout(this);
    auto* explanation = Named<QLabel>("lblExplanation", msg::HistoryExplanation(), this);
    explanation->setWordWrap(true);
    layout->addWidget(explanation);

    lstVersions = MakeList("lstVersions", msg::VersionsCaption(), msg::VersionColumns(), this);
    auto* versionsLabel = Named<QLabel>("lblVersions", msg::VersionsCaption(), this);
    versionsLabel->setBuddy(lstVersions);
    layout->addWidget(versionsLabel);
    layout->addWidget(lstVersions, 1);

    lstChanges = MakeList("lstChanges", msg::ChangesCaption(), msg::ChangeColumns(), this);
    // Several values can go back in one save.
    lstChanges->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto* changesLabel = Named<QLabel>("lblChanges", msg::ChangesCaption(), this);
    changesLabel->setBuddy(lstChanges);
    layout->addWidget(changesLabel);
    layout->addWidget(lstChanges, 1);

    lblStatus = Named<QLabel>("lblStatus", this);
    lblStatus->setWordWrap(true);
    lblStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(lblStatus);

    cmdRestoreVersion = Named<QPushButton>("cmdRestoreVersion", msg::RestoreVersionCaption(), this);
    cmdRestoreValue = Named<QPushButton>("cmdRestoreValue", msg::RestoreValueCaption(), this);
    for (QPushButton* button : {cmdRestoreVersion, cmdRestoreValue})
        button->setAccessibleName(button->text().remove(u'&'));
    cmdStop = MakePictureButton("cmdStop", this);
    SetPicture(cmdStop, IconResource(101), msg::LeaveWindowCaption());
    layout->addLayout(ButtonRow({cmdRestoreVersion, cmdRestoreValue, cmdStop}));

    connect(lstVersions, &QTreeWidget::currentItemChanged, this, [this] { ShowChanges(); });
    connect(lstChanges, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
    connect(cmdRestoreVersion, &QPushButton::clicked, this, [this] { cmdRestoreVersion_Click(); });
    connect(cmdRestoreValue, &QPushButton::clicked, this, [this] { cmdRestoreValue_Click(); });
    connect(cmdStop, &QPushButton::clicked, this, &QWidget::close);
    // Disabled while any save or restore runs (and the focus given back after); then as the
    // selection wants.
    DisableDuringSaves(cmdRestoreVersion);
    DisableDuringSaves(cmdRestoreValue);
    connect(&SaveTurn::Hub(), &SaveTurn::changed, this, [this] { UpdateButtons(); });

    // What the engine says about this window's own restores (a history not written).
    connect(&HistoryNotices::Hub(), &HistoryNotices::notice, this, [this](const QString& file, const QString& text) {
        if (!AmongFiles(files_, file)) return;
        notices_ << text;
        ShowStatus();
    });

    Reload();
    resize(960, 640);
}

frmHistory::~frmHistory() { StopReaders(); }

void frmHistory::StopReaders() {
    if (stop_) *stop_ = true;
    for (std::thread& reader : readers_) reader.join();
    readers_.clear();
}

QList<FileStamp> frmHistory::StampsNow() const {
    QList<FileStamp> stamps;
    for (const QString& file : files_) stamps << StampOf(file) << StampOf(history::FolderOf(file));
    return stamps;
}

void frmHistory::Reload() {
    StopReaders();
    stop_ = std::make_shared<std::atomic<bool>>(false);
    stamps_ = StampsNow();
    reading_ = true;
    ShowStatus();
    // Everything the reader needs is its own; it hands its findings over through the event loop.
    readers_.emplace_back([this, files = files_, stop = stop_] {
        auto loaded = std::make_shared<Loaded>();
        QSet<QString> folders;
        QList<history::ChangeReader> readers;
        for (const QString& file : files) {
            const QByteArray now = ReadNow(file);
            loaded->now.insert(file, now);
            loaded->nowSha.insert(file, Digest(now).toLatin1());
            // A folder's foreign files are named once, whichever of its files come first.
            const QString folder = history::FolderOf(file);
            const history::Listing listing = history::VersionsOf(file, !folders.contains(folder));
            folders.insert(folder);
            for (const history::Problem& problem : listing.problems) {
                using Kind = history::Problem::Kind;
                const QString why = HistoryProblemText(problem, Language::Dutch);
                const bool wholeFolder = problem.kind == Kind::Link || problem.kind == Kind::NotAFolder ||
                                         problem.kind == Kind::Untrusted || problem.entry == folder;
                if (wholeFolder && !loaded->folders.contains(msg::HistoryFolderNotUsed(Printable(problem.entry), why)))
                    loaded->folders << msg::HistoryFolderNotUsed(Printable(problem.entry), why);
                else if (!wholeFolder)
                    loaded->skipped << msg::HistorySkipped(Printable(problem.entry), why);
            }
            loaded->rows += listing.versions;
            readers.append(history::ChangeReader(file, listing.versions));
        }
        std::sort(loaded->rows.begin(), loaded->rows.end(), [](const history::Version& a, const history::Version& b) {
            return a.time != b.time ? a.time > b.time : a.id > b.id;
        });
        QMetaObject::invokeMethod(this, [this, loaded, stop] { if (!*stop) Show(*loaded); }, Qt::QueuedConnection);
        // Versions from before changes were recorded: worked out one by one, newest first.
        for (history::ChangeReader& reader : readers)
            for (qsizetype at = reader.Versions().size() - 1; at >= 0 && !*stop; --at) {
                const history::Version& version = reader.Versions()[at];
                if (version.changes) continue;
                const std::optional<QList<KeyChange>> changes = reader.ChangesOf(at);
                QMetaObject::invokeMethod(
                    this, [this, stop, file = version.file, id = version.id, changes] {
                        if (!*stop) ShowCount(file, id, changes);
                    },
                    Qt::QueuedConnection);
            }
        QMetaObject::invokeMethod(this, [this, stop] {
            if (*stop) return;
            reading_ = false;
            ApplyKeyFilter();
            ShowStatus();
        }, Qt::QueuedConnection);
    });
}

void frmHistory::Show(const Loaded& loaded) {
    const history::Version* selected = Selected();
    const QString selectedFile = selected ? selected->file : QString();
    const qint64 selectedId = selected ? selected->id : 0;
    rows_ = loaded.rows;
    now_ = loaded.now;
    nowSha_ = loaded.nowSha;
    problems_ = loaded.folders;
    if (!loaded.skipped.isEmpty()) problems_ << msg::HistorySkippedCount(loaded.skipped.size());
    QStringList named = loaded.skipped.mid(0, kNamedSkipped);
    if (loaded.skipped.size() > kNamedSkipped) named << QStringLiteral("…");
    lblStatus->setToolTip(named.join(u'\n'));
    lblStatus->setAccessibleDescription(named.join(u'\n'));

    lstVersions->clear();
    QTreeWidgetItem* current = nullptr;
    for (const history::Version& v : rows_) {
        const QString action = msg::HistoryAction(v.action);
        const QString program = action.isEmpty() ? v.program : v.program + " (" + action + ")";
        auto* item = new QTreeWidgetItem(
            lstVersions, {v.time.toLocalTime().toString("yyyy-MM-dd HH:mm:ss"), Printable(v.name), QString::number(v.id),
                          Printable(msg::SaverText(v.user, v.host, v.account)), Printable(program),
                          ChangedText(v.changed)});
        if (v.file == selectedFile && v.id == selectedId) current = item;
    }
    for (int column = 0; column < lstVersions->columnCount(); ++column) lstVersions->resizeColumnToContents(column);
    lstVersions->setCurrentItem(current ? current : lstVersions->topLevelItem(0));
    ApplyKeyFilter();
    ShowStatus();
    ShowChanges();
}

void frmHistory::ShowCount(const QString& file, qint64 id, const std::optional<QList<KeyChange>>& changes) {
    for (qsizetype i = 0; i < rows_.size(); ++i) {
        history::Version& row = rows_[i];
        if (row.file != file || row.id != id) continue;
        row.changes = changes;
        row.changed = changes ? changes->size() : -1;
        if (QTreeWidgetItem* item = lstVersions->topLevelItem(int(i))) item->setText(5, changes ? ChangedText(row.changed) : QStringLiteral("?"));
        if (Selected() == &row) ShowChanges();
    }
    ApplyKeyFilter();
}

void frmHistory::ShowStatus() {
    QStringList lines;
    if (!done_.isEmpty()) lines << done_;
    lines += notices_;
    lines += problems_;
    if (reading_ && rows_.isEmpty()) lines << msg::HistoryReading();
    else if (rows_.isEmpty()) lines << msg::NoVersionsYet();
    lblStatus->setText(lines.join(u'\n'));
}

const history::Version* frmHistory::Selected() const {
    const int at = lstVersions ? lstVersions->indexOfTopLevelItem(lstVersions->currentItem()) : -1;
    return at >= 0 && at < rows_.size() ? &rows_[at] : nullptr;
}

void frmHistory::ShowChanges() {
    lstChanges->clear();
    const history::Version* row = Selected();
    if (row && row->changes) {
        for (const KeyChange& change : *row->changes) {
            const schema::KeyPlace place = schema::PlaceOf(row->name, change.section, change.key);
            new QTreeWidgetItem(lstChanges, {Printable(change.section), Printable(change.key), place.caption, place.page,
                                             change.before ? Printable(*change.before) : msg::AbsentValue(),
                                             change.after ? Printable(*change.after) : msg::AbsentValue()});
        }
        for (int column = 0; column < lstChanges->columnCount(); ++column) lstChanges->resizeColumnToContents(column);
        // The first change is chosen, so Tab, Shift+arrows and the button are all a keyboard needs.
        lstChanges->setCurrentItem(lstChanges->topLevelItem(0));
        if (only_)
            for (int at = lstChanges->topLevelItemCount() - 1; at >= 0; --at) {
                QTreeWidgetItem* item = lstChanges->topLevelItem(at);
                item->setHidden(!InKeyFilter(row->changes->at(at)));
                if (!item->isHidden()) lstChanges->setCurrentItem(item);
            }
    }
    UpdateButtons();
}

void frmHistory::ShowOnly(const QString& file, const QString& section, const QString& key) {
    only_ = KeyFilter{file, section, key};
    setWindowTitle(msg::FieldHistoryTitle(QString("[%1] %2").arg(section, key), QFileInfo(file).fileName()));
    lstVersions->headerItem()->setText(5, msg::FieldValueColumn());
    ApplyKeyFilter();
    ShowChanges();
}

frmHistory* ShowFieldHistory(const QString& file, const QString& section, const QString& key, const Services& services,
                             QWidget* parent) {
    static QPointer<frmHistory> shown;
    const QString title = msg::FieldHistoryTitle(QString("[%1] %2").arg(section, key), QFileInfo(file).fileName());
    if (shown && shown->windowTitle() != title) {
        shown->close();
        delete shown.data();
    }
    return ShowOrRaise(shown, [&] {
        auto* history = new frmHistory({file}, services, parent);
        history->ShowOnly(file, section, key);
        return history;
    });
}

bool frmHistory::InKeyFilter(const KeyChange& change) const {
    return only_ && change.section.compare(only_->section, Qt::CaseInsensitive) == 0 &&
           change.key.compare(only_->key, Qt::CaseInsensitive) == 0;
}

void frmHistory::ApplyKeyFilter() {
    if (!only_) return;
    // Rows are hidden, not removed: the list's rows stay those of rows_, which the restores use.
    QTreeWidgetItem* firstShown = nullptr;
    for (qsizetype i = 0; i < rows_.size(); ++i) {
        QTreeWidgetItem* item = lstVersions->topLevelItem(int(i));
        if (!item) continue;
        const history::Version& row = rows_[i];
        std::optional<KeyChange> change;
        if (row.changes)
            for (const KeyChange& c : *row.changes)
                if (InKeyFilter(c)) change = c;
        // A version whose changes are still being worked out stays until they are known.
        const bool pending = !row.changes && row.changed < 0 && reading_;
        item->setHidden(row.file != only_->file || (!change && !pending));
        if (change) item->setText(5, change->after ? Printable(*change->after) : msg::AbsentValue());
        if (!item->isHidden() && !firstShown) firstShown = item;
    }
    if (!lstVersions->currentItem() || lstVersions->currentItem()->isHidden()) lstVersions->setCurrentItem(firstShown);
}

void frmHistory::UpdateButtons() {
    const history::Version* row = Selected();
    // Nothing is put back while a save or restore runs; a version the file holds already has
    // nothing to put back.
    const bool free = !SaveTurn::Hub().Taken();
    cmdRestoreVersion->setEnabled(free && row && row->sha256 != nowSha_.value(row->file));
    cmdRestoreValue->setEnabled(free && row && row->changes && !lstChanges->selectedItems().isEmpty());
}

bool frmHistory::cmdRestoreVersion_Click() {
    const history::Version* selected = Selected();
    if (!selected) return false;
    const history::Version row = *selected;
    const QString& file = row.file;
    WindowSave save(this, *services_.errors);
    // Another save or restore runs: nothing to tell.
    if (!save.HasTurn()) return false;
    // The version and the file as it is now, read off the window's thread as every save's commit:
    // what the restore changes, for the question.
    std::optional<QByteArray> content;
    QByteArray now;
    QList<KeyChange> changes;
    history::Problem damaged;
    BusyWait().Run([&] {
        content = history::ReadContent(row, &damaged);
        if (!content) return;
        now = ReadNow(file);
        changes = KeyChanges(IniDocument(now), IniDocument(*content));
    });
    if (!content) {
        services_.errors->Report(this, windowTitle(),
                                 msg::HistorySkipped(Printable(damaged.entry), HistoryProblemText(damaged, Language::Dutch)));
        return false;
    }
    if (!AskRestore(this, *services_.errors, row, false, changes, now != now_.value(file))) return false;
    save.RecordAs(history::RestoreAction(row.id));
    // Against the file as the question showed it: what changes after that is asked about.
    if (!save.Commit(file, [&](const SaveContext& context, bool overwriteChanged) {
            history::PutBack(file, *content, context, now, overwriteChanged);
        }))
        return false;
    Restored(row);
    return true;
}

bool frmHistory::cmdRestoreValue_Click() {
    const history::Version* selected = Selected();
    if (!selected || !selected->changes) return false;
    const history::Version row = *selected;
    QList<KeyChange> chosen;
    for (QTreeWidgetItem* item : lstChanges->selectedItems())
        chosen << row.changes->value(lstChanges->indexOfTopLevelItem(item));
    if (!RestoreValues(this, *services_.errors, row, chosen, now_.value(row.file))) return false;
    QList<std::pair<QString, QString>> keys;
    for (const KeyChange& change : chosen) keys.append({change.section, change.key});
    Restored(row, history::ValueRestoreAction(row.id, keys));
    return true;
}

void frmHistory::Restored(const history::Version& version, const QString& values) {
    HistoryNotices::Hub().Restored(version.file);
    notices_.clear();
    const QString time = QTime::currentTime().toString("HH:mm:ss");
    done_ = values.isEmpty() ? msg::VersionRestored(Printable(version.name), version.id, time)
                             : msg::ValuesRestored(Printable(version.name), Printable(msg::HistoryAction(values)), time);
    Reload();
}

bool frmHistory::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !reading_ && StampsNow() != stamps_) Reload();
    return DialogWindow::event(event);
}

}  // namespace quorvant

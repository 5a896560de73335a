#include "windows/dialogs/frmHistory.h"

#include <QEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTime>
#include <QTreeWidget>
#include <QVBoxLayout>

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

QString ProblemWords(const history::Problem& problem) {
    switch (problem.kind) {
        case history::Problem::Kind::Foreign:
            return msg::HistoryForeign();
        case history::Problem::Kind::Damaged:
            return msg::HistoryDamaged();
        case history::Problem::Kind::Unreadable:
            break;
    }
    return SystemErrorText(problem.errorNumber, false);
}

QByteArray ReadNow(const QString& file) {
    QByteArray bytes;
    FileStamp stamp;
    ReadWholeFile(file, &bytes, &stamp);
    return bytes;
}

}  // namespace

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

    // What the engine says about this window's own restores (a history not written).
    connect(&HistoryNotices::Hub(), &HistoryNotices::notice, this, [this](const QString& file, const QString& text) {
        if (AmongFiles(files_, file))
            lblStatus->setText(lblStatus->text().isEmpty() ? text : lblStatus->text() + u'\n' + text);
    });

    Reload();
    resize(960, 640);
}

frmHistory::~frmHistory() = default;

QList<FileStamp> frmHistory::StampsNow() const {
    QList<FileStamp> stamps;
    for (const QString& file : files_) stamps << StampOf(file) << StampOf(history::FolderOf(file));
    return stamps;
}

void frmHistory::Reload() {
    const Row* selected = Selected();
    const QString selectedFile = selected ? selected->version.file : QString();
    const qint64 selectedId = selected ? selected->version.id : 0;

    stamps_ = StampsNow();
    rows_.clear();
    now_.clear();
    accessors_.clear();
    QStringList problems;
    QSet<QString> folders;
    for (const QString& file : files_) {
        auto ini = std::make_shared<IniAccessor>();
        ini->SetFile(file);
        ini->ReadValue();
        accessors_.insert(file, ini);
        now_.insert(file, ReadNow(file));
        // Foreign files of a folder are named once, whichever of its files come first.
        const QString folder = history::FolderOf(file);
        const history::Listing listing = history::VersionsOf(file, !folders.contains(folder));
        folders.insert(folder);
        for (const history::Problem& problem : listing.problems)
            problems << msg::HistorySkipped(problem.entry, ProblemWords(problem));
        QList<Row> rows;
        for (const history::Version& version : listing.versions) {
            history::Problem problem;
            const std::optional<QByteArray> content = history::ReadContent(version, &problem);
            if (!content) {
                problems << msg::HistorySkipped(problem.entry, ProblemWords(problem));
                continue;
            }
            rows.append(Row{version, *content, {}});
        }
        // A save changed its version into the next one, or into the file as it is now.
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const QByteArray& next = i + 1 < rows.size() ? rows[i + 1].content : now_.value(file);
            rows[i].changes = KeyChanges(IniDocument(rows[i].content), IniDocument(next));
        }
        rows_ += rows;
    }
    std::sort(rows_.begin(), rows_.end(), [](const Row& a, const Row& b) {
        return a.version.time != b.version.time ? a.version.time > b.version.time : a.version.id > b.version.id;
    });

    lstVersions->clear();
    QTreeWidgetItem* current = nullptr;
    for (const Row& row : rows_) {
        const history::Version& v = row.version;
        const QString action = msg::HistoryAction(v.action);
        auto* item = new QTreeWidgetItem(
            lstVersions, {v.time.toLocalTime().toString("yyyy-MM-dd HH:mm:ss"), v.name, QString::number(v.id),
                          v.user + u'@' + v.host, action.isEmpty() ? v.program : v.program + " (" + action + ")",
                          QString::number(row.changes.size())});
        if (v.file == selectedFile && v.id == selectedId) current = item;
    }
    for (int column = 0; column < lstVersions->columnCount(); ++column) lstVersions->resizeColumnToContents(column);
    if (rows_.isEmpty()) problems.prepend(msg::NoVersionsYet());
    lblStatus->setText(problems.join(u'\n'));
    lstVersions->setCurrentItem(current ? current : lstVersions->topLevelItem(0));
    ShowChanges();
}

const frmHistory::Row* frmHistory::Selected() const {
    const int at = lstVersions ? lstVersions->indexOfTopLevelItem(lstVersions->currentItem()) : -1;
    return at >= 0 && at < rows_.size() ? &rows_[at] : nullptr;
}

void frmHistory::ShowChanges() {
    lstChanges->clear();
    if (const Row* row = Selected()) {
        for (const KeyChange& change : row->changes) {
            const schema::KeyPlace place = schema::PlaceOf(row->version.name, change.section, change.key);
            new QTreeWidgetItem(
                lstChanges, {change.section, change.key, place.caption, place.page,
                             change.before.value_or(msg::AbsentValue()), change.after.value_or(msg::AbsentValue())});
        }
        for (int column = 0; column < lstChanges->columnCount(); ++column) lstChanges->resizeColumnToContents(column);
        // The first change is chosen, so Tab, Shift+arrows and the button are all a keyboard needs.
        lstChanges->setCurrentItem(lstChanges->topLevelItem(0));
    }
    UpdateButtons();
}

void frmHistory::UpdateButtons() {
    const Row* row = Selected();
    // A version the file holds already has nothing to put back.
    cmdRestoreVersion->setEnabled(row && row->content != now_.value(row->version.file));
    cmdRestoreValue->setEnabled(row && !lstChanges->selectedItems().isEmpty());
}

bool frmHistory::cmdRestoreVersion_Click() {
    const Row* selected = Selected();
    if (!selected) return false;
    const Row row = *selected;
    const QString& file = row.version.file;
    bool overwriteChanged = false;
    for (;;) {
        try {
            // Committed off the window's thread, as every save: a slow disk or another program's lock
            // must not freeze the windows.
            BusyWait busy;
            busy.Run([&] {
                history::PutBack(file, row.content, history::RestoreAction(row.version.id), now_.value(file),
                                 overwriteChanged);
            });
            break;
        } catch (const IniError& error) {
            if (error.Failure() == IniFailure::ChangedElsewhere && !overwriteChanged) {
                if (!services_.errors->Ask(this, windowTitle(), msg::RestoreAnywayQuestion(file, error.Details().keys),
                                           msg::RestoreAnywayCaption()))
                    return false;
                overwriteChanged = true;
                continue;
            }
            services_.errors->Report(this, windowTitle(), msg::NotSaved(error.File(), msg::FailureReason(error)));
            return false;
        }
    }
    Restored(row);
    return true;
}

bool frmHistory::cmdRestoreValue_Click() {
    const Row* selected = Selected();
    if (!selected) return false;
    const Row row = *selected;
    QList<KeyChange> chosen;
    for (QTreeWidgetItem* item : lstChanges->selectedItems())
        chosen << row.changes.value(lstChanges->indexOfTopLevelItem(item));
    if (chosen.isEmpty()) return false;
    IniAccessor& ini = *accessors_.value(row.version.file);
    const history::ActionScope action(history::RestoreAction(row.version.id));
    const bool saved = SaveOrReport(this, *services_.errors, ini, [&] {
        for (const KeyChange& change : chosen) {
            ini.SetSection(change.section);
            ini.SetKey(change.key);
            if (change.before)
                ini.WriteValue(*change.before);
            else
                ini.DeleteKey();
        }
    });
    if (saved) Restored(row);
    return saved;
}

void frmHistory::Restored(const Row& row) {
    HistoryNotices::Hub().Restored(row.version.file, row.version.id);
    Reload();
    const QString done =
        msg::VersionRestored(row.version.name, row.version.id, QTime::currentTime().toString("HH:mm:ss"));
    lblStatus->setText(lblStatus->text().isEmpty() ? done : done + u'\n' + lblStatus->text());
}

bool frmHistory::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && StampsNow() != stamps_) Reload();
    return DialogWindow::event(event);
}

}  // namespace quorvant

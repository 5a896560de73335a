#include "windows/shared/StatusLine.h"

#include <QBoxLayout>
#include <QLabel>
#include <QTime>

#include "text/Messages.h"
#include "windows/shared/DialogSupport.h"

namespace quorvant {

StatusLine::StatusLine(QWidget* window, EditState::Snapshot snapshot, EditState::PlaceOf placeOf)
    : QStatusBar(window), edits_(new EditState(window, std::move(snapshot), std::move(placeOf))) {
    setObjectName("statusLine");
    setSizeGripEnabled(false);
    message_ = new QLabel(this);
    message_->setObjectName("lblStatus");
    message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    addWidget(message_, 1);
    connect(edits_, &EditState::changed, this, &StatusLine::Refresh);
}

void StatusLine::ListOtherWindows(bool list) {
    if (list == listOthers_) return;
    listOthers_ = list;
    if (list) connect(&EditState::Hub(), &EditHub::anyChanged, this, &StatusLine::Refresh);
    Refresh();
}

void StatusLine::ShowFolder(const QString& folder) {
    if (!folder_) {
        folder_ = new QLabel(this);
        folder_->setObjectName("lblFolder");
        folder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
        addPermanentWidget(folder_);
    }
    folder_->setText(msg::EditedFolder(folder));
}

void StatusLine::Saved(const QStringList& files) {
    lastSave_ = msg::SavedFiles(files, QTime::currentTime().toString("HH:mm:ss"));
    edits_->Reset(files);
    notice_.clear();
    Refresh();
}

void StatusLine::Reloaded() { edits_->Reset(); }

void StatusLine::ShowNotice(const QString& text) {
    notice_ = text;
    Refresh();
}

QString StatusLine::Text() const { return message_->text(); }

void StatusLine::Refresh() {
    QStringList places = edits_->Places();
    bool unsaved = edits_->Dirty();
    if (listOthers_) {
        for (EditState* other : EditState::All()) {
            // The dialogs this window owns: its quit button ends them too.
            if (other->Window()->parentWidget() != window() || !other->Window()->isVisible() || !other->Dirty())
                continue;
            places.append(msg::DialogPlace(other->Window()->windowTitle()));
            unsaved = true;
        }
    }
    const QString state = unsaved ? msg::UnsavedChanges(places) : lastSave_;
    message_->setText(notice_.isEmpty() || state.isEmpty() ? state + notice_
                                                           : state + QStringLiteral(" — ") + notice_);
}

StatusLine* AddStatusLine(QWidget* window, EditState::Snapshot snapshot, QPushButton* save,
                          std::initializer_list<QWidget*> buttons) {
    auto* line = new StatusLine(window, std::move(snapshot));
    if (auto* box = qobject_cast<QBoxLayout*>(window->layout())) box->addWidget(line);
    line->Watch();
    AddSaveShortcut(window, save);
    PutButtonsLast(window, buttons);
    return line;
}

}  // namespace quorvant

#include "windows/shared/StatusLine.h"

#include <QBoxLayout>
#include <QFileInfo>
#include <QLabel>
#include <QTime>

#include "text/Messages.h"
#include "windows/shared/SaveOrReport.h"
#include "windows/shared/WindowButtons.h"

namespace quorvant {

namespace {

// The message, cut with "…" where the window ends: a long one (why a save failed) must not widen a
// small dialog. The tool tip and screen readers get all of it.
class MessageLabel : public QLabel {
public:
    using QLabel::QLabel;
    void SetFullText(const QString& text) {
        full_ = text;
        setAccessibleName(text);
        Fit();
    }
    const QString& FullText() const { return full_; }
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }
    QSize sizeHint() const override {
        return {fontMetrics().horizontalAdvance(full_) + 2 * margin(), QLabel::sizeHint().height()};
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        Fit();
    }

private:
    void Fit() {
        const QString shown = fontMetrics().elidedText(full_, Qt::ElideRight, contentsRect().width());
        setText(shown);
        setToolTip(shown == full_ ? QString() : full_);
    }

    QString full_;
};

MessageLabel* Of(QLabel* label) { return static_cast<MessageLabel*>(label); }

}  // namespace

StatusLine::StatusLine(QWidget* window, EditState::Snapshot snapshot, EditState::PlaceOf placeOf)
    : QStatusBar(window), edits_(new EditState(window, std::move(snapshot), std::move(placeOf))) {
    setObjectName("statusLine");
    setSizeGripEnabled(false);
    message_ = new MessageLabel(this);
    message_->setObjectName("lblStatus");
    message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    addWidget(message_, 1);
    help_ = new MessageLabel(this);
    help_->setObjectName("lblFieldHelp");
    help_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    help_->hide();
    // Only the room the message and the buttons leave: the message is never squeezed by help.
    help_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    addWidget(help_, 1);
    connect(edits_, &EditState::changed, this, &StatusLine::Refresh);
    // A failed save is told until the user edits again.
    connect(edits_, &EditState::edited, this, [this] {
        failure_.clear();
        Refresh();
    });
}

void StatusLine::ListOtherWindows(bool list) {
    if (list == listOthers_) return;
    listOthers_ = list;
    if (list) connect(&EditState::Hub(), &EditHub::anyChanged, this, &StatusLine::Refresh);
    Refresh();
}

void StatusLine::ShowPlace(const QString& text) {
    if (!folder_) {
        folder_ = new QLabel(this);
        folder_->setObjectName("lblFolder");
        folder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
        addPermanentWidget(folder_);
    }
    folder_->setText(text);
}

void StatusLine::ShowFolder(const QString& folder) { ShowPlace(msg::EditedFolder(folder)); }

void StatusLine::ShowFile(const QString& path) {
    ShowPlace(msg::EditedFile(QFileInfo(path).fileName()));
    folder_->setToolTip(path);
}

void StatusLine::ShowProgress(SaveProgress progress) {
    if (progress == progress_) return;
    progress_ = progress;
    Refresh();
}

void StatusLine::SaveEnded(const QStringList& saved, const QStringList& rewritten, const QStringList& failures) {
    if (!saved.isEmpty()) edits_->Reset(saved);
    const QString time = QTime::currentTime().toString("HH:mm:ss");
    failure_ = failures.isEmpty() ? QString() : msg::NotSavedLine(failures, rewritten, time);
    // A save that wrote nothing because it failed leaves the last save's message as it was.
    if (!rewritten.isEmpty())
        lastSave_ = msg::SavedFiles(rewritten, time);
    else if (!saved.isEmpty() && failures.isEmpty())
        lastSave_ = msg::AlreadySaved(saved, time);
    Refresh();
}

void StatusLine::CountRewrites(std::function<int()> count) {
    // An edit can turn such a value into the operator's own: counted again after each comparison
    // (a read and a save end with one too), not at each refresh on the way to it.
    if (!rewrites_)
        connect(edits_, &EditState::compared, this, [this] {
            rewritesCounted_ = false;
            Refresh();
        });
    rewrites_ = std::move(count);
    rewritesCounted_ = false;
    Refresh();
}

void StatusLine::Reloaded() { edits_->Reset(); }

void StatusLine::ShowNotice(const QString& text) {
    notice_ = text;
    Refresh();
}

void StatusLine::ShowHelp(const QString& text) {
    Of(help_)->SetFullText(text);
    if (help_->isVisibleTo(this) == !text.isEmpty()) return;
    // The help takes the room the message does not need; without help the message has it all.
    removeWidget(message_);
    insertWidget(0, message_, text.isEmpty() ? 1 : 0);
    message_->show();
    help_->setVisible(!text.isEmpty());
}

QString StatusLine::HelpText() const { return Of(help_)->FullText(); }

QString StatusLine::Text() const { return Of(message_)->FullText(); }

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
    QString state;
    if (progress_ != SaveProgress::None)
        state = progress_ == SaveProgress::Saving ? msg::SavingNow() : msg::WaitingForFolder();
    else if (!failure_.isEmpty())
        state = failure_;
    else
        state = unsaved ? msg::UnsavedChanges(places) : lastSave_;
    if (progress_ == SaveProgress::None && failure_.isEmpty() && rewrites_) {
        if (!rewritesCounted_) {
            rewriteCount_ = rewrites_();
            rewritesCounted_ = true;
        }
        if (const int count = rewriteCount_; count > 0) {
            const QString rewrites = msg::UntouchedRewrites(count);
            state = state.isEmpty() ? rewrites.left(1).toUpper() + rewrites.mid(1) : state + QStringLiteral("; ") + rewrites;
        }
    }
    if (!notice_.isEmpty()) state = state.isEmpty() ? notice_ : state + QStringLiteral(" — ") + notice_;
    Of(message_)->SetFullText(state);
}

StatusLine* AddStatusLine(QWidget* window, EditState::Snapshot snapshot, QPushButton* save,
                          std::initializer_list<QWidget*> buttons) {
    auto* line = new StatusLine(window, std::move(snapshot));
    if (auto* box = qobject_cast<QBoxLayout*>(window->layout())) box->addWidget(line);
    line->Watch();
    AddSaveShortcut(window, save);
    DisableDuringSaves(save);
    PutButtonsLast(window, buttons);
    return line;
}

}  // namespace quorvant

#include "windows/shared/StatusLine.h"

#include <QBoxLayout>
#include <QLabel>
#include <QMetaMethod>
#include <QPushButton>
#include <QShortcut>
#include <QTime>
#include <algorithm>
#include <exception>

#include "text/Messages.h"

namespace quorvant {

namespace {

// The signals by which a control reports that what it shows changed. A button's click counts
// because a handler behind it (a colour or folder chooser) may change a value it does not show.
const char* const kChangeSignals[] = {
    "toggled(bool)",  "stateChanged(int)",        "clicked(bool)", "textChanged(QString)", "editTextChanged(QString)",
    "valueChanged(int)", "currentIndexChanged(int)", "stepped(int)",
};

QString TextOf(const IniValue& value) {
    return std::visit(
        [](const auto& v) -> QString {
            if constexpr (std::is_same_v<std::decay_t<decltype(v)>, QString>)
                return v;
            else
                return QString::number(v);
        },
        value);
}

QList<EditState*>& Registry() {
    static QList<EditState*> states;
    return states;
}

}  // namespace

QList<PendingValue> PendingValues(const QString& file, const SectionTable& table) {
    QList<PendingValue> values;
    for (const KeyRow& row : table.rows) {
        PendingValue value{file, table.section, row.writeKey, {}};
        try {
            value.text = TextOf(row.write());
        } catch (const std::exception&) {
            value.text = QStringLiteral("\x01");  // no stored text holds this
        }
        values.append(value);
    }
    return values;
}

EditHub& EditState::Hub() {
    static EditHub hub;
    return hub;
}

EditState::EditState(QWidget* window, Snapshot snapshot, PlaceOf placeOf)
    : QObject(window), window_(window), snapshot_(std::move(snapshot)), placeOf_(std::move(placeOf)) {
    Registry().append(this);
}

EditState::~EditState() {
    Registry().removeAll(this);
    emit Hub().anyChanged();
}

QList<EditState*> EditState::All() { return Registry(); }

void EditState::Watch() {
    if (!watching_) {
        watching_ = true;
        const QMetaMethod slot = metaObject()->method(metaObject()->indexOfSlot("ControlChanged()"));
        for (QWidget* control : window_->findChildren<QWidget*>()) {
            // Controls of another window (a dialog owned by this one) have their own state.
            if (control->window() != window_) continue;
            const QMetaObject* meta = control->metaObject();
            for (const char* signature : kChangeSignals) {
                const int index = meta->indexOfSignal(signature);
                if (index >= 0) connect(control, meta->method(index), this, slot);
            }
        }
    }
    Reset();
}

void EditState::Reset() {
    baseline_ = snapshot_();
    current_ = baseline_;
    placeOfEntry_ = QStringList(current_.size(), QString());
    emit changed();
    emit Hub().anyChanged();
}

void EditState::Reset(const QStringList& files) {
    const QList<PendingValue> now = snapshot_();
    if (now.size() != baseline_.size()) {
        Reset();
        return;
    }
    for (int i = 0; i < now.size(); ++i)
        if (files.contains(now[i].file)) baseline_[i] = now[i];
    Compare(nullptr);
    emit changed();
    emit Hub().anyChanged();
}

void EditState::Check() { Compare(nullptr); }

void EditState::ControlChanged() { Compare(qobject_cast<QWidget*>(sender())); }

void EditState::Compare(QWidget* control) {
    if (!watching_) return;
    const bool wasDirty = Dirty();
    const QStringList wasPlaces = Places();
    const QList<PendingValue> now = snapshot_();
    if (now.size() != current_.size()) placeOfEntry_ = QStringList(now.size(), QString());
    const QString place = control && placeOf_ ? placeOf_(control) : QString();
    for (int i = 0; i < now.size(); ++i) {
        if (i < current_.size() && now[i] == current_[i]) continue;
        if (!place.isEmpty()) placeOfEntry_[i] = place;
    }
    current_ = now;
    if (wasDirty != Dirty() || wasPlaces != Places()) {
        emit changed();
        emit Hub().anyChanged();
    }
}

bool EditState::Dirty() const { return current_ != baseline_; }

QStringList EditState::Places() const {
    QStringList places;
    for (int i = 0; i < current_.size(); ++i) {
        if (i < baseline_.size() && current_[i] == baseline_[i]) continue;
        if (!placeOfEntry_.value(i).isEmpty() && !places.contains(placeOfEntry_[i])) places.append(placeOfEntry_[i]);
    }
    if (!placeOrder_.isEmpty())
        std::stable_sort(places.begin(), places.end(), [this](const QString& a, const QString& b) {
            return placeOrder_.indexOf(a) < placeOrder_.indexOf(b);
        });
    return places;
}

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
    Refresh();
}

void StatusLine::Reloaded() { edits_->Reset(); }

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
    message_->setText(unsaved ? msg::UnsavedChanges(places) : lastSave_);
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

void AddSaveShortcut(QWidget* window, QPushButton* save) {
    auto* shortcut = new QShortcut(QKeySequence::Save, window);
    QObject::connect(shortcut, &QShortcut::activated, save, [save] {
        if (save->isEnabled() && save->isVisible()) save->click();
    });
}

void PutButtonsLast(QWidget* window, std::initializer_list<QWidget*> buttons) {
    // The last widget of the chain that is not one of the buttons.
    QWidget* last = nullptr;
    for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain())
        if (std::find(buttons.begin(), buttons.end(), w) == buttons.end() && w->window() == window) last = w;
    if (!last) return;
    for (QWidget* button : buttons) {
        QWidget::setTabOrder(last, button);
        last = button;
    }
}

}  // namespace quorvant

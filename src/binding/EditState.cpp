#include "binding/EditState.h"

#include <QHash>
#include <QMetaMethod>
#include <QWidget>
#include <algorithm>

namespace quorvant {

namespace {

// The signals by which a control reports that what it shows changed. A button's click counts
// because a handler behind it (a colour or folder chooser) may change a value it does not show.
const char* const kChangeSignals[] = {
    "toggled(bool)",  "stateChanged(int)",        "clicked(bool)", "textChanged(QString)", "editTextChanged(QString)",
    "valueChanged(int)", "currentIndexChanged(int)", "stepped(int)",
};

// The change signals a class has, looked up once per class: a window has hundreds of controls of
// a dozen classes.
const QList<QMetaMethod>& ChangeSignalsOf(const QMetaObject* meta) {
    static QHash<const QMetaObject*, QList<QMetaMethod>> known;
    auto at = known.find(meta);
    if (at == known.end()) {
        QList<QMetaMethod> found;
        for (const char* signature : kChangeSignals)
            if (const int index = meta->indexOfSignal(signature); index >= 0) found << meta->method(index);
        at = known.insert(meta, found);
    }
    return *at;
}

QList<EditState*>& Registry() {
    static QList<EditState*> states;
    return states;
}

}  // namespace

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
            for (const QMetaMethod& signal : ChangeSignalsOf(control->metaObject())) connect(control, signal, this, slot);
        }
    }
    Reset();
}

void EditState::Reset() {
    baseline_ = snapshot_();
    current_ = baseline_;
    placeOfEntry_ = QStringList(current_.size(), QString());
    emit reset({});
    emit changed();
    emit compared();
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
    emit reset(files);
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
    const bool edited = now != current_;
    current_ = now;
    if (edited) emit this->edited();
    if (wasDirty != Dirty() || wasPlaces != Places()) {
        emit changed();
        emit Hub().anyChanged();
    }
    emit compared();
}

bool EditState::Dirty() const { return current_ != baseline_; }

bool EditState::Dirty(const QString& file) const {
    if (current_.size() != baseline_.size()) return Dirty();
    for (int i = 0; i < current_.size(); ++i)
        if (current_[i].file == file && current_[i] != baseline_[i]) return true;
    return false;
}

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

}  // namespace quorvant

#include "windows/shared/CheckMarks.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <exception>

#include "text/FailureReasons.h"
#include "text/Messages.h"
#include "widgets/Contrast.h"
#include "widgets/Icons.h"
#include "windows/shared/FieldOverlay.h"

namespace quorvant {

namespace {
constexpr int kMargin = 3;
constexpr int kBadge = 11;  // the badge's size, right of the frame
}  // namespace

// A frame around a marked field with a "!" badge right beside it: an overlay of the field, which
// lets every click through and follows the field.
class FieldMark : public FieldOverlay {
public:
    explicit FieldMark(QWidget* field)
        : FieldOverlay(field, QStringLiteral("checkMark"), QMargins(kMargin, kMargin, kMargin + kBadge + 1, kMargin)),
          originalTip_(field->toolTip()),
          originalDescription_(field->accessibleDescription()) {}

    void SetReasons(const QString& tip) {
        QWidget* field = Field();
        // Someone else may have changed the tool tip since (the genre list says why it is empty).
        if (field->toolTip() != tip_) originalTip_ = field->toolTip();
        if (field->accessibleDescription() != description_) originalDescription_ = field->accessibleDescription();
        tip_ = tip;
        description_ = originalDescription_.isEmpty() ? tip : originalDescription_ + QStringLiteral(". ") + tip;
        field->setToolTip(tip_);
        field->setAccessibleDescription(description_);
    }

    // Gives the field back what it had, where nobody changed it since; the mark no longer follows.
    void Release() {
        QWidget* field = Field();
        field->removeEventFilter(this);
        if (field->toolTip() == tip_) field->setToolTip(originalTip_);
        if (field->accessibleDescription() == description_) field->setAccessibleDescription(originalDescription_);
    }

    QString Tip() const { return tip_; }

protected:
    void paintEvent(QPaintEvent*) override {
        // The warning red as it reads on the field's background (a dark palette too); the frame's
        // thickness and the corner badge make the mark visible without telling colours apart.
        const QColor colour = WarningColour(palette().color(QPalette::Window));
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(colour, 2));
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1 - kBadge - 1, -1));
        // The badge: a filled triangle with an exclamation mark, so the mark does not rest on colour.
        const qreal size = kBadge;
        const QPointF corner(width() - size, (height() - size) / 2);
        QPainterPath triangle;
        triangle.moveTo(corner + QPointF(size / 2, 0));
        triangle.lineTo(corner + QPointF(size, size));
        triangle.lineTo(corner + QPointF(0, size));
        triangle.closeSubpath();
        painter.fillPath(triangle, colour);
        painter.setPen(QPen(SignColour(colour), 1.6));
        painter.drawLine(corner + QPointF(size / 2, 3), corner + QPointF(size / 2, size - 4));
        painter.drawPoint(corner + QPointF(size / 2, size - 2));
    }

private:
    QString tip_;
    QString description_;
    QString originalTip_;
    QString originalDescription_;
};

CheckMarks::CheckMarks(QWidget* window, QWidget* statusLine, const Bindings& bindings, EditState& edits,
                       QTabWidget* tabs, const schema::MachineFacts& facts, std::function<QString()> shownSection)
    : QPushButton(statusLine),
      window_(window),
      bindings_(bindings),
      tabs_(tabs),
      facts_(facts),
      shownSection_(std::move(shownSection)) {
    setObjectName(QStringLiteral("cmdWarnings"));
    setFlat(true);
    setIcon(WarningIcon());
    setFocusPolicy(Qt::StrongFocus);
    hide();
    connect(this, &QPushButton::clicked, this, &CheckMarks::GoToNext);
    // The window's shortcuts: the button itself is hidden while nothing is marked.
    connect(new QShortcut(QKeySequence(Qt::Key_F8), window), &QShortcut::activated, this, &CheckMarks::GoToNext);
    connect(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F8), window), &QShortcut::activated, this,
            &CheckMarks::GoToPrevious);
    connect(&edits, &EditState::reset, this, &CheckMarks::TakeBaseline);
    connect(&edits, &EditState::compared, this, [this] {
        Refresh();
        // Once more when the change is done: code that set the value may set a tool tip after it.
        if (!refreshQueued_) {
            refreshQueued_ = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    refreshQueued_ = false;
                    Refresh();
                },
                Qt::QueuedConnection);
        }
    });
    TakeBaseline({});
    Refresh();
}

CheckMarks::~CheckMarks() {
    for (FieldMark* mark : std::as_const(marks_)) mark->Release();
}

std::optional<QString> CheckMarks::PendingText(const Binding& binding) const {
    try {
        return TextOf(binding.write());
    } catch (const std::exception&) {
        // A port box whose text is no number cannot be written as one: check what it shows.
        if (auto* box = qobject_cast<QLineEdit*>(binding.control)) return box->text();
        return std::nullopt;
    }
}

void CheckMarks::TakeBaseline(const QStringList& files) {
    for (const Binding& binding : bindings_.All()) {
        if (!files.isEmpty() && !files.contains(schema::FileName(binding.key->file))) continue;
        const std::optional<QString> now = PendingText(binding);
        baseline_.insert(binding.key, now);
        // After a save the file holds what the window wrote; after a read, what the read found.
        stored_.insert(binding.key, files.isEmpty() ? bindings_.StoredText(*binding.key) : now);
    }
}

std::optional<QString> CheckMarks::ValueOf(const schema::Key& key, const QString& section) const {
    const Binding* binding = bindings_.Of(key);
    if (!binding || key.Has(schema::ReadOnly)) return std::nullopt;
    const QString shown = shownSection_ ? shownSection_() : QString();
    if (section != (shown.isNull() ? key.Section() : shown)) return std::nullopt;
    const auto asked = pending_.constFind(&key);
    const std::optional<QString> now = asked != pending_.cend() ? *asked : PendingText(*binding);
    if (now == baseline_.value(&key)) return stored_.value(&key);
    return now;
}

int CheckMarks::TabOf(QWidget* field) const {
    if (!tabs_) return -1;
    for (QWidget* w = field; w && w != window_; w = w->parentWidget())
        if (const int tab = tabs_->indexOf(w); tab >= 0) return tab;
    return -1;
}

void CheckMarks::Refresh() {
    // What a save would write now, asked once per key: the checks read it, and a value the save
    // cannot write at all stops the save (a word in a port written as a number).
    pending_.clear();
    QHash<QWidget*, QString> blocking;  // the field, and the save's own words
    QList<QWidget*> blockingOrder;
    for (const Binding& binding : bindings_.All()) {
        try {
            pending_.insert(binding.key, TextOf(binding.write()));
        } catch (const std::exception& error) {
            pending_.insert(binding.key, PendingText(binding));
            if (QWidget* field = binding.Field(); field && !blocking.contains(field)) {
                blocking.insert(field, QString::fromUtf8(error.what()));
                blockingOrder.append(field);
            }
        }
    }
    QList<schema::Finding> findings;
    for (schema::File file : {schema::File::Server, schema::File::News, schema::File::Common})
        findings += schema::CheckFile(
            file, [this](const schema::Key& key, const QString& section) { return ValueOf(key, section); }, facts_);
    findings_ = findings;

    QList<QWidget*> fields;
    QHash<QWidget*, QStringList> reasons;
    for (const schema::Finding& finding : std::as_const(findings_)) {
        QWidget* field = bindings_.Of(*finding.key)->Field();
        if (!field) continue;
        if (!fields.contains(field)) fields.append(field);
        reasons[field].append(schema::Reason(finding, Language::Dutch));
    }
    // A value the save cannot write is marked as such, with the save's words where no check has any.
    int unchecked = 0;
    for (QWidget* field : std::as_const(blockingOrder)) {
        if (fields.contains(field)) continue;
        fields.append(field);
        reasons[field].append(blocking.value(field));
        ++unchecked;
    }
    for (QWidget* field : QList<QWidget*>(marked_))
        if (!fields.contains(field)) Unmark(field);
    for (QWidget* field : std::as_const(fields)) Mark(field, reasons.value(field), blocking.contains(field));
    marked_ = fields;

    // The tabs get a warning icon and say how many marked fields they hold; the text stays theirs.
    QStringList pages;
    QHash<int, int> perTab;
    for (QWidget* field : std::as_const(fields)) ++perTab[TabOf(field)];
    for (int tab = 0; tabs_ && tab < tabs_->count(); ++tab) {
        const int count = perTab.value(tab);
        // Only a change: each new icon lays the tab bar out again.
        if (tabs_->tabIcon(tab).isNull() != !count) tabs_->setTabIcon(tab, count ? icon() : QIcon());
        tabs_->setTabToolTip(tab, count ? msg::CheckWarnings(count) : QString());
        if (count) pages << tabs_->tabText(tab);
    }
    setText(msg::CheckWarnings(int(findings_.size()) + unchecked, pages, !blocking.isEmpty()));
    setAccessibleName(text());
    setToolTip(msg::NextMarkedField());
    setVisible(!fields.isEmpty());
    emit refreshed();
}

void CheckMarks::Mark(QWidget* field, const QStringList& reasons, bool blocksSave) {
    FieldMark*& mark = marks_[field];
    if (!mark) {
        mark = new FieldMark(field);
        // A field deleted with its page takes its mark along.
        connect(field, &QObject::destroyed, this, [this, field] {
            marks_.remove(field);
            marked_.removeAll(field);
        });
    }
    mark->SetReasons(msg::CheckMarkTip(reasons, blocksSave));
    mark->update();
}

void CheckMarks::Unmark(QWidget* field) {
    FieldMark* mark = marks_.take(field);
    if (!mark) return;
    disconnect(field, &QObject::destroyed, this, nullptr);
    mark->Release();
    mark->deleteLater();
}

QString CheckMarks::MarkOf(QWidget* field) const {
    const FieldMark* mark = marks_.value(field);
    return mark ? mark->Tip() : QString();
}

QString CheckMarks::ReasonFor(QWidget* widget) const {
    for (QWidget* w = widget; w && w != window_; w = w->parentWidget())
        if (const FieldMark* mark = marks_.value(w)) return mark->Tip();
    return {};
}

void CheckMarks::GoToNext() { GoTo(1); }
void CheckMarks::GoToPrevious() { GoTo(-1); }

void CheckMarks::GoTo(int step) {
    if (marked_.isEmpty()) return;
    qsizetype at = -1;
    for (QWidget* w = QApplication::focusWidget(); w && at < 0; w = w->parentWidget()) at = marked_.indexOf(w);
    // From no marked field, forward starts at the first and back at the last.
    if (at < 0 && step < 0) at = marked_.size();
    QWidget* field = marked_.at((at + step + marked_.size()) % marked_.size());
    if (const int tab = TabOf(field); tab >= 0) tabs_->setCurrentIndex(tab);
    QWidget* target = field;
    if (field->focusPolicy() == Qt::NoFocus)
        for (QWidget* child : field->findChildren<QWidget*>())
            if (child->focusPolicy() != Qt::NoFocus) {
                target = child;
                break;
            }
    target->setFocus(Qt::OtherFocusReason);
}

}  // namespace quorvant

#include "windows/shared/FieldHelp.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <exception>

#include "platform/ServiceInterfaces.h"
#include "settings/ValueRules.h"
#include "text/Messages.h"
#include "widgets/StateCheckBox.h"
#include "widgets/WeekHourGrid.h"
#include "windows/shared/CheckMarks.h"
#include "windows/shared/FieldOverlay.h"
#include "windows/shared/StatusLine.h"

namespace quorvant {

namespace {

const QString kMarkNotDefault = QStringLiteral("MarkNotDefault");

// Why the checks mark a field, first in its help; empty when they do not. The one place that
// knows how the marks tell it.
QString MarkReason(const CheckMarks* marks, QWidget* field) { return marks && field ? marks->MarkOf(field) : QString(); }

std::optional<QString> WrittenText(const Binding& binding) {
    try {
        return TextOf(binding.write());
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

QString DefaultText(const schema::Key& key) { return QString::number(key.fallback); }

// The day of a week grid's row that holds `cell`; -1 for none.
int DayOf(const WeekHourGrid* grid, const QWidget* cell) {
    for (int day = 0; day < WeekHourGrid::kDays; ++day) {
        if (grid->DayLabel(day) == cell) return day;
        for (int hour = 0; hour < WeekHourGrid::kHours; ++hour)
            if (grid->Box(day, hour) == cell) return day;
    }
    return -1;
}

}  // namespace

QWidget* FocusTargetOf(const Binding& binding) {
    QWidget* field = binding.Field();
    if (auto* grid = qobject_cast<WeekHourGrid*>(field))
        if (const int day = int(WeekHourGrid::DayKeys().indexOf(binding.key->Name())); day >= 0) return grid->Box(day, 0);
    return field;
}

FieldHelp::FieldHelp(QWidget* window, const Bindings& bindings, StatusLine* statusLine, CheckMarks* marks,
                     Preferences& preferences, ShowHistory showHistory, std::function<QString()> shownSection)
    : QObject(window),
      window_(window),
      bindings_(bindings),
      statusLine_(statusLine),
      marks_(marks),
      preferences_(preferences),
      showHistory_(std::move(showHistory)),
      shownSection_(std::move(shownSection)) {
    // One filter for all the window's fields and their parts (the menu and Shift+F10 reach the
    // inner line edit of a spin or list first), instead of one per widget.
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (!now || now->window() != window_) return;
        focused_ = BindingAt(now);
        Refresh();
    });
    EditState& edits = statusLine_->Edits();
    connect(&edits, &EditState::reset, this, [this](const QStringList& files) {
        // After a save the file holds what the window wrote; after a read, what the read found.
        for (const Binding& binding : bindings_.All()) {
            if (files.isEmpty())
                saved_.remove(binding.key);
            else if (files.contains(schema::FileName(binding.key->file)))
                saved_.insert(binding.key, WrittenText(binding));
        }
    });
    connect(&edits, &EditState::compared, this, [this] {
        Refresh();
        RefreshMarkers();
    });
    // The help names the field's mark first; marks also change without a comparison (a fact
    // arrived, a tool tip set after a value).
    if (marks) connect(marks, &CheckMarks::refreshed, this, &FieldHelp::Refresh);
    MarkNotDefault(preferences_.Flag(kMarkNotDefault));
}

FieldHelp::~FieldHelp() {
    for (const QPointer<FieldOverlay>& marker : std::as_const(notDefault_)) delete marker.data();
}

const Binding* FieldHelp::BindingAt(const QWidget* widget) const {
    for (const QWidget* w = widget; w && w != window_; w = w->parentWidget()) {
        const Binding* binding = bindings_.Of(w);
        if (!binding) continue;
        // A week grid shows seven keys, one per row.
        if (auto* grid = qobject_cast<const WeekHourGrid*>(w); grid && DayOf(grid, widget) >= 0)
            for (const Binding& day : bindings_.All())
                if (day.Field() == w && day.key->Name() == WeekHourGrid::DayKeys().value(DayOf(grid, widget)))
                    return &day;
        return binding;
    }
    return nullptr;
}

QString FieldHelp::SectionOf(const Binding& binding) const {
    const QString shown = shownSection_ ? shownSection_() : QString();
    return shown.isNull() ? binding.key->Section() : shown;
}

QString FieldHelp::KeyName(const schema::Key& key, const QString& section) {
    return QString("[%1] %2").arg(section, key.Name());
}

QString FieldHelp::ValueText(const schema::Key& key, qint32 value) {
    if (key.rule == schema::Rule::Colour) return "0x" + QString("%1").arg(value, 6, 16, QLatin1Char('0')).toUpper();
    return QString::number(value);
}

std::optional<QString> FieldHelp::StoredText(const Binding& binding) const {
    if (saved_.contains(binding.key)) return saved_.value(binding.key);
    return bindings_.StoredText(*binding.key);
}

QString FieldHelp::HelpFor(const Binding& binding) const {
    const schema::Key& key = *binding.key;
    QStringList parts;
    const QString reason = MarkReason(marks_, binding.Field());
    if (!reason.isEmpty()) parts << reason;
    parts << msg::FieldPlace(schema::CaptionText(key), KeyName(key, SectionOf(binding)), schema::FileName(key.file));
    const QString unit = schema::UnitText(key);
    if (key.hasLimits)
        parts << msg::FieldLimits(ValueText(key, key.limits.lowest), ValueText(key, key.limits.highest), unit,
                                  key.limits.step);
    if (key.hasDefault) parts << msg::FieldDefault(unit.isEmpty() ? DefaultText(key) : DefaultText(key) + ' ' + unit);
    const std::optional<QString> shown = WrittenText(binding);
    const std::optional<QString> stored = StoredText(binding);
    if (stored != shown) parts << (stored ? msg::FieldInFile(*stored) : msg::FieldNotInFile());
    return msg::FieldHelpLine(parts);
}

void FieldHelp::Refresh() {
    const Binding* binding = hovered_ ? hovered_ : focused_;
    statusLine_->ShowHelp(binding ? HelpFor(*binding) : QString());
}

bool FieldHelp::eventFilter(QObject* watched, QEvent* event) {
    // The filter sees every event of the program: those it answers are picked out first.
    const QEvent::Type type = event->type();
    if (type != QEvent::Enter && type != QEvent::Leave && type != QEvent::ContextMenu && type != QEvent::KeyPress)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window_) return false;
    switch (type) {
        case QEvent::Enter:
            if (const Binding* binding = bindings_.Of(widget)) {
                hovered_ = binding;
                Refresh();
            }
            break;
        case QEvent::Leave:
            if (hovered_ && hovered_ == bindings_.Of(widget)) {
                hovered_ = nullptr;
                Refresh();
            }
            break;
        case QEvent::ContextMenu:
            if (const Binding* binding = BindingAt(widget)) {
                auto* menuEvent = static_cast<QContextMenuEvent*>(event);
                const QPoint at = menuEvent->reason() == QContextMenuEvent::Keyboard
                                      ? widget->mapToGlobal(QPoint(0, widget->height()))
                                      : menuEvent->globalPos();
                ShowMenu(*binding, widget, at);
                return true;
            }
            break;
        case QEvent::KeyPress: {
            // Shift+F10 opens the menu as the menu key does.
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)
                if (const Binding* binding = BindingAt(widget)) {
                    ShowMenu(*binding, widget, widget->mapToGlobal(QPoint(0, widget->height())));
                    return true;
                }
            break;
        }
        default:
            break;
    }
    return false;
}

QMenu* FieldHelp::BuildMenu(const Binding& binding, QWidget* parent) {
    // A text field keeps its own entries (cut, copy, paste) before ours.
    QLineEdit* edit = qobject_cast<QLineEdit*>(parent);
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(parent)) edit = spin->findChild<QLineEdit*>();
    if (auto* list = qobject_cast<QComboBox*>(parent)) edit = list->lineEdit();
    QMenu* menu = edit ? edit->createStandardContextMenu() : new QMenu;
    menu->setParent(parent, menu->windowFlags());
    menu->setObjectName(QStringLiteral("mnuField"));
    if (!menu->isEmpty()) menu->addSeparator();
    const schema::Key& key = *binding.key;
    const QString section = SectionOf(binding);
    if (key.hasDefault && !key.Has(schema::ReadOnly)) {
        const QString unit = schema::UnitText(key);
        QAction* use = menu->addAction(msg::UseDefaultCaption(unit.isEmpty() ? DefaultText(key) : DefaultText(key) + ' ' + unit));
        use->setEnabled(binding.Field() && binding.Field()->isEnabled() && WrittenText(binding) != DefaultText(key));
        connect(use, &QAction::triggered, this, [this, &binding] { UseDefault(binding); });
    }
    if (showHistory_)
        connect(menu->addAction(msg::FieldHistoryCaption()), &QAction::triggered, this,
                [this, &key, section] { showHistory_(key, section); });
    connect(menu->addAction(msg::CopyKeyCaption(KeyName(key, section))), &QAction::triggered, this,
            [&key, section] { QGuiApplication::clipboard()->setText(KeyName(key, section)); });
    menu->addSeparator();
    QAction* mark = menu->addAction(msg::MarkNotDefaultCaption());
    mark->setCheckable(true);
    mark->setChecked(markNotDefault_);
    connect(mark, &QAction::toggled, this, [this](bool on) { MarkNotDefault(on); });
    return menu;
}

void FieldHelp::ShowMenu(const Binding& binding, QWidget* target, QPoint at) {
    QMenu* menu = BuildMenu(binding, target);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(at);
}

void FieldHelp::UseDefault(const Binding& binding) {
    const schema::Key& key = *binding.key;
    if (!key.hasDefault || key.Has(schema::ReadOnly)) return;
    // Through the key's read step, so the control shows the default exactly as a file holding it
    // would; the edit state sees the change like any other.
    SkipOnFailure([&] { binding.read(DefaultText(key)); });
    statusLine_->Edits().Check();
}

void FieldHelp::MarkNotDefault(bool on) {
    if (on != markNotDefault_) preferences_.SetFlag(kMarkNotDefault, on);
    markNotDefault_ = on;
    RefreshMarkers();
}

void FieldHelp::RefreshMarkers() {
    QHash<QWidget*, QPointer<FieldOverlay>> keep;
    if (markNotDefault_)
        for (const Binding& binding : bindings_.All()) {
            QWidget* field = binding.Field();
            const schema::Key& key = *binding.key;
            if (!field || keep.contains(field) || !key.hasDefault || key.Has(schema::ReadOnly) ||
                WrittenText(binding) == DefaultText(key))
                continue;
            QPointer<FieldOverlay> marker = notDefault_.take(field);
            keep.insert(field, marker ? marker.data() : new FieldOverlay(field, FieldOverlay::Kind::NotDefault));
        }
    for (const QPointer<FieldOverlay>& marker : std::as_const(notDefault_)) delete marker.data();
    notDefault_ = keep;
}

QList<QWidget*> FieldHelp::MarkedNotDefault() const {
    QList<QWidget*> fields;
    for (auto at = notDefault_.begin(); at != notDefault_.end(); ++at)
        if (at.value()) fields << at.key();
    return fields;
}

}  // namespace quorvant

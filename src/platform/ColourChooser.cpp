#include "platform/ColourChooser.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QLabel>

#include "settings/ValueRules.h"

namespace quorvant {

namespace {
// Flag of the colour chooser that keeps its part for defining colours closed.
constexpr int kPreventFullOpen = 4;

// Leaves only the grid of basic colours and the buttons: the spectrum, the number fields, the
// screen picker and the custom colours all serve to define colours of one's own.
void HideCustomColourPart(QColorDialog& dialog) {
    QLabel* keepLabel = nullptr;
    for (QLabel* label : dialog.findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (label->text() == QColorDialog::tr("&Basic colors")) keepLabel = label;
    }
    if (!keepLabel || !keepLabel->buddy()) return;  // not the layout we know: leave it whole
    for (QWidget* child : dialog.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child == keepLabel || child == keepLabel->buddy() || qobject_cast<QDialogButtonBox*>(child)) continue;
        if (child->isWindow()) continue;
        child->hide();
    }
    dialog.setSizeGripEnabled(false);
    dialog.adjustSize();
}
}  // namespace

std::optional<qint32> QtColourChooser::Choose(QWidget* parent) {
    QColorDialog dialog(QColor::fromRgb(ColourToRgb(current_)), parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog, true);
    if (flags_ & kPreventFullOpen) HideCustomColourPart(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    current_ = ColourFromRgb(dialog.selectedColor().rgb());
    return current_;
}

}  // namespace quorvant

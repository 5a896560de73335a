#include "platform/ColourChooser.h"

#include <QColorDialog>

#include "platform/ColourPanel.h"

namespace quorvant {

std::optional<qint32> QtColourChooser::Choose(QWidget* parent) {
    QColorDialog dialog(ColourPanel::ToColor(current_), parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog, true);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    current_ = ColourPanel::FromColor(dialog.selectedColor());
    return current_;
}

}  // namespace quorvant

#include "widgets/StateCheckBox.h"

namespace quorvant {

StateCheckBox::StateCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) { setTristate(true); }

int CheckStateNumber(Qt::CheckState state) {
    switch (state) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        default:
            return 0;
    }
}

int StateCheckBox::State() const { return CheckStateNumber(checkState()); }

bool StateCheckBox::SetState(int state) {
    switch (state) {
        case 0:
            setCheckState(Qt::Unchecked);
            return true;
        case 1:
            setCheckState(Qt::Checked);
            return true;
        case 2:
            setCheckState(Qt::PartiallyChecked);
            return true;
        default:
            return false;
    }
}

void StateCheckBox::nextCheckState() {
    // Grey only ever comes from a stored value; a click makes a plain choice.
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

}  // namespace quorvant

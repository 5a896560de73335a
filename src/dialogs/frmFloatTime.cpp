#include "dialogs/frmFloatTime.h"

namespace quorvant {

frmFloatTime::frmFloatTime(const QString& programFolder, const Services& services, QWidget* parent) : QWidget(parent, Qt::Window) {
    Q_UNUSED(programFolder);
    Q_UNUSED(services);
}

}  // namespace quorvant

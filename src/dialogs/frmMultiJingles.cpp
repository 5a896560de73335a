#include "dialogs/frmMultiJingles.h"

namespace quorvant {

frmMultiJingles::frmMultiJingles(const QString& programFolder, const Services& services, QWidget* parent) : QWidget(parent, Qt::Window) {
    Q_UNUSED(programFolder);
    Q_UNUSED(services);
}

}  // namespace quorvant

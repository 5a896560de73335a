#include "dialogs/frmIntNews.h"

namespace quorvant {

frmIntNews::frmIntNews(const QString& programFolder, const Services& services, QWidget* parent) : QWidget(parent, Qt::Window) {
    Q_UNUSED(programFolder);
    Q_UNUSED(services);
}

}  // namespace quorvant

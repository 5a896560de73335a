#include "windows/main_window/SetupPart.h"

#include <QTabWidget>
#include <QVBoxLayout>
#include <QWidget>

namespace quorvant {

QVBoxLayout* SetupContext::TabLayout(Tab tab) const {
    return qobject_cast<QVBoxLayout*>(tabs.at(std::size_t(tab))->layout());
}

void SetupContext::ShowTab(Tab tab) const { tabSetup->setCurrentIndex(int(tab)); }

}  // namespace quorvant

#include "windows/main_window/SetupPart.h"

#include <QVBoxLayout>
#include <QWidget>

namespace quorvant {

QVBoxLayout* SetupContext::TabLayout(int tab) const { return qobject_cast<QVBoxLayout*>(tabs.at(tab)->layout()); }

}  // namespace quorvant

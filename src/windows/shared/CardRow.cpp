#include "windows/shared/CardRow.h"

#include <algorithm>

#include "widgets/LedLabel.h"
#include "widgets/SpinButton.h"

namespace quorvant {

void SizeCardRow(LedLabel* led, SpinButton* spin) {
    // Display and arrows of one height, so the rows stay as low as the display.
    const int height = std::max(led->sizeHint().height(), 28);
    led->setFixedHeight(height);
    spin->setFixedSize(22, height);
}

QString CardDisplay(const WaveOutDevices* devices, qint16 card) {
    if (!devices) return {};
    if (const auto name = devices->DeviceName(card)) return *name;
    // Not a device (any more): say so rather than show nothing or another card's name.
    return QString("Kaart %1 ontbreekt").arg(card);
}

}  // namespace quorvant

#pragma once

#include <QString>

#include "platform/ServiceInterfaces.h"

namespace quorvant {

class LedLabel;
class SpinButton;

// Shared by the sound cards page and the jingle cards dialog: one row's display and spin sized
// alike, and what a display shows for a card number (the device's name, or that there is none).
void SizeCardRow(LedLabel* led, SpinButton* spin);
QString CardDisplay(const WaveOutDevices* devices, qint16 card);

}  // namespace quorvant

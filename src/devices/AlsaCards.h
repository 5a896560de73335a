#pragma once

// The sound cards of this machine as ALSA lists them, with Qt Core alone: the window's device
// services and quorvant-ini's checks count the same devices.

#include <QString>
#include <QStringList>
#include <vector>

namespace quorvant::alsa {

struct Card {
    int number;    // ALSA's card number
    QString name;  // its long name, else "hw:N"
};

// The cards in ALSA's order; empty without sound hardware. Nothing is printed either way.
std::vector<Card> Cards();
// The playback devices of every card in card and device order, named "card name: device name".
QStringList PlaybackDevices();
// A card's active simple mixer elements that can capture; all active ones when none can.
QStringList MixerLines(int card);

}  // namespace quorvant::alsa

#pragma once

// The sound cards of this machine as its sound system lists them (ALSA on Linux, winmm on
// Windows), with Qt Core alone: the window's device services and quorvant-ini's checks count the
// same devices.

#include <QString>
#include <QStringList>
#include <vector>

namespace quorvant::sound {

struct Card {
    int number;    // the number the sound system gives it (ALSA's card number, winmm's mixer id)
    QString name;  // its name, else "hw:N"
};

// The mixer-capable cards in the sound system's order; empty without sound hardware. Nothing is
// printed either way.
std::vector<Card> Cards();
// The playback devices in the sound system's order, the place in the list being the device
// number the server stores (on Windows the wave-out device id).
QStringList PlaybackDevices();
// A card's lines that can record (capture); all its lines when none can.
QStringList MixerLines(int card);

}  // namespace quorvant::sound

#pragma once

#include "platform/ServiceInterfaces.h"

namespace quorvant {

// Hardware playback devices in card and device order, named "card name: device name"; -1 is
// ALSA's "default" device. Without sound hardware the list is empty and nothing is printed.
class AlsaWaveOutDevices : public WaveOutDevices {
public:
    AlsaWaveOutDevices();
    int DeviceCount() const override;
    std::optional<QString> DeviceName(int device) const override;

private:
    QStringList names_;
};

// Mixers whose devices are the sound cards and whose lines are a card's active simple mixer
// elements that can capture (all active elements when none can).
class AlsaMixerFactory : public MixerFactory {
public:
    std::unique_ptr<Mixer> Create() override;
};

}  // namespace quorvant

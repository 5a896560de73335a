#pragma once

#include "platform/ServiceInterfaces.h"

namespace quorvant {

// The sound system's playback devices (devices/SoundSystem.h); -1 is the system's default device
// (ALSA's "default", the Windows wave mapper). Without sound hardware the list is empty and
// nothing is printed.
class SystemWaveOutDevices : public WaveOutDevices {
public:
    SystemWaveOutDevices();
    int DeviceCount() const override;
    std::optional<QString> DeviceName(int device) const override;

private:
    QStringList names_;
};

// Mixers whose devices are the sound cards and whose lines are a card's recording lines (all its
// lines when none can record).
class SystemMixerFactory : public MixerFactory {
public:
    std::unique_ptr<Mixer> Create() override;
};

}  // namespace quorvant

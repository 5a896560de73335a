#include "platform/AlsaDevices.h"

#include <alsa/asoundlib.h>

#include <stdexcept>

namespace quorvant {

AlsaWaveOutDevices::AlsaWaveOutDevices() {}

int AlsaWaveOutDevices::DeviceCount() const { return int(names_.size()); }

std::optional<QString> AlsaWaveOutDevices::DeviceName(int device) const {
    if (device == -1) return QStringLiteral("Standaard geluidsapparaat");
    if (device < 0 || device >= names_.size()) return std::nullopt;
    return names_.at(device);
}

namespace {
class AlsaMixer : public Mixer {
public:
    int HighestDevice() const override { return -1; }
    void SelectDevice(qint16) override { throw std::runtime_error("no such mixer device"); }
    int CurrentDevice() const override { return -1; }
    QString CurrentDeviceName() const override { return {}; }
    int HighestLine() const override { return -1; }
    void SelectLine(qint16) override { throw std::runtime_error("no such mixer line"); }
    QString CurrentLineName() const override { return {}; }
};
}  // namespace

std::unique_ptr<Mixer> AlsaMixerFactory::Create() { return std::make_unique<AlsaMixer>(); }

}  // namespace quorvant

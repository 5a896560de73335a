#include "platform/SoundDevices.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "devices/SoundSystem.h"
#include "text/Messages.h"

namespace quorvant {

SystemWaveOutDevices::SystemWaveOutDevices() : names_(sound::PlaybackDevices()) {}

int SystemWaveOutDevices::DeviceCount() const { return int(names_.size()); }

std::optional<QString> SystemWaveOutDevices::DeviceName(int device) const {
    if (device == -1) return msg::DefaultSoundDevice();
    if (device < 0 || device >= names_.size()) return std::nullopt;
    return names_.at(device);
}

namespace {

class SystemMixer : public Mixer {
public:
    SystemMixer() : cards_(sound::Cards()) {}

    int HighestDevice() const override { return int(cards_.size()) - 1; }

    void SelectDevice(qint16 device) override {
        if (device < 0 || device >= int(cards_.size()))
            throw std::runtime_error("mixer device " + std::to_string(device) + " does not exist");
        device_ = device;
        line_ = -1;
        lines_ = sound::MixerLines(cards_[device].number);
    }

    int CurrentDevice() const override { return device_; }

    QString CurrentDeviceName() const override { return device_ >= 0 ? cards_[device_].name : QString(); }

    int HighestLine() const override { return int(lines_.size()) - 1; }

    void SelectLine(qint16 line) override {
        if (line < 0 || line >= lines_.size())
            throw std::runtime_error("mixer line " + std::to_string(line) + " does not exist");
        line_ = line;
    }

    QString CurrentLineName() const override { return line_ >= 0 ? lines_.at(line_) : QString(); }

private:
    std::vector<sound::Card> cards_;
    int device_ = -1;
    QStringList lines_;
    int line_ = -1;
};

}  // namespace

std::unique_ptr<Mixer> SystemMixerFactory::Create() { return std::make_unique<SystemMixer>(); }

}  // namespace quorvant

#include "platform/AlsaDevices.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "devices/AlsaCards.h"
#include "text/Messages.h"

namespace quorvant {

AlsaWaveOutDevices::AlsaWaveOutDevices() : names_(alsa::PlaybackDevices()) {}

int AlsaWaveOutDevices::DeviceCount() const { return int(names_.size()); }

std::optional<QString> AlsaWaveOutDevices::DeviceName(int device) const {
    if (device == -1) return msg::DefaultSoundDevice();
    if (device < 0 || device >= names_.size()) return std::nullopt;
    return names_.at(device);
}

namespace {

class AlsaMixer : public Mixer {
public:
    AlsaMixer() : cards_(alsa::Cards()) {}

    int HighestDevice() const override { return int(cards_.size()) - 1; }

    void SelectDevice(qint16 device) override {
        if (device < 0 || device >= int(cards_.size()))
            throw std::runtime_error("mixer device " + std::to_string(device) + " does not exist");
        device_ = device;
        line_ = -1;
        lines_ = alsa::MixerLines(cards_[device].number);
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
    std::vector<alsa::Card> cards_;
    int device_ = -1;
    QStringList lines_;
    int line_ = -1;
};

}  // namespace

std::unique_ptr<Mixer> AlsaMixerFactory::Create() { return std::make_unique<AlsaMixer>(); }

}  // namespace quorvant

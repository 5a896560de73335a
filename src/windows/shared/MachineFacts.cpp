#include "windows/shared/MachineFacts.h"

#include <QScopeGuard>
#include <stdexcept>

namespace quorvant {

void MachineFacts::ReadMixers(Mixer& mixer) {
    QList<MixerDevice> devices;
    const auto keep = qScopeGuard([&] { mixers = devices; });
    for (int device = 0; device <= mixer.HighestDevice(); ++device) {
        mixer.SelectDevice(qint16(device));
        MixerDevice& read = devices.emplace_back(MixerDevice{mixer.CurrentDeviceName(), {}, {}});
        try {
            for (int line = 0; line <= mixer.HighestLine(); ++line) {
                mixer.SelectLine(qint16(line));
                read.lines << mixer.CurrentLineName();
            }
        } catch (const std::exception& error) {
            read.failure = QString::fromLocal8Bit(error.what());
        }
    }
}

QStringList MachineFacts::LinesOf(int device) const {
    if (!mixers || device < 0 || device >= mixers->size()) throw std::runtime_error("no such mixer device");
    if (!mixers->at(device).failure.isEmpty()) throw std::runtime_error(mixers->at(device).failure.toStdString());
    return mixers->at(device).lines;
}

std::optional<int> MachineFacts::MixerDevices() const {
    return mixers ? std::optional(int(mixers->size())) : std::nullopt;
}

std::optional<int> MachineFacts::MixerLines(int device) const {
    try {
        return int(LinesOf(device).size());
    } catch (const std::runtime_error&) {
        return std::nullopt;
    }
}

}  // namespace quorvant

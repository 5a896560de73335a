#include "windows/shared/MachineFacts.h"

#include <QScopeGuard>
#include <stdexcept>

namespace quorvant {

void MachineFacts::ReadMixers(Mixer& mixer) {
    QList<MixerDevice> devices;
    const auto keep = qScopeGuard([&] { mixers = devices; });
    for (int device = 0; device <= mixer.HighestDevice(); ++device) {
        mixer.SelectDevice(qint16(device));
        MixerDevice read{mixer.CurrentDeviceName(), {}, {}};
        try {
            for (int line = 0; line <= mixer.HighestLine(); ++line) {
                mixer.SelectLine(qint16(line));
                read.lines << mixer.CurrentLineName();
            }
        } catch (const std::exception& error) {
            read = {read.name, {}, QString::fromLocal8Bit(error.what())};
        }
        devices << read;
    }
}

QStringList MachineFacts::LinesOf(int device) const {
    if (!mixers || device < 0 || device >= mixers->size()) throw std::runtime_error("no such mixer device");
    const MixerDevice& read = mixers->at(device);
    if (!read.failure.isEmpty()) throw std::runtime_error(read.failure.toStdString());
    return read.lines;
}

std::optional<int> MachineFacts::MixerDevices() const {
    return mixers ? std::optional<int>(int(mixers->size())) : std::nullopt;
}

std::optional<int> MachineFacts::MixerLines(int device) const {
    if (!mixers || device < 0 || device >= mixers->size() || !mixers->at(device).failure.isEmpty()) return std::nullopt;
    return int(mixers->at(device).lines.size());
}

}  // namespace quorvant

#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "platform/ServiceInterfaces.h"
#include "schema/KeyChecks.h"

namespace quorvant {

// What the platform services answered a window: the sound cards, the mixer devices and their
// lines, the genre list. The pages fill their lists from it and the checks read it, so nothing is
// asked twice and a device that no list shows is still checked. Nothing where a service was not
// asked or gave no answer; files and folders are looked at when checked (LocalFacts).
class MachineFacts : public schema::LocalFacts {
public:
    struct MixerDevice {
        QString name;
        QStringList lines;
        QString failure;  // why its lines could not be read; empty when they could
    };

    // Every mixer device and its lines through `mixer`; a device it refuses ends the list there.
    void ReadMixers(Mixer& mixer);
    // The lines of a mixer device; throws std::runtime_error, saying why, where there are none to show.
    QStringList LinesOf(int device) const;

    std::optional<int> SoundDevices() const override { return soundDevices; }
    std::optional<int> MixerDevices() const override;
    std::optional<int> MixerLines(int device) const override;
    std::optional<QStringList> Genres() const override { return genres; }

    std::optional<int> soundDevices;
    std::optional<QList<MixerDevice>> mixers;
    std::optional<QStringList> genres;
};

}  // namespace quorvant

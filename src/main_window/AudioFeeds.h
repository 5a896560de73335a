#pragma once

#include "main_window/SetupPart.h"

namespace quorvant {

// The four external audio feeds with their mixer devices and lines (tab 5).
class AudioFeeds : public SetupPart {
public:
    explicit AudioFeeds(SetupContext& context);
    void LaadScherm() override;
    void CreateMixers();
    void FillDeviceLists();
    void SelectStoredCards();
    void SelectStoredChannels();
};

}  // namespace quorvant

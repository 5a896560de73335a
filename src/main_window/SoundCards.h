#pragma once

#include "main_window/SetupPart.h"

namespace quorvant {

// Sound cards of the four players and the multi-channel jingle switch (tab 1).
class SoundCards : public SetupPart {
public:
    explicit SoundCards(SetupContext& context);
    void LaadScherm() override;
    void SetSpinLimits();  // start-up: spin highest = device count - 1
};

}  // namespace quorvant

#pragma once

#include "main_window/SetupPart.h"

namespace quorvant {

// Fader, presentation and sequencer timing and the panic-track genre (tab 2).
class AutomationTiming : public SetupPart {
public:
    explicit AutomationTiming(SetupContext& context);
    void LaadScherm() override;
    void LoadGenres();  // start-up: fill cobPanic from data.mdb without blocking
};

}  // namespace quorvant

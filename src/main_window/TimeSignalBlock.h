#pragma once

#include "main_window/SetupPart.h"

namespace quorvant {

// Composition of the block around the hourly time signal (tab 8).
class TimeSignalBlock : public SetupPart {
public:
    explicit TimeSignalBlock(SetupContext& context);
    void LaadScherm() override;
    void VulTijdSeinBlok();
};

}  // namespace quorvant

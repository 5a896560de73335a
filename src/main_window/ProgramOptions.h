#pragma once

#include "main_window/SetupPart.h"

namespace quorvant {

// General program options of [program] (tab 3 and the remote-control frame on tab 6).
class ProgramOptions : public SetupPart {
public:
    explicit ProgramOptions(SetupContext& context);
    void LaadScherm() override;
};

}  // namespace quorvant

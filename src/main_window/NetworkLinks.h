#pragma once

#include "main_window/SetupPart.h"

namespace quorvant {

// The six links of [InterPC] (tabs 6, 7 and 9).
class NetworkLinks : public SetupPart {
public:
    explicit NetworkLinks(SetupContext& context);
    void LaadScherm() override;
};

}  // namespace quorvant

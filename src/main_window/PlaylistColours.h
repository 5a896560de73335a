#pragma once

#include "main_window/SetupPart.h"

namespace quorvant {

// The twelve playlist colours of [Colors] (tab 4).
class PlaylistColours : public SetupPart {
public:
    explicit PlaylistColours(SetupContext& context);
    void LaadScherm() override;
    void SetChooserFlags();
};

}  // namespace quorvant

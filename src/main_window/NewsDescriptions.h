#pragma once

#include "main_window/SetupPart.h"

namespace quorvant {

// Captions of the ten news buttons from commonsettings.ini [Desc].
class NewsDescriptions : public SetupPart {
public:
    explicit NewsDescriptions(SetupContext& context);
    void LaadScherm() override;
    void LaadDesc();
};

}  // namespace quorvant

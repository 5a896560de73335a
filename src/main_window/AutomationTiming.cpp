#include "main_window/AutomationTiming.h"

namespace quorvant {

AutomationTiming::AutomationTiming(SetupContext& context) : SetupPart(context) {}

void AutomationTiming::LaadScherm() {}

void AutomationTiming::LoadGenres() {}

}  // namespace quorvant

#include "main_window/NewsDescriptions.h"

namespace quorvant {

NewsDescriptions::NewsDescriptions(SetupContext& context) : SetupPart(context) {}

void NewsDescriptions::LaadScherm() {}

void NewsDescriptions::LaadDesc() {}

}  // namespace quorvant

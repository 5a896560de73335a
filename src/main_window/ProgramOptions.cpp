#include "main_window/ProgramOptions.h"

namespace quorvant {

ProgramOptions::ProgramOptions(SetupContext& context) : SetupPart(context) {}

void ProgramOptions::LaadScherm() {}

}  // namespace quorvant

#include "main_window/TimeSignalBlock.h"

namespace quorvant {

TimeSignalBlock::TimeSignalBlock(SetupContext& context) : SetupPart(context) {}

void TimeSignalBlock::LaadScherm() {}

void TimeSignalBlock::VulTijdSeinBlok() {}

}  // namespace quorvant

#include "main_window/SoundCards.h"

namespace quorvant {

SoundCards::SoundCards(SetupContext& context) : SetupPart(context) {}

void SoundCards::LaadScherm() {}

void SoundCards::SetSpinLimits() {}

}  // namespace quorvant

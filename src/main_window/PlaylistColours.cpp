#include "main_window/PlaylistColours.h"

namespace quorvant {

PlaylistColours::PlaylistColours(SetupContext& context) : SetupPart(context) {}

void PlaylistColours::LaadScherm() {}

void PlaylistColours::SetChooserFlags() {}

}  // namespace quorvant

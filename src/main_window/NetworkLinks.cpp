#include "main_window/NetworkLinks.h"

namespace quorvant {

NetworkLinks::NetworkLinks(SetupContext& context) : SetupPart(context) {}

void NetworkLinks::LaadScherm() {}

}  // namespace quorvant

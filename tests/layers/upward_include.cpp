// Built only by the upward_include test, which expects it not to compile: the settings engine
// sees its own headers, not those of the controls above it.
#include "settings/IniAccessor.h"
#include "widgets/LedSpin.h"

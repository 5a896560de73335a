#pragma once

#include <array>

#include "windows/main_window/SetupPart.h"
#include "windows/shared/NewsItems.h"

class QPushButton;

namespace quorvant {

// The captions of the news buttons, from commonsettings.ini [Desc] in the database folder (read
// only; the main window reads the file after server.ini, in its step LaadDesc).
class NewsDescriptions : public SetupPart {
public:
    NewsDescriptions(SetupContext& context, const std::array<QPushButton*, kNewsItems>& buttons);
};

}  // namespace quorvant

#pragma once

#include <QString>
#include <array>

#include "settings/IniAccessor.h"
#include "windows/main_window/SetupPart.h"
#include "windows/shared/NewsItems.h"

class QPushButton;

namespace quorvant {

// Captions of the ten news buttons from commonsettings.ini [Desc] in the database folder.
// Read once per run; this program never writes that file.
class NewsDescriptions : public SetupPart {
public:
    // `buttons`: the news buttons cdmExtNews(0..9) whose captions these are.
    NewsDescriptions(SetupContext& context, const std::array<QPushButton*, kNewsItems>& buttons);
    void LaadDesc();

private:
    const std::array<QPushButton*, kNewsItems>& buttons_;
    IniAccessor iniDesc;
};

}  // namespace quorvant

#pragma once

#include <QString>
#include <array>

#include "windows/main_window/SetupPart.h"
#include "settings/IniAccessor.h"

namespace quorvant {

// Captions of the ten news buttons from commonsettings.ini [Desc] in the database folder.
// Read once per run; this program never writes that file.
class NewsDescriptions : public SetupPart {
public:
    struct Description {
        const char* key;
        int fallbackText;  // text id shown when the key gives no text
    };
    // In button order (cdmExtNews(0..9)).
    static const std::array<Description, 10>& Rows();

    explicit NewsDescriptions(SetupContext& context);
    void LaadDesc();

private:
    IniAccessor iniDesc;
};

}  // namespace quorvant

#include "windows/main_window/NewsDescriptions.h"

#include <QPushButton>

#include "settings/PathChecks.h"
#include "settings/SettingsFiles.h"
#include "text/TextTable.h"

namespace quorvant {

NewsDescriptions::NewsDescriptions(SetupContext& context, const std::array<QPushButton*, kNewsItems>& buttons)
    : SetupPart(context), buttons_(buttons) {}

void NewsDescriptions::LaadDesc() {
    // The database folder as the read pass found it; editing it later does not move this file.
    iniDesc.SetFile(JoinPath(context_.databasePath, kCommonSettingsIni));
    iniDesc.SetSection("Desc");
    for (int item = 0; item < kNewsItems; ++item) {
        iniDesc.SetKey(NewsItems()[item].descriptionKey);
        const QString text = iniDesc.ReadValue();
        // Any text counts as a description, blanks included; only an empty one falls back.
        buttons_[item]->setText(text.isEmpty() ? Text(NewsItems()[item].fallbackText) : text);
    }
}

}  // namespace quorvant

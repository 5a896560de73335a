#include "windows/main_window/NewsDescriptions.h"

#include <QPushButton>

#include "settings/PathChecks.h"
#include "settings/SettingsFiles.h"
#include "text/TextTable.h"
#include "windows/main_window/ExternalNews.h"
#include "windows/main_window/frmSetup.h"

namespace quorvant {

const std::array<NewsDescriptions::Description, 10>& NewsDescriptions::Rows() {
    // Note the order of the fallbacks: national sport (270) comes before regional news (269).
    static const std::array<Description, 10> rows = {{{"NatNews", 268},
                                                      {"NatSport", 270},
                                                      {"RegNews", 269},
                                                      {"RegSport", 271},
                                                      {"Weather", 272},
                                                      {"Item1", 294},
                                                      {"Item2", 295},
                                                      {"Item3", 296},
                                                      {"Item4", 297},
                                                      {"Item5", 298}}};
    return rows;
}

NewsDescriptions::NewsDescriptions(SetupContext& context) : SetupPart(context) {}

void NewsDescriptions::LaadDesc() {
    // The database folder as the read pass found it; editing it later does not move this file.
    iniDesc.SetFile(JoinPath(context_.databasePath, kCommonSettingsIni));
    iniDesc.SetSection("Desc");
    const auto& buttons = context_.window->News().cdmExtNews;
    for (std::size_t i = 0; i < Rows().size(); ++i) {
        iniDesc.SetKey(Rows()[i].key);
        const QString text = iniDesc.ReadValue();
        // Any text counts as a description, blanks included; only an empty one falls back.
        buttons[i]->setText(text.isEmpty() ? Text(Rows()[i].fallbackText) : text);
    }
}

}  // namespace quorvant

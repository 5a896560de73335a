#include "windows/main_window/PlaylistColours.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "binding/ControlRows.h"
#include "schema/Interpret.h"
#include "settings/ValueRules.h"
#include "text/TextTable.h"
#include "widgets/ColourPanel.h"
#include "windows/shared/Controls.h"

namespace quorvant {

namespace {
// Flag 4 of the chooser: only the grid of predefined colours.
constexpr int kChooserFlags = 4;

bool IsBackground(PlaylistColours::Colour colour) { return colour % 2 == 0; }

// Button object names, in the order of PlaylistColours::Colour.
constexpr std::array<const char*, PlaylistColours::kColours> kButtonNames = {
    "cmdMuzBack", "cmdMuzTxt", "cmdJingBack", "cmdJingTxt", "cmdPresBack",  "cmdPresTxt",
    "cmdRecBack", "cmdRecTxt", "cmdTijdBack", "cmdTijdTxt", "cmdEventBack", "cmdEventTxt"};

struct PanelDesign {
    const char* name;
    int captionId;
};
// Panels in the order of the colour pairs.
constexpr std::array<PanelDesign, 6> kPanels = {{{"panMuziek", 177},
                                                 {"panJingle", 178},
                                                 {"panPres", 182},
                                                 {"panReclame", 179},
                                                 {"panTijdsein", 181},
                                                 {"panEvents", 180}}};
}  // namespace

PlaylistColours::PlaylistColours(SetupContext& context) : SetupPart(context) {
    fraColors = Named<QGroupBox>("fraColors");
    auto* grid = new QGridLayout(fraColors);
    std::array<ColourPanel**, 6> panels = {&panMuziek, &panJingle, &panPres, &panReclame, &panTijdsein, &panEvents};
    for (int item = 0; item < 6; ++item) {
        auto* panel = Named<ColourPanel>(kPanels[item].name, fraColors);
        panel->setMinimumSize(320, 30);
        grid->addWidget(panel, item, 0);
        *panels[item] = panel;
        for (int side = 0; side < 2; ++side) {
            const auto colour = static_cast<Colour>(2 * item + side);
            auto* button = Named<QPushButton>(kButtonNames[colour], fraColors);
            QObject::connect(button, &QPushButton::clicked, fraColors, [this, colour] { cmdColour_Click(colour); });
            grid->addWidget(button, item, 1 + side);
            buttons_[colour] = button;
        }
    }
    grid->setColumnStretch(0, 1);
    context_.TabLayout(Tab::Colours)->addWidget(fraColors);
    context_.TabLayout(Tab::Colours)->addStretch(1);

    const std::array<const char*, kColours> keys = {"MusBack", "MusTxt", "JingBack", "JingTxt", "PresBack",  "PresTxt",
                                                    "RecBack", "RecTxt", "TijdBack", "TijdTxt", "EventBack", "EventTxt"};
    for (int index = 0; index < kColours; ++index) {
        const auto colour = static_cast<Colour>(index);
        Add(ColourBinding(ServerKey("Colors", keys[index]), colour).Labelled(buttons_[colour]));
    }
}

// Colour rule into the slot; the panel is painted from the slot even when the conversion fails, so
// a missing key shows the slot's start value, black.
Binding PlaylistColours::ColourBinding(const schema::Key& key, Colour colour) {
    return Bind(
        key, buttons_[colour],
        [this, colour, &key](const QString& text) {
            const schema::Reading reading = schema::Interpret(key, text);
            if (reading.number) colourSlots_[colour] = *reading.number;
            Paint(colour);
            if (reading.outcome == schema::Reading::Refused) throw StepFailed();
        },
        [this, colour]() -> IniValue { return colourSlots_[colour]; });
}

ColourPanel* PlaylistColours::Panel(Colour colour) const {
    const std::array<ColourPanel*, 6> panels = {panMuziek, panJingle, panPres, panReclame, panTijdsein, panEvents};
    return panels[colour / 2];
}

void PlaylistColours::Paint(Colour colour) {
    if (IsBackground(colour))
        Panel(colour)->SetBackColour(colourSlots_[colour]);
    else
        Panel(colour)->SetTextColour(colourSlots_[colour]);
}

void PlaylistColours::LaadScherm() {
    fraColors->setTitle(Text(176));
    for (int item = 0; item < 6; ++item)
        Panel(static_cast<Colour>(2 * item))->SetCaption(Text(kPanels[item].captionId));
}

void PlaylistColours::SetChooserFlags() { context_.services.colours->SetFlags(kChooserFlags); }

void PlaylistColours::cmdColour_Click(Colour colour) {
    // Cancel keeps the item's colour; only a confirmed colour reaches the panel and the slot.
    const std::optional<qint32> chosen = context_.services.colours->Choose(context_.window);
    if (!chosen) return;
    colourSlots_[colour] = *chosen;
    Paint(colour);
}

}  // namespace quorvant

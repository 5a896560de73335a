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

// The six items in the order of the colour pairs: panel, then the background's and the text's
// button and key. A panel's caption is its keys' frame.
struct Item {
    const char* panel;
    std::array<const char*, 2> buttons;
    std::array<const char*, 2> keys;
};
constexpr std::array<Item, 6> kItems = {{{"panMuziek", {"cmdMuzBack", "cmdMuzTxt"}, {"MusBack", "MusTxt"}},
                                         {"panJingle", {"cmdJingBack", "cmdJingTxt"}, {"JingBack", "JingTxt"}},
                                         {"panPres", {"cmdPresBack", "cmdPresTxt"}, {"PresBack", "PresTxt"}},
                                         {"panReclame", {"cmdRecBack", "cmdRecTxt"}, {"RecBack", "RecTxt"}},
                                         {"panTijdsein", {"cmdTijdBack", "cmdTijdTxt"}, {"TijdBack", "TijdTxt"}},
                                         {"panEvents", {"cmdEventBack", "cmdEventTxt"}, {"EventBack", "EventTxt"}}}};
}  // namespace

PlaylistColours::PlaylistColours(SetupContext& context) : SetupPart(context) {
    fraColors = Named<QGroupBox>("fraColors");
    auto* grid = new QGridLayout(fraColors);
    std::array<ColourPanel**, 6> panels = {&panMuziek, &panJingle, &panPres, &panReclame, &panTijdsein, &panEvents};
    for (int item = 0; item < 6; ++item) {
        auto* panel = Named<ColourPanel>(kItems[item].panel, fraColors);
        panel->setMinimumSize(320, 30);
        grid->addWidget(panel, item, 0);
        *panels[item] = panel;
        for (int side = 0; side < 2; ++side) {
            const auto colour = static_cast<Colour>(2 * item + side);
            auto* button = Named<QPushButton>(kItems[item].buttons[side], fraColors);
            QObject::connect(button, &QPushButton::clicked, fraColors, [this, colour] { cmdColour_Click(colour); });
            grid->addWidget(button, item, 1 + side);
            buttons_[colour] = button;
            Add(ColourBinding(ServerKey("Colors", kItems[item].keys[side]), colour).Labelled(button));
        }
    }
    grid->setColumnStretch(0, 1);
    context_.TabLayout(Tab::Colours)->addWidget(fraColors);
    context_.TabLayout(Tab::Colours)->addStretch(1);
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
    for (int item = 0; item < 6; ++item) {
        const schema::Key& background = ServerKey("Colors", kItems[item].keys[0]);
        Panel(static_cast<Colour>(2 * item))->SetCaption(Text(background.caption.group));
    }
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

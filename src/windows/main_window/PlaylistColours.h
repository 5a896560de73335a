#pragma once

#include <array>

#include "windows/main_window/SetupPart.h"

class QGroupBox;
class QPushButton;

namespace quorvant {

class ColourPanel;

// The twelve playlist colours of [Colors] (tab 4): six sample panels, a background and a text
// button for each, and the twelve colour numbers the save writes.
class PlaylistColours : public SetupPart {
public:
    // The colours in the order the read pass takes them.
    enum Colour {
        MusBack,
        MusTxt,
        JingBack,
        JingTxt,
        PresBack,
        PresTxt,
        RecBack,
        RecTxt,
        TijdBack,
        TijdTxt,
        EventBack,
        EventTxt
    };
    static constexpr int kColours = 12;

    explicit PlaylistColours(SetupContext& context);
    void LaadScherm() override;
    // Start-up: the chooser opens without its custom-colour part.
    void SetChooserFlags();
    // One of the twelve colour buttons: a confirmed colour goes to the panel and the slot; Cancel
    // changes nothing.
    void cmdColour_Click(Colour colour);

    qint32 Slot(Colour colour) const { return colourSlots_[colour]; }
    QPushButton* Button(Colour colour) const { return buttons_[colour]; }
    ColourPanel* Panel(Colour colour) const;

    QGroupBox* fraColors = nullptr;
    ColourPanel* panMuziek = nullptr;
    ColourPanel* panJingle = nullptr;
    ColourPanel* panPres = nullptr;
    ColourPanel* panReclame = nullptr;
    ColourPanel* panTijdsein = nullptr;
    ColourPanel* panEvents = nullptr;

private:
    Binding ColourBinding(const schema::Key& key, Colour colour);
    void Paint(Colour colour);

    // Kept outside the panels: the slots are what the save writes. Black until read or chosen.
    std::array<qint32, kColours> colourSlots_{};
    std::array<QPushButton*, kColours> buttons_{};
};

}  // namespace quorvant

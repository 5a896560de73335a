#pragma once

#include <QPointer>
#include <array>

#include "windows/main_window/SetupPart.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace quorvant {

class CardRow;
class LedLabel;
class SpinButton;
class frmMultiJingles;

// Sound cards of the four players and the multi-channel jingle switch (tab 1).
class SoundCards : public SetupPart {
public:
    explicit SoundCards(SetupContext& context);
    ~SoundCards() override;
    void LaadScherm() override;
    // Start-up: asks how many devices there are (the window's facts keep it); each spin runs from -1
    // (default device) to the last device, starting at its card.
    void SetSpinLimits();

    void chkMultiJingle_Toggled(bool on);
    // Opens the jingle cards dialog without blocking; an open one is only brought to the front.
    void cmdMultiJingle_Click();

    // The card number the save writes for a player.
    qint16 Card(int player) const;
    frmMultiJingles* MultiJingles() const;

    std::array<QLabel*, 4> lblKaart{};
    std::array<LedLabel*, 4> ledKaart{};
    std::array<SpinButton*, 4> updKaart{};
    QCheckBox* chkMultiJingle = nullptr;
    QPushButton* cmdMultiJingle = nullptr;

private:

    std::array<CardRow*, 4> rows_{};
    QPointer<frmMultiJingles> multiJingles_;
};

}  // namespace quorvant

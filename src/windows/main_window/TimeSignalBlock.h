#pragma once

#include <QPointer>
#include <array>

#include "windows/main_window/SetupPart.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

namespace quorvant {

class ColourPanel;
class LedSpin;
class frmFloatTime;

// Composition of the block around the hourly time signal (tab 8).
class TimeSignalBlock : public SetupPart {
public:
    explicit TimeSignalBlock(SetupContext& context);
    ~TimeSignalBlock() override;
    void LaadScherm() override;
    // Fills the six slot lists (once, before the read pass); the stored positions index them.
    void VulTijdSeinBlok();
    void cmdVlottendTijdsein_Click();

    // The floating time-signal dialog while it is open.
    frmFloatTime* FloatTime() const;

    // Slots before the time signal (B6-1..B6-3) and after it (B1-1..B1-3).
    QComboBox* cob61 = nullptr;
    QComboBox* cob62 = nullptr;
    QComboBox* cob63 = nullptr;
    QComboBox* cob11 = nullptr;
    QComboBox* cob12 = nullptr;
    QComboBox* cob13 = nullptr;
    QLabel* lblVoorTS = nullptr;
    QLabel* lblNaTS = nullptr;
    // The buddies of cob61..cob63 and cob11..cob13, in that order (not shown).
    std::array<QLabel*, 6> lblPlaats{};
    ColourPanel* panTS = nullptr;
    std::array<QFrame*, 3> Line1{};
    std::array<QFrame*, 3> Line2{};

    LedSpin* ledTMFaderSpeed = nullptr;
    QCheckBox* chkTS_Pre_float = nullptr;
    LedSpin* ledTS_Pre_Float = nullptr;
    QPushButton* cmdVlottendTijdsein = nullptr;

private:
    std::array<QComboBox*, 3> BeforeLists() const { return {cob61, cob62, cob63}; }
    std::array<QComboBox*, 3> AfterLists() const { return {cob11, cob12, cob13}; }

    QPointer<frmFloatTime> floatTime_;
};

}  // namespace quorvant

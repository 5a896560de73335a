#pragma once

#include <array>

#include "windows/main_window/SetupPart.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;

namespace quorvant {

class StateCheckBox;

// General program options of [program]: tab 3, and the remote-control frame fraIR on tab 6.
// No control acts on another; the values only travel between the file and the window.
class ProgramOptions : public SetupPart {
public:
    explicit ProgramOptions(SetupContext& context);
    void LaadScherm() override;

    QGroupBox* fraScreen = nullptr;
    QGroupBox* fraLog = nullptr;
    QGroupBox* fraBoodschap = nullptr;
    QGroupBox* fraStartUp = nullptr;
    QGroupBox* fraAutoLog = nullptr;
    QGroupBox* fraLogTime = nullptr;
    QGroupBox* fraJingles = nullptr;
    QGroupBox* fraServerMode = nullptr;
    QGroupBox* fraScreenPos = nullptr;
    QGroupBox* fraStraksLive = nullptr;
    QGroupBox* fraIR = nullptr;

    std::array<QRadioButton*, 2> optScherm{};
    std::array<QRadioButton*, 2> optSchermPos{};
    std::array<QRadioButton*, 2> optStart{};
    std::array<QRadioButton*, 8> optLogin{};
    std::array<QRadioButton*, 2> optMaster{};
    QCheckBox* chkDebug = nullptr;
    QCheckBox* chkSabam = nullptr;
    QCheckBox* chkBlockStraksLive = nullptr;
    QCheckBox* chkIR = nullptr;
    QCheckBox* chkAutoIR = nullptr;
    StateCheckBox* chkAutoLogin = nullptr;
    StateCheckBox* chkPersJingle = nullptr;
    QLineEdit* txtTekst = nullptr;
    QComboBox* cobNiveau = nullptr;
};

}  // namespace quorvant

#pragma once

#include <QWidget>

#include "windows/dialogs/SettingsDialog.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace quorvant {

class LedSpin;
class StateCheckBox;

// The floating news block, server.ini [Float].
// A separate, non-modal window; the opener keeps one instance and only raises it while it is open.
// It reads [Float] when it is built, writes it and closes on save; closing it otherwise saves nothing.
class frmFloatNews : public SettingsDialog {
    Q_OBJECT

public:
    frmFloatNews(const QString& programFolder, const Services& services, QWidget* parent = nullptr);

    // Writes the twelve keys as one atomic replacement of server.ini and closes the window.
    // On failure tells the user which file and why, and stays open with its values; returns false.
    bool cmdSave_Click();

    StateCheckBox* chkUseFloatNews = nullptr;
    QGroupBox* fraTijd = nullptr;       // the time frame; it has no caption
    QRadioButton* optStart2 = nullptr;  // optStart(2)
    QRadioButton* optStop0 = nullptr;   // optStop(0)
    LedSpin* ledStartMin0 = nullptr;
    QLabel* Label47_0 = nullptr;
    LedSpin* ledStartSec0 = nullptr;
    QLabel* Label48_0 = nullptr;
    QLabel* lblUitvul0 = nullptr;
    LedSpin* ledUitvul0 = nullptr;
    QLabel* lblUitvulSec0 = nullptr;
    QGroupBox* fraFloatHappens0 = nullptr;
    StateCheckBox* chkBlokAuto0 = nullptr;
    QRadioButton* optAutoHard0 = nullptr;
    QRadioButton* optAutoSoft0 = nullptr;
    StateCheckBox* chkBlokLive0 = nullptr;
    QRadioButton* optLiveHard0 = nullptr;
    QRadioButton* optLiveSoft0 = nullptr;
    StateCheckBox* chkFeed1_0 = nullptr;
    StateCheckBox* chkFeed2_0 = nullptr;
    StateCheckBox* chkFeed3_0 = nullptr;
    QPushButton* cmdSave = nullptr;
    IniAccessor& iniCon = ini_;

private:
    void BuildControls();
};

}  // namespace quorvant

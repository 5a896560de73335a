#pragma once

#include <QWidget>

#include "windows/dialogs/SettingsDialog.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace quorvant {

class LedSpin;
class WeekHourGrid;

// The floating time signal: the Automaat and Live sets of [FloatTSauto] and [FloatTSlive].
// A separate, non-modal window; the opener keeps one instance and only raises it while it is open.
// Both sets share the controls; switching sets saves the shown one and then shows the other, and
// cmdStop saves the shown one and closes. Closing it otherwise saves nothing.
class frmFloatTime : public SettingsDialog {
    Q_OBJECT

public:
    frmFloatTime(const QString& programFolder, const Services& services, QWidget* parent = nullptr);

    void LaadScherm();
    // Select the set's section and read its two times; LeesUren then reads the grid from that section.
    void LeesIniAuto();
    void LeesIniLive();
    void LeesUren();
    // Select the set's section and write its two times; BewaarUren then writes the grid there.
    // They only collect writes: the callers wrap them in one save of server.ini.
    void BewaarAuto();
    void BewaarLive();
    void BewaarUren();

    // Saves the shown set as one atomic replacement of server.ini and closes. On failure tells the
    // user which file and why, stays open with its values and returns false.
    bool cmdStop_Click();

    // True while the live set is on screen.
    bool LiveShown() const { return liveShown_; }

    QGroupBox* Frame1 = nullptr;
    QLabel* Label2 = nullptr;
    LedSpin* ledVoor = nullptr;
    QLabel* Label3 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLabel* Label5 = nullptr;
    LedSpin* ledNa = nullptr;
    QLabel* Label4 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QRadioButton* Option1 = nullptr;  // Automaat
    QRadioButton* Option2 = nullptr;  // Live
    QGroupBox* fraUur = nullptr;
    WeekHourGrid* grid = nullptr;  // chkI_MA .. chkI_ZO, lblI_Dag, lblI_Uur
    QPushButton* cmdStop = nullptr;
    IniAccessor& iniCon = ini_;

protected:
    // The shown set and the hours.
    void ReadShown() override;

private:
    void BuildControls();
    void Form_Load();
    void SelectShown(bool live);
    void Option_Toggled(bool live);
    // Writes the shown set as one save; false (after telling the user) when it did not reach the disk.
    bool SaveShown();
    void ReadSet(const QString& section);

    bool liveShown_ = false;
    bool selecting_ = false;  // the program itself is setting the option buttons
};

}  // namespace quorvant

#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

#include "windows/dialogs/SettingsDialog.h"
#include "windows/shared/NewsItems.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvant {

class LedSpin;
class WeekHourGrid;

// Schedule of one news item in news.ini, the one the opener's SelectedNewsItem names.
// A separate, non-modal window; the opener keeps one instance and only raises it while it is open.
class frmIntNews : public SettingsDialog {
    Q_OBJECT

public:
    // `SelectedNewsItem`: the news button pressed last (0..9). `itemCaption` gives the current
    // caption of the opener's button for an item; it becomes the title. Loads at once (Form_Load).
    frmIntNews(const QString& programFolder, const Services& services, int SelectedNewsItem, QWidget* parent = nullptr,
               std::function<QString(int item)> itemCaption = {});

    // Writes the item's section as one replacement of news.ini and stays open. False (after
    // telling the user) when nothing was written.
    bool cmdSave_Click();
    // Leaves without saving.
    void cmdStop_Click();
    void cmdFloat_Click();
    // Opens the floating news (one for the whole program) or brings it to the front.
    static SettingsDialog* ShowFloatNews(const QString& programFolder, const Services& services, QWidget* owner);
    // The floating news while it is open, else null.
    static SettingsDialog* FloatNewsShown();

    // The item this dialog was loaded for; -1 when SelectedNewsItem was not an item.
    int Item() const { return item_; }
    QWidget* FloatNews() const { return floatNews_; }

    QGroupBox* fraMain = nullptr;
    QLabel* lblFile = nullptr;
    QLineEdit* txtNewsFile = nullptr;
    QLabel* lblMax = nullptr;
    LedSpin* ledNewsOld = nullptr;
    QLabel* lblUur = nullptr;
    QLabel* lblMix = nullptr;
    LedSpin* ledMix = nullptr;
    QCheckBox* chkAutoRotate = nullptr;
    QPushButton* cmdFloat = nullptr;
    QGroupBox* fraUur = nullptr;
    WeekHourGrid* grid = nullptr;  // chkI_MA..chkI_ZO, lblI_Dag, lblI_Uur
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdStop = nullptr;
    IniAccessor& iniNews = ini_;

private:
    void BuildControls();
    void LaadScherm();
    void Form_Load(int SelectedNewsItem);

    std::function<QString(int)> itemCaption_;
    int item_ = -1;
    QPointer<QWidget> floatNews_;
};

}  // namespace quorvant

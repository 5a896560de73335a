#pragma once

#include <QPointer>
#include <array>

#include "windows/main_window/SetupPart.h"
#include "windows/shared/NewsItems.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvant {

class LedSpin;
class StateCheckBox;
class WeekHourGrid;
class FileLocations;
class frmIntNews;

// External news [ExtNews] (tab 10), the news folder of news.ini and the news buttons (tab 12).
class ExternalNews : public SetupPart {
public:
    // `files` does the browsing of the news folder's button.
    ExternalNews(SetupContext& context, FileLocations& files);
    void LaadScherm() override;

    // Opens the schedule of news item `index`, or only raises the schedule that is already open.
    void cdmExtNews_Click(int index);
    // The open schedule dialog, null when none is open.
    frmIntNews* IntNews() const;

    // Tab 10
    StateCheckBox* chkUseExtNews = nullptr;
    QGroupBox* fraExtNewsAlg = nullptr;
    QLabel* lblNewsFeed = nullptr;
    QComboBox* cobNewsFeed = nullptr;
    LedSpin* ledMinNews = nullptr;
    LedSpin* ledNewsTimeOut = nullptr;
    StateCheckBox* chkStopMode = nullptr;
    QGroupBox* fraExtNewsShed = nullptr;
    WeekHourGrid* grid = nullptr;  // chkMA..chkZO, lblDag, Label35

    // Tab 12
    QLabel* lblNewsLoc = nullptr;
    QLineEdit* txtNews = nullptr;
    QPushButton* cmdPath3 = nullptr;  // cmdPath(3); its browsing belongs to FileLocations
    std::array<QPushButton*, kNewsItems> cdmExtNews{};
    // The news button pressed last (0..9); the schedule dialog opens on it.
    qint16 SelectedNewsItem = 0;

private:
    void BuildExternalNewsPage();
    void BuildInternalNewsPage(FileLocations& files);

    QPointer<frmIntNews> intNews_;
};

}  // namespace quorvant

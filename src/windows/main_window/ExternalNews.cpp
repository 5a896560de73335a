#include "windows/main_window/ExternalNews.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/PathChecks.h"
#include "settings/SettingsFiles.h"
#include "text/TextTable.h"
#include "widgets/LedSpin.h"
#include "widgets/StateCheckBox.h"
#include "widgets/WeekHourGrid.h"
#include "windows/dialogs/frmIntNews.h"
#include "windows/main_window/FileLocations.h"
#include "windows/shared/Controls.h"
#include "windows/shared/DialogWindow.h"

namespace quorvant {

ExternalNews::ExternalNews(SetupContext& context, FileLocations& files) : SetupPart(context) {
    BuildExternalNewsPage();
    BuildInternalNewsPage(files);

    const auto key = [](const char* name) -> const schema::Key& { return ServerKey("ExtNews", name); };
    Add(Bind(key("UseExtNews"), chkUseExtNews).Labelled(chkUseExtNews));
    Add(Bind(key("NewsFeed"), cobNewsFeed).Labelled(lblNewsFeed));
    Add(Bind(key("StopMode"), chkStopMode).Labelled(chkStopMode));
    for (int day = 0; day < WeekHourGrid::kDays; ++day)
        Add(Bind(ServerKey("ExtNews", WeekHourGrid::DayKeys()[day]), grid, day));

    Add(Bind(schema::Find(schema::File::News, QStringLiteral("Blokken"), QStringLiteral("BlokkenPath")), txtNews)
            .Labelled(lblNewsLoc));
}

void ExternalNews::BuildExternalNewsPage() {
    QVBoxLayout* page = context_.TabLayout(Tab::ExternalNews);

    chkUseExtNews = Named<StateCheckBox>("chkUseExtNews");
    page->addWidget(chkUseExtNews);

    fraExtNewsAlg = Named<QGroupBox>("fraExtNewsAlg");
    FieldRows rows(fraExtNewsAlg, context_.bindings);
    lblNewsFeed = Named<QLabel>("lblNewsFeed", fraExtNewsAlg);
    cobNewsFeed = Named<QComboBox>("cobNewsFeed", fraExtNewsAlg);
    cobNewsFeed->addItems({"Feed 1", "Feed 2", "Feed 3"});
    // Adding items selects the first one; the list starts without a selection.
    cobNewsFeed->setCurrentIndex(-1);
    rows.Row(lblNewsFeed, cobNewsFeed);
    ledMinNews =
        rows.Bound<LedSpin>("ledMinNews", "lblMinNewsLengte", ServerKey("ExtNews", "MinNews"), "lblNewsSec(0)");
    ledNewsTimeOut =
        rows.Bound<LedSpin>("ledNewsTimeOut", "lblMaxNewsLengte", ServerKey("ExtNews", "TimeOut"), "lblNewsSec(1)");
    qobject_cast<QLabel*>(context_.bindings.Of(ledNewsTimeOut)->label)->setWordWrap(true);
    chkStopMode = Named<StateCheckBox>("chkStopMode", QString(), fraExtNewsAlg);
    rows.Row(chkStopMode);
    rows.Grid()->setColumnStretch(3, 1);
    rows.Grid()->setColumnMinimumWidth(0, 360);
    page->addWidget(fraExtNewsAlg);

    fraExtNewsShed = Named<QGroupBox>("fraExtNewsShed");
    auto* schedule = new QVBoxLayout(fraExtNewsShed);
    grid = new WeekHourGrid({"chkMA", "chkDI", "chkWO", "chkDO", "chkVR", "chkZA", "chkZO"}, "lblDag", "Label35",
                            fraExtNewsShed);
    schedule->addWidget(grid, 0, Qt::AlignLeft);
    page->addWidget(fraExtNewsShed);
    page->addStretch(1);
}

void ExternalNews::BuildInternalNewsPage(FileLocations& files) {
    QVBoxLayout* page = context_.TabLayout(Tab::InternalNews);

    auto* location = new QGridLayout;
    lblNewsLoc = Named<QLabel>("lblNewsLoc");
    txtNews = Named<QLineEdit>("txtNews");
    lblNewsLoc->setBuddy(txtNews);
    cmdPath3 = new QPushButton("...");
    cmdPath3->setMaximumWidth(40);
    // The browse button works like the other folder buttons of tab 0.
    files.AttachNewsPath(cmdPath3, txtNews);
    location->addWidget(lblNewsLoc, 0, 0, 1, 2);
    location->addWidget(txtNews, 1, 0);
    location->addWidget(cmdPath3, 1, 1);
    location->setColumnStretch(0, 1);
    page->addLayout(location);
    page->addSpacing(16);

    // National and regional items on the left, the free items on the right.
    auto* buttons = new QGridLayout;
    for (int i = 0; i < kNewsItems; ++i) {
        auto* button = Named<QPushButton>(QString("cdmExtNews(%1)").arg(i));
        QFont font = button->font();
        font.setBold(true);
        button->setFont(font);
        button->setMinimumSize(260, 36);
        QObject::connect(button, &QPushButton::clicked, button, [this, i] { cdmExtNews_Click(i); });
        cdmExtNews[i] = button;
        buttons->addWidget(button, i % 5, i / 5);
    }
    buttons->setColumnStretch(2, 1);
    page->addLayout(buttons);
    page->addStretch(1);
}

void ExternalNews::LaadScherm() {
    fraExtNewsAlg->setTitle(Text(244));
    fraExtNewsShed->setTitle(Text(236));
    grid->SetDayCaptions({Text(237), Text(238), Text(239), Text(240), Text(241), Text(242), Text(243)});

    // Runs after FileLocations, which gave every browse button its general tool tip.
    cmdPath3->setToolTip(Text(267));
    cmdPath3->setAccessibleName(QString("%1: %2").arg(lblNewsLoc->text(), Text(125)));
}

frmIntNews* ExternalNews::IntNews() const { return intNews_.data(); }

void ExternalNews::cdmExtNews_Click(int index) {
    if (index < 0 || index >= kNewsItems) return;
    SelectedNewsItem = static_cast<qint16>(index);
    // An open dialog keeps its item. A new one is handed SelectedNewsItem and takes its title from
    // that button.
    ShowOrRaise(intNews_, [this] {
        return new frmIntNews(context_.programFolder, context_.services, SelectedNewsItem, context_.window,
                              [this](int item) { return cdmExtNews[item]->text(); });
    });
}

}  // namespace quorvant

#include "windows/dialogs/frmFloatNews.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "binding/ControlRows.h"
#include "text/Messages.h"
#include "widgets/Icons.h"
#include "widgets/LedSpin.h"
#include "widgets/StateCheckBox.h"
#include "windows/shared/Controls.h"
#include "windows/shared/StatusLine.h"
#include "windows/shared/WindowButtons.h"

namespace quorvant {

namespace {

QRadioButton* MakeRadio(const QString& caption, const QString& name, const QString& accessibleName, QWidget* parent) {
    auto* button = Named<QRadioButton>(name, caption, parent);
    if (!accessibleName.isEmpty()) button->setAccessibleName(accessibleName);
    return button;
}

LedSpin* MakeSpin(const QString& name, const QString& accessibleName, QWidget* parent) {
    auto* spin = Named<LedSpin>(name, parent);
    spin->setAccessibleName(accessibleName);
    return spin;
}

// A captionless group of a situation's check box (its caption is its key's) over its Hard/Zacht pair
// (one exclusive group).
struct HardSoftGroup {
    QGroupBox* frame;
    StateCheckBox* check;
    QRadioButton* hard;
    QRadioButton* soft;
};

HardSoftGroup MakeHardSoftGroup(const QString& situation, const QString& frameName, const QString& checkName,
                                const QString& hardName, const QString& softName, QWidget* parent, QObject* owner) {
    QGroupBox* frame = Named<QGroupBox>(frameName, parent);
    auto* layout = new QVBoxLayout(frame);
    HardSoftGroup group{frame, Named<StateCheckBox>(checkName, QString(), frame),
                        MakeRadio(msg::HardCaption(), hardName, msg::HardName(situation), frame),
                        MakeRadio(msg::SoftCaption(), softName, msg::SoftName(situation), frame)};
    layout->addWidget(group.check);
    layout->addWidget(group.hard);
    layout->addWidget(group.soft);
    layout->addStretch(1);
    auto* pair = new QButtonGroup(owner);
    pair->addButton(group.hard);
    pair->addButton(group.soft);
    return group;
}

}  // namespace

frmFloatNews::frmFloatNews(const QString& programFolder, const Services& services, QWidget* parent)
    : SettingsDialog(programFolder, services, schema::File::Server, schema::Window::FloatNews, parent) {
    setObjectName("frmFloatNews");
    // Its captions are fixed Dutch texts, not taken from the language file.
    setWindowTitle(msg::FloatNewsCaption());
    BuildControls();

    // The keys of [Float], each read as its own step: a value that does not convert or is refused
    // leaves its control as it was, and the load goes on. The boxes' captions are the keys'.
    Add(Bind(Key("B6AutoStart"), chkUseFloatNews).Labelled(chkUseFloatNews));
    Add(Bind(Key("B6Start"), optStart2).Labelled(optStart2));
    Add(Bind(Key("B6Min"), ledStartMin0));
    Add(Bind(Key("B6Sec"), ledStartSec0));
    Add(Bind(Key("B6Auto"), chkBlokAuto0).Labelled(chkBlokAuto0));
    Add(Bind(Key("B6AutoHard"), optAutoHard0));
    Add(Bind(Key("B6live"), chkBlokLive0).Labelled(chkBlokLive0));
    Add(Bind(Key("B6LiveHard"), optLiveHard0));
    Add(Bind(Key("B6feed"), chkFeed1_0).Labelled(chkFeed1_0));
    Add(Bind(Key("B6feed2"), chkFeed2_0).Labelled(chkFeed2_0));
    Add(Bind(Key("B6feed3"), chkFeed3_0).Labelled(chkFeed3_0));
    Add(Bind(Key("B6len"), ledUitvul0).Labelled(nullptr, lblUitvulSec0));
    KeyBindings().ApplyCaptions();

    ReadKeys();
    AddStatus(cmdSave, {cmdSave});
}

void frmFloatNews::BuildControls() {
    auto* layout = new QVBoxLayout(this);

    chkUseFloatNews = Named<StateCheckBox>("chkUseFloatNews", QString(), this);
    layout->addWidget(chkUseFloatNews);

    // Time frame: "Start op" / "Eindigt op" over minute, second and fill length.
    fraTijd = Named<QGroupBox>("fraTijd", this);
    auto* timeLayout = new QVBoxLayout(fraTijd);
    auto* choice = new QHBoxLayout;
    optStart2 = MakeRadio(QString(), "optStart(2)", QString(), fraTijd);
    optStop0 = MakeRadio(msg::EndsAtCaption(), "optStop(0)", QString(), fraTijd);
    choice->addWidget(optStart2);
    choice->addWidget(optStop0);
    choice->addStretch(1);
    timeLayout->addLayout(choice);
    auto* startOrStop = new QButtonGroup(this);
    startOrStop->addButton(optStart2);
    startOrStop->addButton(optStop0);

    auto* time = new QHBoxLayout;
    ledStartMin0 = MakeSpin("ledStartMin(0)", msg::MinutesName(), fraTijd);
    Label47_0 = Named<QLabel>("Label47(0)", "'", fraTijd);
    ledStartSec0 = MakeSpin("ledStartSec(0)", msg::SecondsName(), fraTijd);
    Label48_0 = Named<QLabel>("Label48(0)", "''", fraTijd);
    lblUitvul0 = Named<QLabel>("lblUitvul(0)", msg::FillUpToCaption(), fraTijd);
    ledUitvul0 = MakeSpin("ledUitvul(0)", msg::FillUpToName(), fraTijd);
    lblUitvulSec0 = Named<QLabel>("lblUitvulSec(0)", fraTijd);
    lblUitvul0->setBuddy(ledUitvul0);
    time->addWidget(ledStartMin0);
    time->addWidget(Label47_0);
    time->addSpacing(6);
    time->addWidget(ledStartSec0);
    time->addWidget(Label48_0);
    time->addSpacing(24);
    time->addWidget(lblUitvul0);
    time->addWidget(ledUitvul0);
    time->addWidget(lblUitvulSec0);
    time->addStretch(1);
    timeLayout->addLayout(time);
    layout->addWidget(fraTijd);

    // Where the floating news takes place: three groups side by side.
    fraFloatHappens0 = Named<QGroupBox>("fraFloatHappens(0)", msg::HappensInCaption(), this);
    auto* happens = new QHBoxLayout(fraFloatHappens0);

    const HardSoftGroup automation = MakeHardSoftGroup(msg::AutomationCaption(), "fraBlokAuto", "chkBlokAuto(0)",
                                                       "optAutoHard(0)", "optAutoSoft(0)", fraFloatHappens0, this);
    chkBlokAuto0 = automation.check;
    optAutoHard0 = automation.hard;
    optAutoSoft0 = automation.soft;
    const HardSoftGroup live = MakeHardSoftGroup(msg::LiveCaption(), "fraBlokLive", "chkBlokLive(0)", "optLiveHard(0)",
                                                 "optLiveSoft(0)", fraFloatHappens0, this);
    chkBlokLive0 = live.check;
    optLiveHard0 = live.hard;
    optLiveSoft0 = live.soft;

    QGroupBox* feedFrame = Named<QGroupBox>("fraFeeds", fraFloatHappens0);
    auto* feedLayout = new QVBoxLayout(feedFrame);
    chkFeed1_0 = Named<StateCheckBox>("chkFeed1(0)", QString(), feedFrame);
    chkFeed2_0 = Named<StateCheckBox>("chkFeed2(0)", QString(), feedFrame);
    chkFeed3_0 = Named<StateCheckBox>("chkFeed3(0)", QString(), feedFrame);
    feedLayout->addWidget(chkFeed1_0);
    feedLayout->addWidget(chkFeed2_0);
    feedLayout->addWidget(chkFeed3_0);
    feedLayout->addStretch(1);

    happens->addWidget(automation.frame);
    happens->addWidget(live.frame);
    happens->addWidget(feedFrame);
    layout->addWidget(fraFloatHappens0);

    // Picture button without caption: the tool tip and accessible name say what it does.
    cmdSave = AddOnlyButton(layout, "cmdSave", IconResource(103), msg::SaveChangesCaption(), this);
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
}

bool frmFloatNews::cmdSave_Click() {
    if (!SaveKeys()) return false;
    close();
    return true;
}

}  // namespace quorvant

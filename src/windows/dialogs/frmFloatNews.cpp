#include "windows/dialogs/frmFloatNews.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "binding/ControlRows.h"
#include "settings/PathChecks.h"
#include "settings/SettingsFiles.h"
#include "text/Messages.h"
#include "widgets/Icons.h"
#include "widgets/LedSpin.h"
#include "widgets/StateCheckBox.h"
#include "windows/shared/DialogSupport.h"
#include "windows/shared/StatusLine.h"

namespace quorvant {

namespace {

// One-means-on into the named button of an exclusive pair. 1 selects it (its partner clears);
// any other number or a word clears it and leaves the partner alone, so neither is selected.
// An empty text changes nothing. Written 1 when the named button is selected, else 0.
KeyRow NamedButtonRow(const QString& key, QRadioButton* named) {
    return Row(
        key,
        [=](const QString& text) {
            if (text.isEmpty()) return;
            if (OneMeansOn(text))
                named->setChecked(true);
            else
                ClearRadio(named);
        },
        [=]() -> IniValue { return static_cast<qint16>(named->isChecked() ? 1 : 0); });
}

QRadioButton* MakeRadio(const QString& caption, const QString& name, const QString& accessibleName, QWidget* parent) {
    auto* button = Named<QRadioButton>(name, caption, parent);
    if (!accessibleName.isEmpty()) button->setAccessibleName(accessibleName);
    return button;
}

LedSpin* MakeSpin(const QString& name, const QString& accessibleName, int digits, qint32 highest, QWidget* parent) {
    auto* spin = Named<LedSpin>(name, parent);
    spin->Configure(digits, 0, highest, 1, 0, true);
    spin->setAccessibleName(accessibleName);
    return spin;
}

// A captionless group of a situation's check box over its Hard/Zacht pair (one exclusive group).
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
    HardSoftGroup group{frame, Named<StateCheckBox>(checkName, situation, frame),
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
    : DialogWindow(parent), programFolder_(programFolder), services_(services) {
    setObjectName("frmFloatNews");
    // Its captions are fixed Dutch texts, not taken from the language file.
    setWindowTitle(msg::FloatNewsCaption());
    BuildControls();

    // The keys of [Float] in the order they are read and written. The mixed case of the names
    // (B6live, B6feed, B6LiveHard) is what the server expects.
    table_ = {"Float",
              {
                  CheckStateRow("B6AutoStart", chkUseFloatNews, false),
                  NamedButtonRow("B6Start", optStart2),
                  WholeNumberRow("B6Min", ledStartMin0),
                  WholeNumberRow("B6Sec", ledStartSec0),
                  CheckStateRow("B6Auto", chkBlokAuto0, false),
                  NamedButtonRow("B6AutoHard", optAutoHard0),
                  CheckStateRow("B6live", chkBlokLive0, false),
                  NamedButtonRow("B6LiveHard", optLiveHard0),
                  CheckStateRow("B6feed", chkFeed1_0, false),
                  CheckStateRow("B6feed2", chkFeed2_0, false),
                  CheckStateRow("B6feed3", chkFeed3_0, false),
                  WholeNumberRow("B6len", ledUitvul0),
              }};

    Form_Load();
    statusLine = AddStatusLine(this, [this] { return PendingValues(kServerIni, table_); }, cmdSave, {cmdSave});
}

void frmFloatNews::BuildControls() {
    auto* layout = new QVBoxLayout(this);

    chkUseFloatNews = Named<StateCheckBox>("chkUseFloatNews", msg::UseFloatNewsCaption(), this);
    layout->addWidget(chkUseFloatNews);

    // Time frame: "Start op" / "Eindigt op" over minute, second and fill length.
    fraTijd = Named<QGroupBox>("fraTijd", this);
    auto* timeLayout = new QVBoxLayout(fraTijd);
    auto* choice = new QHBoxLayout;
    optStart2 = MakeRadio(msg::StartAtCaption(), "optStart(2)", QString(), fraTijd);
    optStop0 = MakeRadio(msg::EndsAtCaption(), "optStop(0)", QString(), fraTijd);
    choice->addWidget(optStart2);
    choice->addWidget(optStop0);
    choice->addStretch(1);
    timeLayout->addLayout(choice);
    auto* startOrStop = new QButtonGroup(this);
    startOrStop->addButton(optStart2);
    startOrStop->addButton(optStop0);

    auto* time = new QHBoxLayout;
    ledStartMin0 = MakeSpin("ledStartMin(0)", msg::MinutesName(), 2, 59, fraTijd);
    Label47_0 = Named<QLabel>("Label47(0)", "'", fraTijd);
    ledStartSec0 = MakeSpin("ledStartSec(0)", msg::SecondsName(), 2, 59, fraTijd);
    Label48_0 = Named<QLabel>("Label48(0)", "''", fraTijd);
    lblUitvul0 = Named<QLabel>("lblUitvul(0)", msg::FillUpToCaption(), fraTijd);
    ledUitvul0 = MakeSpin("ledUitvul(0)", msg::FillUpToName(), 3, 999, fraTijd);
    lblUitvulSec0 = Named<QLabel>("lblUitvulSec(0)", msg::SecondsUnit(), fraTijd);
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
    chkFeed1_0 = Named<StateCheckBox>("chkFeed1(0)", msg::FeedCaption(1), feedFrame);
    chkFeed2_0 = Named<StateCheckBox>("chkFeed2(0)", msg::FeedCaption(2), feedFrame);
    chkFeed3_0 = Named<StateCheckBox>("chkFeed3(0)", msg::FeedCaption(3), feedFrame);
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

void frmFloatNews::Form_Load() {
    // Each key is its own step: a value that does not convert or is refused leaves its control
    // as it was, and the load goes on.
    iniCon.SetFile(JoinPath(programFolder_, kServerIni));
    iniCon.SetSection(table_.section);
    ReadRows(iniCon, table_);
}

bool frmFloatNews::cmdSave_Click() {
    // File and section are selected again: the load's selection is not relied on.
    iniCon.SetFile(JoinPath(programFolder_, kServerIni));
    if (!SaveOrReport(this, *services_.errors, iniCon, [this] { WriteSection(iniCon, table_); })) return false;
    close();
    return true;
}

}  // namespace quorvant

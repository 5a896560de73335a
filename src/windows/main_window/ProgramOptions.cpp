#include "windows/main_window/ProgramOptions.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "binding/ControlRows.h"
#include "text/Messages.h"
#include "text/TextTable.h"
#include "widgets/StateCheckBox.h"
#include "windows/shared/Controls.h"

namespace quorvant {

namespace {

// The option buttons of one frame form one exclusive group. None is selected by the design: the
// read pass selects one (or, for a refused server mode, none).
template <std::size_t N>
QButtonGroup* AddOptions(QGroupBox* frame, const char* name, std::array<QRadioButton*, N>& buttons, int columns) {
    auto* grid = new QGridLayout(frame);
    auto* group = new QButtonGroup(frame);
    for (std::size_t i = 0; i < N; ++i) {
        auto* button = Named<QRadioButton>(QString("%1(%2)").arg(name).arg(i), frame);
        group->addButton(button, int(i));
        grid->addWidget(button, int(i) / columns, int(i) % columns);
        buttons[i] = button;
    }
    return group;
}

QCheckBox* AddCheck(QCheckBox* box, const char* name, QLayout* layout) {
    box->setObjectName(name);
    layout->addWidget(box);
    return box;
}

}  // namespace

ProgramOptions::ProgramOptions(SetupContext& context) : SetupPart(context) {
    fraScreen = Named<QGroupBox>("fraScreen");
    AddOptions(fraScreen, "optScherm", optScherm, 2);
    fraScreenPos = Named<QGroupBox>("fraScreenPos");
    AddOptions(fraScreenPos, "optSchermPos", optSchermPos, 2);
    fraStartUp = Named<QGroupBox>("fraStartUp");
    AddOptions(fraStartUp, "optStart", optStart, 2);
    fraServerMode = Named<QGroupBox>("fraServerMode");
    QButtonGroup* serverMode = AddOptions(fraServerMode, "optMaster", optMaster, 2);
    fraLogTime = Named<QGroupBox>("fraLogTime");
    QButtonGroup* login = AddOptions(fraLogTime, "optLogin", optLogin, 4);

    fraLog = Named<QGroupBox>("fraLog");
    auto* logLayout = new QVBoxLayout(fraLog);
    chkDebug = AddCheck(new QCheckBox(fraLog), "chkDebug", logLayout);
    chkSabam = AddCheck(new QCheckBox(fraLog), "chkSabam", logLayout);

    fraStraksLive = Named<QGroupBox>("fraStraksLive");
    auto* straksLayout = new QVBoxLayout(fraStraksLive);
    chkBlockStraksLive = AddCheck(new QCheckBox(fraStraksLive), "chkBlockStraksLive", straksLayout);

    fraAutoLog = Named<QGroupBox>("fraAutoLog");
    auto* autoLayout = new QHBoxLayout(fraAutoLog);
    chkAutoLogin = static_cast<StateCheckBox*>(AddCheck(new StateCheckBox({}, fraAutoLog), "chkAutoLogin", autoLayout));
    cobNiveau = Named<QComboBox>("cobNiveau", fraAutoLog);
    cobNiveau->addItems({"DJ-1", "DJ-2", "DJ-3", "BOSS"});
    // Adding items selects the first; the list starts without a selection (a save then writes -1).
    cobNiveau->setCurrentIndex(-1);
    autoLayout->addWidget(cobNiveau);
    autoLayout->addStretch(1);

    fraBoodschap = Named<QGroupBox>("fraBoodschap");
    auto* messageLayout = new QVBoxLayout(fraBoodschap);
    txtTekst = Named<QLineEdit>("txtTekst", QStringLiteral("VALDOR SERVER"), fraBoodschap);
    messageLayout->addWidget(txtTekst);

    fraJingles = Named<QGroupBox>("fraJingles");
    auto* jingleLayout = new QVBoxLayout(fraJingles);
    chkPersJingle =
        static_cast<StateCheckBox*>(AddCheck(new StateCheckBox({}, fraJingles), "chkPersJingle", jingleLayout));

    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(fraScreen, 0, 0);
    grid->addWidget(fraScreenPos, 0, 1);
    grid->addWidget(fraStartUp, 0, 2);
    grid->addWidget(fraServerMode, 1, 0);
    grid->addWidget(fraLog, 1, 1);
    // The captionless frame starts where the other frames' boxes start, below their captions.
    auto* straksHolder = new QWidget;
    auto* holderLayout = new QVBoxLayout(straksHolder);
    holderLayout->setContentsMargins(0, fraStraksLive->fontMetrics().height(), 0, 0);
    holderLayout->addWidget(fraStraksLive);
    grid->addWidget(straksHolder, 1, 2);
    grid->addWidget(fraLogTime, 2, 0, 1, 2);
    grid->addWidget(fraAutoLog, 2, 2);
    grid->addWidget(fraBoodschap, 3, 0, 1, 3);
    grid->addWidget(fraJingles, 4, 0, 1, 3);
    for (int column = 0; column < 3; ++column) grid->setColumnStretch(column, 1);
    context_.TabLayout(Tab::Miscellaneous)->addWidget(page);
    context_.TabLayout(Tab::Miscellaneous)->addStretch(1);

    // The I/O page is shared with the I/O and watchdog links, which follow this frame and end the page.
    fraIR = Named<QGroupBox>("fraIR");
    auto* irLayout = new QVBoxLayout(fraIR);
    chkIR = AddCheck(new QCheckBox(fraIR), "chkIR", irLayout);
    chkAutoIR = AddCheck(new QCheckBox(fraIR), "chkAutoIR", irLayout);
    context_.TabLayout(Tab::IoInterface)->addWidget(fraIR);

    const auto key = [](const char* name) -> const schema::Key& { return ServerKey("program", name); };
    Add(Bind(key("Debugger"), chkDebug).Labelled(chkDebug));
    Add(Bind(key("BlockLive"), chkBlockStraksLive).Labelled(chkBlockStraksLive));
    Add(Bind(key("Sabam"), chkSabam).Labelled(chkSabam));
    Add(Bind(key("Mes1"), txtTekst).Labelled(fraBoodschap));
    Add(Bind(key("Dual"), optScherm[0], optScherm[1]).Labelled(fraScreen));
    Add(Bind(key("ScreenPos"), optSchermPos[0], optSchermPos[1]).Labelled(fraScreenPos));
    Add(Bind(key("StartUp"), optStart[0], optStart[1]).Labelled(fraStartUp));
    Add(Bind(key("IR"), chkIR).Labelled(chkIR));
    Add(Bind(key("AutoIR"), chkAutoIR).Labelled(chkAutoIR));
    Add(Bind(key("Login"), login).Labelled(fraLogTime));
    Add(Bind(key("AutoLogin"), chkAutoLogin).Labelled(chkAutoLogin));
    Add(Bind(key("LoginLevel"), cobNiveau));
    Add(Bind(key("PersJingle"), chkPersJingle).Labelled(chkPersJingle));
    Add(Bind(key("Slave"), serverMode).Labelled(fraServerMode));
}

void ProgramOptions::LaadScherm() {
    fraLog->setTitle(Text(151));
    fraAutoLog->setTitle(Text(154));
    fraJingles->setTitle(Text(156));
    fraIR->setTitle(Text(208));

    optScherm[0]->setText(Text(158));
    optScherm[1]->setText(Text(159));
    optSchermPos[0]->setText(Text(285));
    optSchermPos[1]->setText(Text(286));
    optStart[0]->setText(Text(162));
    optStart[1]->setText(Text(163));
    optMaster[0]->setText(Text(174));
    optMaster[1]->setText(Text(175));
    for (int n = 0; n < int(optLogin.size()); ++n) optLogin[n]->setText(Text(165 + n));

    // Neither box has a label of its own: the level completes "log in automatically as ...", and the
    // message box is the whole of its frame.
    cobNiveau->setAccessibleName(msg::LoginLevelName(chkAutoLogin->text()));
    txtTekst->setAccessibleName(fraBoodschap->title());
    // The frame has no caption of its own; it is named after its one check box.
    fraStraksLive->setAccessibleName(chkBlockStraksLive->text());
}

}  // namespace quorvant

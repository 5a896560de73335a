#include "windows/main_window/SoundCards.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "binding/ControlRows.h"
#include "text/Messages.h"
#include "text/TextTable.h"
#include "widgets/LedLabel.h"
#include "widgets/SpinButton.h"
#include "windows/dialogs/frmMultiJingles.h"
#include "windows/shared/CardRow.h"
#include "windows/shared/Controls.h"
#include "windows/shared/DialogWindow.h"

namespace quorvant {

SoundCards::SoundCards(SetupContext& context) : SetupPart(context) {
    auto* frame = Named<QWidget>("fraKaarten");
    auto* grid = new QGridLayout(frame);
    for (int player = 0; player < 4; ++player) {
        // The designer caption stays until the text table gives one; a fresh window holds card 0.
        rows_[player] =
            new CardRow(player, "lblKaart", msg::PlayerCaption(player), 0, *context_.services.waveOut, grid, frame);
        lblKaart[player] = rows_[player]->label;
        ledKaart[player] = rows_[player]->led;
        updKaart[player] = rows_[player]->spin;
    }
    chkMultiJingle = Named<QCheckBox>("chkMultiJingle", frame);
    cmdMultiJingle = Named<QPushButton>("cmdMultiJingle", msg::MultiJingleButtonCaption(), frame);
    cmdMultiJingle->setEnabled(false);
    QObject::connect(chkMultiJingle, &QCheckBox::toggled, frame, [this](bool on) { chkMultiJingle_Toggled(on); });
    QObject::connect(cmdMultiJingle, &QPushButton::clicked, frame, [this] { cmdMultiJingle_Click(); });
    auto* jingles = new QHBoxLayout;
    jingles->addWidget(chkMultiJingle);
    jingles->addWidget(cmdMultiJingle);
    jingles->addStretch(1);
    grid->setRowMinimumHeight(4, 12);
    grid->addLayout(jingles, 5, 0, 1, 4);
    grid->setColumnStretch(3, 1);
    context_.TabLayout(Tab::SoundCards)->addWidget(frame);
    context_.TabLayout(Tab::SoundCards)->addStretch(1);

    Add(Bind(ServerKey("AudioPlayers", "MultiJingle"), chkMultiJingle).Labelled(chkMultiJingle));
    const std::array<const char*, 4> cardKeys = {"Player_Auto_card", "Player_Jingles_card", "Player_A_card",
                                                 "Player_B_card"};
    for (int player = 0; player < 4; ++player)
        Add(rows_[player]->Bind(ServerKey("AudioPlayers", cardKeys[player])).Labelled(lblKaart[player]));
}

SoundCards::~SoundCards() = default;

frmMultiJingles* SoundCards::MultiJingles() const { return multiJingles_; }

qint16 SoundCards::Card(int player) const { return rows_.at(player)->Card(); }

void SoundCards::LaadScherm() {
    for (CardRow* row : rows_) row->SetNames(msg::PlayerCardSpinName, msg::PlayerCardDisplayName);
    cmdMultiJingle->setText(Text(307));
}

void SoundCards::SetSpinLimits() {
    context_.facts.soundDevices = context_.services.waveOut->DeviceCount();
    for (CardRow* row : rows_) row->StartSpin(*context_.facts.soundDevices - 1);
}

void SoundCards::chkMultiJingle_Toggled(bool on) { cmdMultiJingle->setEnabled(on); }

void SoundCards::cmdMultiJingle_Click() {
    ShowOrRaise(multiJingles_,
                [this] { return new frmMultiJingles(context_.programFolder, context_.services, context_.window); });
}

}  // namespace quorvant

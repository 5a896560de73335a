#include "windows/main_window/SoundCards.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "windows/dialogs/frmMultiJingles.h"
#include "windows/shared/CardRow.h"
#include "windows/main_window/frmSetup.h"
#include "widgets/LedLabel.h"
#include "widgets/SpinButton.h"
#include "binding/ControlRows.h"
#include "text/TextTable.h"

namespace quorvant {

namespace {
// Designer captions of the player labels, used for the spin and display names when the text
// table has none.
const std::array<const char*, 4> kPlayerCaptions = {"Automaat", "Jingles", "LiveSpeler A", "LiveSpeler B"};
}  // namespace

SoundCards::SoundCards(SetupContext& context) : SetupPart(context) {
    auto* frame = new QWidget;
    frame->setObjectName("fraKaarten");
    auto* grid = new QGridLayout(frame);
    for (int player = 0; player < 4; ++player) {
        auto* label = new QLabel(kPlayerCaptions[player], frame);
        label->setObjectName(QString("lblKaart(%1)").arg(player));
        auto* led = new LedLabel(27, frame);
        led->setObjectName(QString("ledKaart(%1)").arg(player));
        auto* spin = new SpinButton(frame);
        spin->setObjectName(QString("updKaart(%1)").arg(player));
        spin->SetLowest(-1);
        SizeCardRow(led, spin);
        label->setBuddy(spin);
        QObject::connect(spin, &SpinButton::stepped, frame,
                         [this, player](int value) { updKaart_Change(player, value); });
        grid->addWidget(label, player, 0);
        grid->addWidget(led, player, 1);
        grid->addWidget(spin, player, 2);
        lblKaart[player] = label;
        ledKaart[player] = led;
        updKaart[player] = spin;
    }
    chkMultiJingle = new QCheckBox("Gebruik Jinglepad met multi-channel geluidskaart (4 kanalen benodigd)", frame);
    chkMultiJingle->setObjectName("chkMultiJingle");
    cmdMultiJingle = new QPushButton("Configureer", frame);
    cmdMultiJingle->setObjectName("cmdMultiJingle");
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
    context_.TabLayout(1)->addWidget(frame);
    context_.TabLayout(1)->addStretch(1);

    tables_ = {{"AudioPlayers",
                {
                    OneMeansOnRow("MultiJingle", chkMultiJingle),
                    CardRow("Player_Auto_card", 0),
                    CardRow("Player_Jingles_card", 1),
                    CardRow("Player_A_card", 2),
                    CardRow("Player_B_card", 3),
                }}};
}

SoundCards::~SoundCards() = default;

frmMultiJingles* SoundCards::MultiJingles() const { return multiJingles_; }

// Empty-default rule (-1, the default device) into the player's card number; the display follows
// every read, also one whose conversion failed and left the number as it was.
KeyRow SoundCards::CardRow(const QString& key, int player) {
    return {key, key,
            [this, player](const QString& text) {
                if (const auto card = EmptyDefault(text, -1, IntWidth::Bits16)) cards_[player] = qint16(*card);
                ToonKaart(qint16(player), cards_[player]);
            },
            [this, player]() -> IniValue { return cards_[player]; }};
}

void SoundCards::LaadScherm() {
    for (int player = 0; player < 4; ++player) {
        lblKaart[player]->setText(Text(302 + player));
        const QString name = Text(302 + player).isEmpty() ? QString(kPlayerCaptions[player]) : Text(302 + player);
        updKaart[player]->setAccessibleName(name + " geluidskaart");
        ledKaart[player]->setAccessibleName(name + ": gekozen geluidskaart");
    }
    chkMultiJingle->setText(Text(306));
    cmdMultiJingle->setText(Text(307));
}

void SoundCards::SetSpinLimits() {
    if (!context_.services.waveOut) throw StepFailed();
    const int highest = context_.services.waveOut->DeviceCount() - 1;
    for (int player = 0; player < 4; ++player) {
        updKaart[player]->SetHighest(highest);
        // Start at the card read, so the first step moves away from the card shown. A card
        // beyond the limits puts the spin at the nearest limit; the card itself stays until a step.
        updKaart[player]->SetValue(cards_[player]);
    }
}

void SoundCards::ToonKaart(qint16 player, qint16 card) {
    if (context_.services.waveOut) ledKaart.at(player)->SetCaption(CardDisplay(context_.services.waveOut, card));
}

void SoundCards::updKaart_Change(int player, int value) {
    ToonKaart(qint16(player), qint16(value));
    cards_[player] = qint16(value);
}

void SoundCards::chkMultiJingle_Toggled(bool on) { cmdMultiJingle->setEnabled(on); }

void SoundCards::cmdMultiJingle_Click() {
    if (!multiJingles_) multiJingles_ = new frmMultiJingles(context_.programFolder, context_.services, context_.window);
    // A minimized dialog comes back as it was (normal or maximized); raising alone would leave it an icon.
    multiJingles_->setWindowState(multiJingles_->windowState() & ~Qt::WindowMinimized);
    multiJingles_->show();
    multiJingles_->raise();
    multiJingles_->activateWindow();
}

}  // namespace quorvant

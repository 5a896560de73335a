#include "windows/dialogs/frmMultiJingles.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "windows/shared/DialogSupport.h"
#include "windows/shared/CardRow.h"
#include "widgets/Icons.h"
#include "widgets/LedLabel.h"
#include "widgets/SpinButton.h"
#include "settings/PathChecks.h"
#include "settings/ValueRules.h"
#include "text/TextTable.h"

namespace quorvant {

namespace {
// Designer captions, for the spin and display names when the text table has none.
const std::array<const char*, 4> kColumnCaptions = {"Geluidskaart 1ste kolom", "Geluidskaart 2de kolom",
                                                    "Geluidskaart 3de kolom", "Geluidskaart 4de kolom"};
}  // namespace

frmMultiJingles::frmMultiJingles(const QString& programFolder, const Services& services, QWidget* parent)
    : QWidget(parent, Qt::Window), programFolder_(programFolder), services_(services) {
    setObjectName("frmMultiJingles");
    setAttribute(Qt::WA_DeleteOnClose);

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    for (int column = 0; column < 4; ++column) {
        auto* label = new QLabel(kColumnCaptions[column], this);
        label->setObjectName(QString("Label1(%1)").arg(column));
        auto* led = new LedLabel(27, this);
        led->setObjectName(QString("ledKaart(%1)").arg(column));
        auto* spin = new SpinButton(this);
        spin->setObjectName(QString("updKaart(%1)").arg(column));
        spin->SetLowest(-1);
        SizeCardRow(led, spin);
        label->setBuddy(spin);
        connect(spin, &SpinButton::stepped, this, [this, column](int value) { updKaart_Change(column, value); });
        grid->addWidget(label, column, 0);
        grid->addWidget(led, column, 1);
        grid->addWidget(spin, column, 2);
        Label1[column] = label;
        ledKaart[column] = led;
        updKaart[column] = spin;
    }
    layout->addLayout(grid);

    cmdSave = MakePictureButton("cmdSave", this);
    SetPicture(cmdSave, IconResource(103), "Bewaar de wijzigingen");
    cmdStop = MakePictureButton("cmdStop", this);
    SetPicture(cmdStop, IconResource(101), "Verlaat dit scherm");
    layout->addLayout(ButtonRow({cmdSave, cmdStop}));
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdStop, &QPushButton::clicked, this, [this] { cmdStop_Click(); });

    table_ = {"AudioPlayers",
              {
                  CardRow("Jingle_A_Card", 0),
                  CardRow("Jingle_B_Card", 1),
                  CardRow("Jingle_C_Card", 2),
                  CardRow("Jingle_D_Card", 3),
              }};

    Form_Load();
}

// Empty or absent: -1 with the display left as it is. A text the whole-number rule refuses counts
// as absent. Written as a 16-bit number.
KeyRow frmMultiJingles::CardRow(const QString& key, int column) {
    return {key, key,
            [this, column](const QString& text) {
                const auto card = text.isEmpty() ? std::nullopt : WholeNumber(text, IntWidth::Bits16);
                if (!card) {
                    cards_[column] = -1;
                    return;
                }
                cards_[column] = qint16(*card);
                ToonKaart(qint16(column), cards_[column]);
            },
            [this, column]() -> IniValue { return cards_[column]; }};
}

void frmMultiJingles::Form_Load() {
    const int highest = services_.waveOut ? services_.waveOut->DeviceCount() - 1 : -1;
    for (SpinButton* spin : updKaart) spin->SetHighest(highest);
    LaadScherm();
    LeesIni();
    // Start each spin at its column's device, so the first step moves away from the device shown.
    for (int column = 0; column < 4; ++column) updKaart[column]->SetValue(cards_[column]);
}

void frmMultiJingles::LaadScherm() {
    setWindowTitle(Text(310));
    for (int column = 0; column < 4; ++column) {
        Label1[column]->setText(Text(312 + column));
        const QString name = Text(312 + column).isEmpty() ? QString(kColumnCaptions[column]) : Text(312 + column);
        updKaart[column]->setAccessibleName(name);
        ledKaart[column]->setAccessibleName(name + ": gekozen apparaat");
    }
}

void frmMultiJingles::LeesIni() {
    iniCon.SetFile(JoinPath(programFolder_, "server.ini"));
    iniCon.SetSection(table_.section);
    ReadRowsStrict(iniCon, table_);
}

void frmMultiJingles::ToonKaart(qint16 Speler, qint16 Kaart) {
    if (services_.waveOut) ledKaart.at(Speler)->SetCaption(CardDisplay(services_.waveOut, Kaart));
}

void frmMultiJingles::updKaart_Change(int column, int value) {
    ToonKaart(qint16(column), qint16(value));
    cards_[column] = qint16(value);
}

bool frmMultiJingles::cmdSave_Click() {
    iniCon.SetFile(JoinPath(programFolder_, "server.ini"));
    return SaveOrReport(this, services_.errors, iniCon, [this] { WriteSection(iniCon, table_); });
}

void frmMultiJingles::cmdStop_Click() { close(); }

}  // namespace quorvant

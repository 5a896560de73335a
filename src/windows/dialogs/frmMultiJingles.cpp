#include "windows/dialogs/frmMultiJingles.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/PathChecks.h"
#include "settings/SettingsFiles.h"
#include "settings/ValueRules.h"
#include "text/Messages.h"
#include "text/TextTable.h"
#include "widgets/Icons.h"
#include "widgets/LedLabel.h"
#include "widgets/SpinButton.h"
#include "windows/shared/CardRow.h"
#include "windows/shared/DialogSupport.h"
#include "windows/shared/StatusLine.h"

namespace quorvant {

frmMultiJingles::frmMultiJingles(const QString& programFolder, const Services& services, QWidget* parent)
    : DialogWindow(parent), programFolder_(programFolder), services_(services) {
    setObjectName("frmMultiJingles");

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    for (int column = 0; column < 4; ++column) {
        // Until the file names one, a column has no card (-1).
        rows_[column] =
            new CardRow(column, "Label1", msg::JingleColumnCaption(column), -1, *services_.waveOut, grid, this);
        Label1[column] = rows_[column]->label;
        ledKaart[column] = rows_[column]->led;
        updKaart[column] = rows_[column]->spin;
    }
    layout->addLayout(grid);

    cmdSave = MakePictureButton("cmdSave", this);
    SetPicture(cmdSave, IconResource(103), msg::SaveChangesCaption());
    cmdStop = MakePictureButton("cmdStop", this);
    SetPicture(cmdStop, IconResource(101), msg::LeaveWindowCaption());
    layout->addLayout(ButtonRow({cmdSave, cmdStop}));
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdStop, &QPushButton::clicked, this, [this] { cmdStop_Click(); });

    table_ = {"AudioPlayers",
              {
                  CardKey("Jingle_A_Card", 0),
                  CardKey("Jingle_B_Card", 1),
                  CardKey("Jingle_C_Card", 2),
                  CardKey("Jingle_D_Card", 3),
              }};

    Form_Load();
    statusLine = AddStatusLine(this, [this] { return PendingValues(kServerIni, table_); }, cmdSave, {cmdSave, cmdStop});
}

// Empty or absent: -1 with the display left as it is. A text the whole-number rule refuses counts
// as absent. Written as a 16-bit number.
KeyRow frmMultiJingles::CardKey(const QString& key, int column) {
    CardRow* row = rows_[column];
    return Row(
        key,
        [row](const QString& text) {
            const auto card = text.isEmpty() ? std::nullopt : WholeNumber(text, IntWidth::Bits16);
            row->SetCard(card ? qint16(*card) : qint16(-1));
            if (card) row->ToonKaart(row->Card());
        },
        [row]() -> IniValue { return row->Card(); });
}

qint16 frmMultiJingles::Card(int column) const { return rows_.at(column)->Card(); }

void frmMultiJingles::Form_Load() {
    LaadScherm();
    LeesIni();
    for (CardRow* row : rows_) row->StartSpin(services_.waveOut->DeviceCount() - 1);
}

void frmMultiJingles::LaadScherm() {
    setWindowTitle(Text(310));
    for (int column = 0; column < 4; ++column) {
        Label1[column]->setText(Text(312 + column));
        const QString name = TextOr(312 + column, msg::JingleColumnCaption(column));
        rows_[column]->SetNames(name, msg::JingleCardDisplayName(name));
    }
}

void frmMultiJingles::LeesIni() {
    iniCon.SetFile(JoinPath(programFolder_, kServerIni));
    iniCon.SetSection(table_.section);
    ReadRowsStrict(iniCon, table_);
}

bool frmMultiJingles::cmdSave_Click() {
    iniCon.SetFile(JoinPath(programFolder_, kServerIni));
    if (!SaveOrReport(this, *services_.errors, iniCon, [this] { WriteSection(iniCon, table_); })) return false;
    statusLine->Saved({kServerIni});
    return true;
}

void frmMultiJingles::cmdStop_Click() { close(); }

}  // namespace quorvant

#include "windows/dialogs/frmMultiJingles.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "text/Messages.h"
#include "text/TextTable.h"
#include "widgets/Icons.h"
#include "widgets/LedLabel.h"
#include "widgets/SpinButton.h"
#include "windows/shared/CardRow.h"
#include "windows/shared/StatusLine.h"
#include "windows/shared/WindowButtons.h"

namespace quorvant {

frmMultiJingles::frmMultiJingles(const QString& programFolder, const Services& services, QWidget* parent)
    : SettingsDialog(programFolder, services, schema::File::Server, schema::Window::MultiJingles, parent) {
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

    const std::array<const char*, 4> keys = {"Jingle_A_Card", "Jingle_B_Card", "Jingle_C_Card", "Jingle_D_Card"};
    for (int column = 0; column < 4; ++column) Add(rows_[column]->Bind(Key(keys[column])).Labelled(Label1[column]));

    Form_Load();
    AddStatus(cmdSave, {cmdSave, cmdStop});
}

qint16 frmMultiJingles::Card(int column) const { return rows_.at(column)->Card(); }

void frmMultiJingles::Form_Load() {
    LaadScherm();
    LeesIni();
    for (CardRow* row : rows_) row->StartSpin(*facts_.soundDevices - 1);
}

void frmMultiJingles::LaadScherm() {
    setWindowTitle(Text(310));
    KeyBindings().ApplyCaptions();
    for (CardRow* row : rows_)
        row->SetNames([](const QString& caption) { return caption; }, msg::JingleCardDisplayName);
}

void frmMultiJingles::LeesIni() { ReadKeys(); }

bool frmMultiJingles::cmdSave_Click() { return SaveKeys(); }

void frmMultiJingles::cmdStop_Click() { close(); }

}  // namespace quorvant

#include "windows/dialogs/frmIntNews.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "binding/ControlRows.h"
#include "text/Messages.h"
#include "text/TextTable.h"
#include "widgets/Icons.h"
#include "widgets/LedSpin.h"
#include "widgets/WeekHourGrid.h"
#include "windows/dialogs/frmFloatNews.h"
#include "windows/shared/Controls.h"
#include "windows/shared/DialogWindow.h"
#include "windows/shared/StatusLine.h"
#include "windows/shared/WindowButtons.h"

namespace quorvant {

namespace {
// One floating news dialog for the whole program: it outlives the schedule that opened it.
QPointer<frmFloatNews>& FloatNewsDialog() {
    static QPointer<frmFloatNews> dialog;
    return dialog;
}

}  // namespace

frmIntNews::frmIntNews(const QString& programFolder, const Services& services, int SelectedNewsItem, QWidget* parent,
                       std::function<QString(int item)> itemCaption)
    : SettingsDialog(programFolder, services, schema::File::News, schema::Window::IntNews, parent),
      itemCaption_(std::move(itemCaption)) {
    setObjectName("frmIntNews");
    BuildControls();

    // Values the load cannot use (a word in Oud or Tijd) leave their control as it was; a bad grid
    // character counts as 0.
    Add(Bind(Key("File"), txtNewsFile).Labelled(lblFile));
    Add(Bind(Key("Rotate"), chkAutoRotate).Labelled(chkAutoRotate));
    Add(Bind(Key("Oud"), ledNewsOld).Labelled(lblMax));
    ledNewsOld->SetZeroBlank(false);  // 0 is shown, not blanked
    for (int day = 0; day < WeekHourGrid::kDays; ++day) Add(Bind(Key(WeekHourGrid::DayKeys()[day]), grid, day));
    Add(Bind(Key("Tijd"), ledMix).Labelled(lblMix));

    Form_Load(SelectedNewsItem);
    AddStatus(cmdSave, {cmdSave, cmdStop});
}

void frmIntNews::BuildControls() {
    auto* layout = new QVBoxLayout(this);

    fraMain = Named<QGroupBox>("fraMain", this);
    auto* main = new QGridLayout(fraMain);
    lblFile = Named<QLabel>("lblFile", fraMain);
    txtNewsFile = Named<QLineEdit>("txtNewsFile", fraMain);
    txtNewsFile->setMinimumWidth(280);
    lblFile->setBuddy(txtNewsFile);
    lblMax = Named<QLabel>("lblMax", fraMain);
    ledNewsOld = Named<LedSpin>("ledNewsOld", fraMain);
    lblMax->setBuddy(ledNewsOld);
    lblUur = Named<QLabel>("lblUur", fraMain);
    lblMix = Named<QLabel>("lblMix", fraMain);
    ledMix = Named<LedSpin>("ledMix", fraMain);
    lblMix->setBuddy(ledMix);
    chkAutoRotate = Named<QCheckBox>("chkAutoRotate", fraMain);
    chkAutoRotate->hide();
    cmdFloat = MakePictureButton("cmdFloat", fraMain);
    SetPicture(cmdFloat, FloatNewsIcon(), msg::FloatNewsCaption());
    cmdFloat->hide();
    connect(cmdFloat, &QPushButton::clicked, this, [this] { cmdFloat_Click(); });

    main->addWidget(lblFile, 0, 0);
    main->addWidget(txtNewsFile, 0, 1);
    main->addWidget(lblMax, 0, 2);
    main->addWidget(ledNewsOld, 0, 3);
    main->addWidget(lblUur, 0, 4);
    auto* mixRow = new QHBoxLayout;
    mixRow->addWidget(ledMix);
    mixRow->addSpacing(24);
    mixRow->addWidget(chkAutoRotate);
    mixRow->addSpacing(12);
    mixRow->addWidget(cmdFloat);
    mixRow->addStretch(1);
    main->addWidget(lblMix, 1, 0);
    main->addLayout(mixRow, 1, 1, 1, 4);
    main->setColumnStretch(1, 1);
    layout->addWidget(fraMain);

    grid = AddHourFrame(layout, this, fraUur);

    cmdSave = MakePictureButton("cmdSave", this);
    cmdStop = MakePictureButton("cmdStop", this);
    layout->addLayout(ButtonRow({cmdSave, cmdStop}));
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdStop, &QPushButton::clicked, this, [this] { cmdStop_Click(); });
}

void frmIntNews::LaadScherm() {
    KeyBindings().ApplyCaptions();
    fraMain->setTitle(Text(274));
    lblUur->setText(Text(277));
    // The spin sits inside a sentence: "mag maximaal [n] uren oud zijn".
    ledNewsOld->setAccessibleName(QString("%1 %2").arg(lblMax->text(), lblUur->text()).trimmed());
    fraUur->setTitle(Text(278));
    grid->SetDayCaptions({Text(237), Text(238), Text(239), Text(240), Text(241), Text(242), Text(243)});
    SetPicture(cmdSave, IconResource(103), Text(279));
    SetPicture(cmdStop, IconResource(101), Text(280));
}

void frmIntNews::Form_Load(int item) {
    LaadScherm();
    if (item >= 0 && item < kNewsItems) {
        item_ = item;
        section_ = schema::NewsItemSections().value(item);
        if (itemCaption_) setWindowTitle(itemCaption_(item));
        chkAutoRotate->setVisible(item >= 5);
        if (item == 9) cmdFloat->show();
    } else {
        // Not an item: there is no section to write into. The reads still run and find nothing,
        // so the fields show their defaults.
        section_ = QStringLiteral("");
        cmdSave->setEnabled(false);
    }
    ReadKeys();
}

bool frmIntNews::cmdSave_Click() {
    if (item_ < 0) return false;
    // Writes into the section the load selected.
    return SaveKeys();
}

void frmIntNews::cmdStop_Click() { close(); }

void frmIntNews::cmdFloat_Click() {
    // Owned by the main window (or by nobody once the main window is gone), so closing this
    // schedule leaves the floating news open.
    floatNews_ = ShowFloatNews(programFolder_, services_, parentWidget());
}

SettingsDialog* frmIntNews::ShowFloatNews(const QString& programFolder, const Services& services, QWidget* owner) {
    return ShowOrRaise(FloatNewsDialog(), [&] { return new frmFloatNews(programFolder, services, owner); });
}

SettingsDialog* frmIntNews::FloatNewsShown() { return FloatNewsDialog().data(); }

}  // namespace quorvant

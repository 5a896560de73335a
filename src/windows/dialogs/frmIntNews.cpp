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
#include "settings/PathChecks.h"
#include "settings/SettingsFiles.h"
#include "text/Messages.h"
#include "text/TextTable.h"
#include "widgets/Icons.h"
#include "widgets/LedSpin.h"
#include "widgets/WeekHourGrid.h"
#include "windows/dialogs/frmFloatNews.h"
#include "windows/shared/DialogSupport.h"
#include "windows/shared/StatusLine.h"

namespace quorvant {

namespace {
// One floating news dialog for the whole program: it outlives the schedule that opened it.
QPointer<frmFloatNews>& FloatNewsDialog() {
    static QPointer<frmFloatNews> dialog;
    return dialog;
}

}  // namespace

frmIntNews::frmIntNews(const QString& programFolder, const Services& services, QWidget* parent,
                       std::function<QString(int item)> itemCaption)
    : DialogWindow(parent), programFolder_(programFolder), services_(services), itemCaption_(std::move(itemCaption)) {
    setObjectName("frmIntNews");
    BuildControls();

    // Read order; the save writes Oud before Rotate (writeOrder below). Values the load cannot use (a word in Oud,
    // Tijd or Rotate) leave their control as it was; a bad grid character counts as 0.
    table_.rows = {
        TextRow("File", txtNewsFile, TextWrite::Trimmed),
        Row(
            "Rotate",
            [this](const QString& text) {
                // Empty: unchanged. Exactly 1 (1, 1.0): on; any other number: off.
                if (text.isEmpty()) return;
                if (OneMeansOn(text))
                    chkAutoRotate->setChecked(true);
                else if (HasNumberForm(text))
                    chkAutoRotate->setChecked(false);
            },
            // Written for every item, also where the box is hidden.
            [this]() -> IniValue { return static_cast<qint16>(chkAutoRotate->isChecked() ? 1 : 0); }),
        EmptyDefaultRow("Oud", ledNewsOld, 0),
    };
    for (int day = 0; day < WeekHourGrid::kDays; ++day)
        table_.rows.append(DayRow(WeekHourGrid::DayKeys()[day], grid, day, false));
    // Only an empty value gives 150; a stored 0 stays 0.
    table_.rows.append(EmptyDefaultRow("Tijd", ledMix, 150));
    table_.writeOrder = QStringList{"File", "Oud", "Rotate"} + WeekHourGrid::DayKeys() + QStringList{"Tijd"};

    Form_Load();
    statusLine = AddStatusLine(this, [this] { return PendingValues(kNewsIni, table_); }, cmdSave, {cmdSave, cmdStop});
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
    // Two digits, yet 100 is allowed; 0 is shown, not blanked.
    ledNewsOld->Configure(2, 0, 100, 1, 0, false);
    lblMax->setBuddy(ledNewsOld);
    lblUur = Named<QLabel>("lblUur", fraMain);
    lblMix = Named<QLabel>("lblMix", fraMain);
    ledMix = Named<LedSpin>("ledMix", fraMain);
    ledMix->Configure(5, 0, 99999, 10, 0, true);
    lblMix->setBuddy(ledMix);
    chkAutoRotate = Named<QCheckBox>("chkAutoRotate", msg::AutoRotateCaption(), fraMain);
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
    fraMain->setTitle(Text(274));
    lblFile->setText(Text(275));
    lblMax->setText(Text(276));
    lblUur->setText(Text(277));
    // The spin sits inside a sentence: "mag maximaal [n] uren oud zijn".
    ledNewsOld->setAccessibleName(QString("%1 %2").arg(Text(276), Text(277)).trimmed());
    lblMix->setText(Text(293));
    fraUur->setTitle(Text(278));
    grid->SetDayCaptions({Text(237), Text(238), Text(239), Text(240), Text(241), Text(242), Text(243)});
    SetPicture(cmdSave, IconResource(103), Text(279));
    SetPicture(cmdStop, IconResource(101), Text(280));
}

void frmIntNews::Form_Load() {
    LaadScherm();
    iniNews.SetFile(JoinPath(programFolder_, kNewsIni));
    const int item = SelectedNewsItem;
    if (item >= 0 && item < kNewsItems) {
        item_ = item;
        table_.section = NewsItems()[item].section;
        iniNews.SetSection(table_.section);
        if (itemCaption_) setWindowTitle(itemCaption_(item));
        chkAutoRotate->setVisible(item >= 5);
        if (item == 9) cmdFloat->show();
    } else {
        // Not an item: there is no section to write into. The reads still run and find nothing,
        // so the fields show their defaults.
        cmdSave->setEnabled(false);
    }
    ReadRows(iniNews, table_);
}

bool frmIntNews::cmdSave_Click() {
    if (item_ < 0) return false;
    // Writes into the section the load selected.
    if (!SaveOrReport(this, *services_.errors, iniNews, [this] { WriteRows(iniNews, table_); })) return false;
    statusLine->Saved({kNewsIni});
    return true;
}

void frmIntNews::cmdStop_Click() { close(); }

void frmIntNews::cmdFloat_Click() {
    floatNews_ = ShowOrRaise(FloatNewsDialog(), [this] {
        // Owned by the main window (or by nobody once the main window is gone), so closing this
        // schedule leaves the floating news open.
        QWidget* owner = parentWidget();
        return new frmFloatNews(programFolder_, services_, owner);
    });
}

}  // namespace quorvant

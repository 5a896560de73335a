#include "windows/dialogs/frmFloatTime.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "binding/ControlRows.h"
#include "text/Messages.h"
#include "text/TextTable.h"
#include "widgets/Icons.h"
#include "widgets/LedSpin.h"
#include "widgets/WeekHourGrid.h"
#include "windows/shared/Controls.h"
#include "windows/shared/StatusLine.h"
#include "windows/shared/WindowButtons.h"

namespace quorvant {

namespace {

const QString kAutoSection = QStringLiteral("FloatTSauto");
const QString kLiveSection = QStringLiteral("FloatTSlive");

// The two times of a set, and its seven day strings: the dialog reads and writes them in two steps.
bool IsTime(const schema::Key& key) { return key.rule != schema::Rule::DayString; }
bool IsDay(const schema::Key& key) { return key.rule == schema::Rule::DayString; }

}  // namespace

frmFloatTime::frmFloatTime(const QString& programFolder, const Services& services, QWidget* parent)
    : SettingsDialog(programFolder, services, schema::File::Server, schema::Window::FloatTime, parent) {
    setObjectName("frmFloatTime");
    BuildControls();

    // The keys of each set; the section is selected by LeesIniAuto/LeesIniLive and BewaarAuto/BewaarLive.
    Add(Bind(Key("PreTime"), ledVoor).Labelled(Label2));
    Add(Bind(Key("AfterTime"), ledNa).Labelled(Label5));
    // Each day string is written whole. A character other than 0, 1 or 2 reads as an off hour.
    for (int day = 0; day < WeekHourGrid::kDays; ++day) Add(Bind(Key(WeekHourGrid::DayKeys()[day]), grid, day));

    Form_Load();
    // The shown set; its only button saves it (and closes), so Ctrl+S does the same.
    AddStatus(cmdStop, {cmdStop});
}

void frmFloatTime::BuildControls() {
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;

    Frame3 = Named<QGroupBox>("Frame3", this);
    auto* choice = new QVBoxLayout(Frame3);
    Option1 = Named<QRadioButton>("Option1", Frame3);
    Option2 = Named<QRadioButton>("Option2", Frame3);
    choice->addWidget(Option1);
    choice->addWidget(Option2);
    choice->addStretch(1);
    // Only the newly selected button acts; the one that goes off stays silent.
    connect(Option1, &QRadioButton::toggled, this, [this](bool on) {
        if (on) Option_Toggled(false);
    });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) {
        if (on) Option_Toggled(true);
    });
    top->addWidget(Frame3);

    // A period's frame holds one sentence: the words before the spin (its buddy), the spin, the rest.
    auto* periods = new QVBoxLayout;
    const auto period = [&](QGroupBox*& frame, const char* frameName, QLabel*& before, const char* beforeName,
                            LedSpin*& spin, const char* spinName, QLabel*& after, const char* afterName) {
        frame = Named<QGroupBox>(frameName, this);
        auto* line = new QHBoxLayout(frame);
        before = Named<QLabel>(beforeName, frame);
        spin = Named<LedSpin>(spinName, frame);
        after = Named<QLabel>(afterName, frame);
        before->setBuddy(spin);
        for (QWidget* part : std::initializer_list<QWidget*>{before, spin, after}) line->addWidget(part);
        line->addStretch(1);
        periods->addWidget(frame);
    };
    period(Frame1, "Frame1", Label2, "Label2", ledVoor, "ledVoor", Label3, "Label3");
    period(Frame2, "Frame2", Label5, "Label5", ledNa, "ledNa", Label4, "Label4");
    top->addLayout(periods, 1);
    layout->addLayout(top);

    grid = AddHourFrame(layout, this, fraUur);
    grid->setObjectName("grid");

    // The only button: it saves the shown set and closes. A picture button; its tool tip and
    // accessible name say that it saves.
    // No text of the table fits a button that saves and closes; this one is fixed.
    cmdStop = AddOnlyButton(layout, "cmdStop", IconResource(103), msg::SaveAndCloseCaption(), this);
    connect(cmdStop, &QPushButton::clicked, this, [this] { cmdStop_Click(); });
}

void frmFloatTime::LaadScherm() {
    setWindowTitle(Text(309));
    Frame3->setTitle(Text(316));
    Option1->setText(Text(317));
    Option2->setText(Text(318));
    Frame1->setTitle(Text(319));
    Frame2->setTitle(Text(320));
    KeyBindings().ApplyCaptions();
    Label3->setText(Text(323));
    Label4->setText(Text(324));
    // The two spins line up although the sentences before them differ in length.
    const int lead = std::max(Label2->sizeHint().width(), Label5->sizeHint().width());
    Label2->setMinimumWidth(lead);
    Label5->setMinimumWidth(lead);
    // The labels before the spins are their buddies; the words after them complete the sentence.
    ledVoor->setAccessibleDescription(Text(323));
    ledNa->setAccessibleDescription(Text(324));
    fraUur->setTitle(Text(325));
    QStringList days;
    for (int id = 326; id <= 332; ++id) days << Text(id);
    grid->SetDayCaptions(days);
}

void frmFloatTime::Form_Load() {
    LaadScherm();
    LeesIniAuto();
    LeesUren();
    // Showing the automatic set at opening is no switch: nothing is written.
    SelectShown(false);
}

void frmFloatTime::SelectShown(bool live) {
    selecting_ = true;
    (live ? Option2 : Option1)->setChecked(true);
    selecting_ = false;
}

void frmFloatTime::ReadSet(const QString& section) {
    section_ = section;
    ReadKeys(IsTime);
}

void frmFloatTime::ReadShown() {
    ReadSet(liveShown_ ? kLiveSection : kAutoSection);
    LeesUren();
}

void frmFloatTime::LeesIniAuto() { ReadSet(kAutoSection); }
void frmFloatTime::LeesIniLive() { ReadSet(kLiveSection); }
void frmFloatTime::LeesUren() { ReadKeys(IsDay); }
void frmFloatTime::BewaarAuto() { WriteKeys(IsTime, kAutoSection); }
void frmFloatTime::BewaarLive() { WriteKeys(IsTime, kLiveSection); }
void frmFloatTime::BewaarUren() { WriteKeys(IsDay); }

bool frmFloatTime::SaveShown() {
    return SaveKeys(
        [this] {
            if (liveShown_)
                BewaarLive();
            else
                BewaarAuto();
            BewaarUren();
        },
        // Put the option buttons back first, so the screen names the set it shows while the user reads.
        [this] { SelectShown(liveShown_); });
}

void frmFloatTime::Option_Toggled(bool live) {
    if (selecting_ || live == liveShown_) return;
    // The shown set goes to its own section before the other is read. If it cannot be saved, the
    // user's edits stay on screen and so does the set they belong to.
    if (!SaveShown()) return;
    if (live)
        LeesIniLive();
    else
        LeesIniAuto();
    LeesUren();
    liveShown_ = live;
    statusLine->Reloaded();
}

bool frmFloatTime::cmdStop_Click() {
    if (!SaveShown()) return false;
    close();
    return true;
}

}  // namespace quorvant

#include "windows/main_window/TimeSignalBlock.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "binding/ControlRows.h"
#include "text/Messages.h"
#include "text/TextTable.h"
#include "widgets/ColourPanel.h"
#include "widgets/LedSpin.h"
#include "windows/dialogs/frmFloatTime.h"
#include "windows/shared/Controls.h"
#include "windows/shared/DialogWindow.h"

namespace quorvant {

namespace {

// The entries of the slot lists by position; the stored value is the position, so this order is
// part of the file format (sports news before regional news is intended).
constexpr std::array<int, 8> kBeforeEntries = {223, 224, 226, 228, 230, 229, 231, 232};
constexpr std::array<int, 9> kAfterEntries = {223, 225, 227, 228, 230, 229, 231, 232, 292};

QComboBox* NewSlotList(QWidget* parent, const char* name) {
    auto* list = Named<QComboBox>(name, parent);
    list->setMinimumWidth(250);
    return list;
}

QFrame* NewLine(QWidget* parent, const QString& name) {
    auto* line = Named<QFrame>(name, parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setMinimumWidth(24);
    return line;
}

template <std::size_t N>
void AddEntries(QComboBox* list, const std::array<int, N>& ids) {
    for (int id : ids) list->addItem(Text(id));
    // Adding items selects the first one; a slot stays empty until the file or the user fills it.
    list->setCurrentIndex(-1);
}

}  // namespace

TimeSignalBlock::TimeSignalBlock(SetupContext& context) : SetupPart(context) {
    // The block: three slots before the signal, the signal, three slots after it.
    auto* block = Named<QWidget>("fraTijdseinblok");
    auto* blockGrid = new QGridLayout(block);
    blockGrid->setHorizontalSpacing(0);
    lblVoorTS = Named<QLabel>("lblVoorTS", block);
    lblNaTS = Named<QLabel>("lblNaTS", block);
    cob61 = NewSlotList(block, "cob61");
    cob62 = NewSlotList(block, "cob62");
    cob63 = NewSlotList(block, "cob63");
    cob11 = NewSlotList(block, "cob11");
    cob12 = NewSlotList(block, "cob12");
    cob13 = NewSlotList(block, "cob13");
    panTS = Named<ColourPanel>("panTS", block);
    panTS->SetBold(true);
    panTS->SetLowered(true);
    panTS->SetBackColour(ColourPanel::FromColor(block->palette().color(QPalette::Button)));
    panTS->SetTextColour(ColourPanel::FromColor(block->palette().color(QPalette::ButtonText)));
    panTS->setMinimumWidth(120);
    blockGrid->addWidget(lblVoorTS, 0, 0);
    blockGrid->addWidget(lblNaTS, 0, 4);
    for (int i = 0; i < 3; ++i) {
        Line1[i] = NewLine(block, QString("Line1(%1)").arg(i));
        Line2[i] = NewLine(block, QString("Line2(%1)").arg(i));
        blockGrid->addWidget(BeforeLists()[i], i + 1, 0);
        blockGrid->addWidget(Line1[i], i + 1, 1);
        blockGrid->addWidget(Line2[i], i + 1, 3);
        blockGrid->addWidget(AfterLists()[i], i + 1, 4);
    }
    blockGrid->addWidget(panTS, 1, 2, 3, 1);
    // One heading stands over three lists; each list gets a label of its own ("heading, place n")
    // as its buddy, so screen readers announce the list by it. Not shown: the heading says it.
    for (int i = 0; i < 6; ++i) {
        auto* label = Named<QLabel>(QString("lblPlaats(%1)").arg(i), block);
        label->hide();
        label->setBuddy(i < 3 ? BeforeLists()[i] : AfterLists()[i - 3]);
        lblPlaats[i] = label;
    }
    blockGrid->setColumnStretch(5, 1);

    // Hour change and the floating time signal before it. After the feeds' keys, TMFaderSpeed is the
    // last key of [Faders].
    auto* options = Named<QWidget>("fraUurwisseling");
    FieldRows rows(options, context_.bindings);
    ledTMFaderSpeed =
        rows.Bound<LedSpin>("ledTMFaderSpeed", "lblFaderTS", ServerKey("Faders", "TMFaderSpeed"), "lblTSmsec");
    chkTS_Pre_float = Named<QCheckBox>("chkTS_Pre_float", options);
    ledTS_Pre_Float = Named<LedSpin>("ledTS_Pre_Float", options);
    auto* seconds = Named<QLabel>("lblTS_Float_Sec(0)", options);
    rows.Row(chkTS_Pre_float, ledTS_Pre_Float, seconds);
    cmdVlottendTijdsein = Named<QPushButton>("cmdVlottendTijdsein", msg::FloatTimeButtonCaption(), options);
    QObject::connect(cmdVlottendTijdsein, &QPushButton::clicked, cmdVlottendTijdsein,
                     [this] { cmdVlottendTijdsein_Click(); });
    rows.Row(cmdVlottendTijdsein);
    rows.Grid()->setColumnStretch(3, 1);

    QVBoxLayout* tab = context_.TabLayout(Tab::TimeSignalBlock);
    tab->addWidget(block);
    tab->addSpacing(16);
    tab->addWidget(options);
    tab->addStretch(1);

    const std::array<const char*, 6> slotKeys = {"B6-1", "B6-2", "B6-3", "B1-1", "B1-2", "B1-3"};
    for (int i = 0; i < 6; ++i) {
        QComboBox* list = i < 3 ? BeforeLists()[i] : AfterLists()[i - 3];
        Add(Bind(ServerKey("Sequencer", slotKeys[i]), list).Labelled(lblPlaats[i]));
    }
    Add(Bind(ServerKey("Sequencer", "TS_Pre_Float"), chkTS_Pre_float).Labelled(chkTS_Pre_float));
    Add(Bind(ServerKey("Sequencer", "TS_Pre_Float_Time"), ledTS_Pre_Float).Labelled(nullptr, seconds));
}

TimeSignalBlock::~TimeSignalBlock() = default;

frmFloatTime* TimeSignalBlock::FloatTime() const { return floatTime_; }

void TimeSignalBlock::LaadScherm() {
    lblVoorTS->setText(Text(218));
    lblNaTS->setText(Text(219));
    panTS->SetCaption(Text(220));
    cmdVlottendTijdsein->setText(Text(309));

    // The seconds field has only its unit beside it; it belongs to the check box before it.
    ledTS_Pre_Float->setAccessibleName(QString("%1 (%2)").arg(chkTS_Pre_float->text(), Text(256)));
}

void TimeSignalBlock::VulTijdSeinBlok() {
    for (QComboBox* list : BeforeLists()) AddEntries(list, kBeforeEntries);
    for (QComboBox* list : AfterLists()) AddEntries(list, kAfterEntries);
}

void TimeSignalBlock::cmdVlottendTijdsein_Click() {
    ShowOrRaise(floatTime_,
                [this] { return new frmFloatTime(context_.programFolder, context_.services, context_.window); });
}

}  // namespace quorvant

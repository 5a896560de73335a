#include "windows/main_window/FileLocations.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/ValueRules.h"
#include "text/TextTable.h"
#include "windows/shared/Controls.h"

namespace quorvant {

namespace {
// Prompt text per browse button index.
constexpr std::array<int, 5> kPromptIds = {126, 127, 128, 273, 129};
}  // namespace

FileLocations::FileLocations(SetupContext& context) : SetupPart(context) {
    auto* frame = new QWidget;
    FieldRows rows(frame, context_.bindings);
    struct Folder {
        QLineEdit** box;
        const char* name;
        int button;
    };
    const std::array<Folder, 4> folders = {{{&txtDatabase, "txtDatabase", 0},
                                            {&txtLog, "txtLog", 1},
                                            {&txtRepeat, "txtRepeat", 2},
                                            {&txtFrag, "txtFrag", 4}}};
    for (int i = 0; i < 4; ++i) {
        auto* label = Named<QLabel>(QString("lblLocaties(%1)").arg(i), frame);
        auto* box = Named<QLineEdit>(folders[i].name, frame);
        box->setMinimumWidth(420);
        auto* button = Named<QPushButton>(QString("cmdPath(%1)").arg(folders[i].button), "...", frame);
        button->setMaximumWidth(40);
        const int index = folders[i].button;
        QObject::connect(button, &QPushButton::clicked, frame, [this, index] { cmdPath_Click(index); });
        rows.Row(label, box, button);
        lblLocaties[i] = label;
        *folders[i].box = box;
        cmdPath[index] = button;
        pathBoxes_[index] = box;
    }
    rows.Grid()->setColumnStretch(1, 1);
    context_.TabLayout(Tab::FileLocations)->addWidget(frame);
    context_.TabLayout(Tab::FileLocations)->addStretch(1);

    // DatabasePath is also kept as the run's database folder (genres, descriptions).
    Add(Bind(ServerKey("Files", "DatabasePath"), txtDatabase,
             [this](const QString& text) {
                 context_.databasePath = text;
                 txtDatabase->setText(text);
             },
             [this]() -> IniValue { return txtDatabase->text(); })
            .Labelled(lblLocaties[0]));
    Add(Bind(ServerKey("Files", "LogPath"), txtLog).Labelled(lblLocaties[1]));
    Add(Bind(ServerKey("Files", "RepeatPath"), txtRepeat).Labelled(lblLocaties[2]));
    Add(Bind(ServerKey("Files", "FragPath"), txtFrag).Labelled(lblLocaties[3]));
}

void FileLocations::AttachNewsPath(QPushButton* button, QLineEdit* box) {
    cmdPath[3] = button;
    pathBoxes_[3] = box;
    button->setObjectName("cmdPath(3)");
    QObject::connect(button, &QPushButton::clicked, button, [this] { cmdPath_Click(3); });
}

void FileLocations::LaadScherm() {
    txtDatabase->setToolTip(Text(121));
    txtLog->setToolTip(Text(122));
    txtRepeat->setToolTip(Text(123));
    txtFrag->setToolTip(Text(124));
    for (int index : {0, 1, 2, 3})
        if (cmdPath[index]) cmdPath[index]->setToolTip(Text(125));
    // The buttons show only "..."; name them after the folder they choose.
    const std::array<int, 5> labelOf = {0, 1, 2, -1, 3};
    for (int index : {0, 1, 2, 4})
        cmdPath[index]->setAccessibleName(QString("%1: %2").arg(lblLocaties[labelOf[index]]->text(), Text(125)));
}

void FileLocations::cmdPath_Click(int index) {
    if (index < 0 || index >= 5 || !pathBoxes_[index]) return;
    QLineEdit* box = pathBoxes_[index];
    const FolderChooserCaptions captions{Text(130), Text(131), Text(132)};
    const std::optional<QString> chosen =
        context_.services.folders->Browse(context_.window, Text(kPromptIds[index]), TrimSpaces(box->text()), captions);
    // Cancel keeps the configured path.
    if (chosen) box->setText(*chosen);
}

}  // namespace quorvant

#include "windows/main_window/AutomationTiming.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QVBoxLayout>

#include "binding/ControlRows.h"
#include "settings/PathChecks.h"
#include "settings/SettingsFiles.h"
#include "text/Messages.h"
#include "text/TextTable.h"
#include "widgets/LedSpin.h"
#include "widgets/StateCheckBox.h"
#include "windows/shared/DialogSupport.h"

namespace quorvant {

AutomationTiming::AutomationTiming(SetupContext& context) : SetupPart(context) {
    auto* page = Named<QWidget>("fraAutomatisatie");
    auto* grid = new QGridLayout(page);

    struct SpinRow {
        LedSpin** spin;
        const char* spinName;
        QLabel** label;
        const char* labelName;
        const char* section;
        const char* key;
    };
    const std::array<SpinRow, 8> spins = {{
        {&ledPresLevel, "ledPresLevel", &lblPresNiv, "lblPresNiv", "Faders", "PresLevel"},
        {&ledPresSpeed, "ledPresSpeed", &lblPresSpeed, "lblPresSpeed", "Faders", "PresSpeed"},
        {&ledMixSpeed, "ledMixSpeed", &lblMix, "lblMix", "Faders", "FaderSpeed"},
        {&ledFaderStap, "ledFaderStap", &lblFaderStap, "lblFaderStap", "Faders", "PresFactor"},
        {&ledIntroComp, "ledIntroComp", &lblIntroComp, "lblIntroComp", "Faders", "IntroComp"},
        {&ledOuttroComp, "ledOuttroComp", &lblOuttroComp, "lblOuttroComp", "Faders", "OuttroComp"},
        {&ledLatency, "ledLatency", &lblLatency, "lblLatency", "Sequencer", "Latency"},
        {&ledT6Blok, "ledT6Blok", &lblTBlok, "lblTBlok", "Sequencer", "B6Start"},
    }};
    for (int row = 0; row < int(spins.size()); ++row) {
        const SpinRow& s = spins[row];
        auto* spin = Named<LedSpin>(s.spinName, page);
        QLabel* label = Named<QLabel>(s.labelName, page);
        label->setBuddy(spin);
        grid->addWidget(label, row, 0);
        grid->addWidget(spin, row, 1, Qt::AlignLeft);
        *s.spin = spin;
        *s.label = label;
        Add(Bind(ServerKey(s.section, s.key), spin).Labelled(label));
    }

    // Unit labels beside their fields; FaderStap has none.
    lblProcent = Named<QLabel>("lblProcent", page);
    grid->addWidget(lblProcent, 0, 2);
    const std::array<int, 5> msecRows = {1, 2, 4, 5, 6};
    for (int i = 0; i < 5; ++i) {
        lblMsec[i] = Named<QLabel>(QString("lblMsec(%1)").arg(i), page);
        grid->addWidget(lblMsec[i], msecRows[i], 2);
    }
    lblMinuten = Named<QLabel>("lblMinuten", page);
    grid->addWidget(lblMinuten, 7, 2);

    chkIgnoreVT = Named<StateCheckBox>("chkIgnoreVT", msg::IgnoreVoiceTracksCaption(), page);
    grid->addWidget(chkIgnoreVT, 8, 0, 1, 3);

    lblPanic = Named<QLabel>("lblPanic", page);
    cobPanic = Named<QComboBox>("cobPanic", page);
    // Free text: a genre that is not (or not yet) in the list is kept as typed or stored.
    cobPanic->setEditable(true);
    cobPanic->setInsertPolicy(QComboBox::NoInsert);
    cobPanic->setMinimumWidth(260);
    lblPanic->setBuddy(cobPanic);
    grid->addWidget(lblPanic, 9, 0);
    // Beside the list: that it is being read, or why there is none. The list's own text stays.
    lblGenres = Named<QLabel>("lblGenres", page);
    lblGenres->setWordWrap(true);
    lblGenres->hide();
    auto* panicRow = new QHBoxLayout;
    panicRow->addWidget(cobPanic, 0, Qt::AlignLeft);
    panicRow->addWidget(lblGenres, 1);
    grid->addLayout(panicRow, 9, 1, 1, 3);

    grid->setColumnStretch(3, 1);
    context_.TabLayout(Tab::Automation)->addWidget(page);
    context_.TabLayout(Tab::Automation)->addStretch(1);

    // An empty PanicGenre leaves the box's text alone; the save writes whatever it shows.
    Add(Bind(ServerKey("Sequencer", "PanicGenre"), cobPanic).Labelled(lblPanic));
    Add(Bind(ServerKey("Sequencer", "IgnoreVT"), chkIgnoreVT).Labelled(chkIgnoreVT));
}

void AutomationTiming::LaadScherm() {
    lblProcent->setText(Text(148));
    for (QLabel* label : lblMsec) label->setText(Text(147));
    lblMinuten->setText(Text(149));
    // The text part is a control of its own for screen readers.
    cobPanic->lineEdit()->setAccessibleName(lblPanic->text());

    // Screen readers get the unit with the field.
    ledPresLevel->setAccessibleDescription(Text(148));
    for (LedSpin* spin : {ledPresSpeed, ledMixSpeed, ledIntroComp, ledOuttroComp, ledLatency})
        spin->setAccessibleDescription(Text(147));
    ledT6Blok->setAccessibleDescription(Text(149));
}

void AutomationTiming::LoadGenres() {
    const QString folder = context_.databasePath;
    if (folder.isEmpty()) {
        ShowGenreState(lblGenres, cobPanic, msg::NoGenres(msg::NoDatabaseFolderGiven()));
        return;
    }
    if (!FolderExists(folder)) {
        ShowGenreState(lblGenres, cobPanic,
                       msg::NoGenres(msg::DatabaseFolderMissing(QDir::toNativeSeparators(folder))));
        return;
    }
    const QString database = JoinPath(folder, kGenreDatabase);
    if (!FileExists(database)) {
        // A FIFO or device under the name is there, but it is no database.
        const FileKind kind = KindOf(database);
        const QString path = QDir::toNativeSeparators(database);
        ShowGenreState(lblGenres, cobPanic,
                       msg::NoGenres(kind == FileKind::Missing ? msg::FileMissing(path) : msg::NotARegularFile(path, kind)));
        return;
    }
    lblGenres->setPalette(QPalette());
    lblGenres->setText(msg::GenresReading());
    lblGenres->show();
    // The answer may come after the window is gone.
    QPointer<QComboBox> list = cobPanic;
    QPointer<QLabel> state = lblGenres;
    context_.services.genres->Request(database, [list, state](const GenreList& answer) {
        if (list) FillGenres(list, answer);
        if (list && state)
            ShowGenreState(state, list, answer.failure == GenreFailure::None ? QString() : list->toolTip());
    });
}

void AutomationTiming::ShowGenreState(QLabel* state, QComboBox* list, const QString& warning) {
    list->setToolTip(warning);
    if (warning.isEmpty()) {
        state->hide();
        return;
    }
    // A warning in the palette's own error red, where the platform has one.
    QPalette red = state->palette();
    red.setColor(QPalette::WindowText, QColor(176, 0, 32));
    state->setPalette(red);
    state->setText(warning);
    state->show();
}

QString AutomationTiming::GenreFailureText(const GenreList& answer) {
    switch (answer.failure) {
        case GenreFailure::None:
            break;
        case GenreFailure::UnexpectedAnswer:
            return msg::GenreUnexpectedAnswer(answer.path);
        case GenreFailure::NotFound:
            return msg::GenreDatabaseNotFound(answer.path);
        case GenreFailure::NotADatabase:
            return msg::GenreNotADatabase(answer.path);
        case GenreFailure::NoTable:
            return msg::GenreNoTable(answer.path);
        case GenreFailure::NoColumn:
            return msg::GenreNoColumn(answer.path);
        case GenreFailure::Damaged:
            return msg::GenreDamaged(answer.path);
        case GenreFailure::NoAnswer:
            return msg::GenreNoAnswer(answer.timeLimitMs);
        case GenreFailure::ReaderCrashed:
            return msg::GenreReaderCrashed(answer.path);
        case GenreFailure::ReaderMissing:
            return msg::GenreReaderMissing(answer.path);
    }
    return {};
}

void AutomationTiming::FillGenres(QComboBox* list, const GenreList& answer) {
    if (answer.failure != GenreFailure::None) {
        list->setToolTip(msg::NoGenres(GenreFailureText(answer)));
        return;
    }
    // A combo box takes its first item as soon as items arrive; that would save a genre nobody
    // chose. Keep what the box shows, and select an item only when it is exactly that text.
    const QString shown = list->currentText();
    list->clear();
    list->addItems(answer.genres);
    list->setCurrentIndex(shown.isEmpty() ? -1 : list->findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive));
    list->setEditText(shown);
    list->setToolTip(QString());
}

}  // namespace quorvant

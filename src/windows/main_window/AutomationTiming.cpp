#include "windows/main_window/AutomationTiming.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QVBoxLayout>

#include "settings/PathChecks.h"
#include "settings/SettingsFiles.h"
#include "text/Messages.h"
#include "widgets/Contrast.h"
#include "widgets/LedSpin.h"
#include "widgets/StateCheckBox.h"
#include "windows/shared/Controls.h"

namespace quorvant {

AutomationTiming::AutomationTiming(SetupContext& context) : SetupPart(context) {
    auto* page = Named<QWidget>("fraAutomatisatie");
    FieldRows rows(page, context_.bindings);
    const auto led = [&](const char* name, const char* label, const char* section, const char* key,
                         const char* unit = "") {
        return rows.Bound<LedSpin>(name, label, ServerKey(section, key), unit);
    };
    ledPresLevel = led("ledPresLevel", "lblPresNiv", "Faders", "PresLevel", "lblProcent");
    ledPresSpeed = led("ledPresSpeed", "lblPresSpeed", "Faders", "PresSpeed", "lblMsec(0)");
    ledMixSpeed = led("ledMixSpeed", "lblMix", "Faders", "FaderSpeed", "lblMsec(1)");
    ledFaderStap = led("ledFaderStap", "lblFaderStap", "Faders", "PresFactor");
    ledIntroComp = led("ledIntroComp", "lblIntroComp", "Faders", "IntroComp", "lblMsec(2)");
    ledOuttroComp = led("ledOuttroComp", "lblOuttroComp", "Faders", "OuttroComp", "lblMsec(3)");
    ledLatency = led("ledLatency", "lblLatency", "Sequencer", "Latency", "lblMsec(4)");
    ledT6Blok = led("ledT6Blok", "lblTBlok", "Sequencer", "B6Start", "lblMinuten");

    chkIgnoreVT = Named<StateCheckBox>("chkIgnoreVT", QString(), page);
    rows.Row(chkIgnoreVT);

    auto* lblPanic = Named<QLabel>("lblPanic", page);
    cobPanic = Named<QComboBox>("cobPanic", page);
    // Free text: a genre that is not (or not yet) in the list is kept as typed or stored.
    cobPanic->setEditable(true);
    cobPanic->setInsertPolicy(QComboBox::NoInsert);
    cobPanic->setMinimumWidth(260);
    lblPanic->setBuddy(cobPanic);
    // Beside the list: that it is being read, or why there is none. The list's own text stays.
    lblGenres = Named<QLabel>("lblGenres", page);
    lblGenres->setWordWrap(true);
    lblGenres->hide();
    auto* panicRow = new QHBoxLayout;
    panicRow->addWidget(cobPanic, 0, Qt::AlignLeft);
    panicRow->addWidget(lblGenres, 1);
    rows.Row(lblPanic, panicRow);

    rows.Grid()->setColumnStretch(3, 1);
    context_.TabLayout(Tab::Automation)->addWidget(page);
    context_.TabLayout(Tab::Automation)->addStretch(1);

    // An empty PanicGenre leaves the box's text alone; the save writes whatever it shows.
    Add(Bind(ServerKey("Sequencer", "PanicGenre"), cobPanic).Labelled(lblPanic));
    Add(Bind(ServerKey("Sequencer", "IgnoreVT"), chkIgnoreVT).Labelled(chkIgnoreVT));
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
    // The answer may come after the window is gone; while the list is there, so is the page.
    QPointer<QComboBox> list = cobPanic;
    QPointer<QLabel> state = lblGenres;
    context_.services.genres->Request(database, [this, list, state](const GenreList& answer) {
        if (!list) return;
        if (answer.failure == GenreFailure::None) context_.facts.genres = answer.genres;
        FillGenres(list, answer);
        if (state) ShowGenreState(state, list, answer.failure == GenreFailure::None ? QString() : list->toolTip());
        if (answer.failure == GenreFailure::None && context_.factsArrived) context_.factsArrived();
    });
}

void AutomationTiming::ShowGenreState(QLabel* state, QComboBox* list, const QString& warning) {
    list->setToolTip(warning);
    if (warning.isEmpty()) {
        state->hide();
        return;
    }
    // The warning red, as it reads on the label's background (a dark palette too).
    QPalette red = state->palette();
    red.setColor(QPalette::WindowText, WarningColour(red.color(QPalette::Window)));
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
    {
        // The list and its text box keep quiet: each notice would make the window compare every
        // value it would save, twice (the text goes with the old items and comes back), although
        // no value changes. The caller lets the checks look again.
        const QSignalBlocker quiet(list);
        const QSignalBlocker quietText(list->lineEdit());
        list->clear();
        list->addItems(answer.genres);
        list->setCurrentIndex(shown.isEmpty() ? -1 : list->findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive));
        list->setEditText(shown);
    }
    list->setToolTip(QString());
}

}  // namespace quorvant

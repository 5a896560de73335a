#include "app/ProgramServices.h"


#include <QApplication>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <cstdio>

#include "app/CommandLine.h"
#include "app/InstallLayout.h"
#include "app/ProcessSetup.h"
#include "app/StartFolder.h"
#include "platform/SoundDevices.h"
#include "platform/ColourChooser.h"
#include "platform/FolderChooser.h"
#include "platform/GenreDatabase.h"
#include "text/LanguageFile.h"
#include "text/Messages.h"
#include "windows/main_window/frmSetup.h"

// Q_INIT_RESOURCE works only outside a namespace; it makes the linker keep the icons of this
// static library.
static void RegisterIcons() { Q_INIT_RESOURCE(quorvant_icon); }

namespace quorvant {

namespace {
class MessageBoxReporter : public ErrorReporter {
public:
    void Report(QWidget* parent, const QString& title, const QString& message) override {
        QMessageBox::critical(parent, title, message);
    }
    bool Ask(QWidget* parent, const QString& title, const QString& question, const QString& proceed) override {
        QMessageBox box(QMessageBox::Warning, title, question, QMessageBox::NoButton, parent);
        QPushButton* yes = box.addButton(proceed, QMessageBox::AcceptRole);
        box.setDefaultButton(box.addButton(msg::CancelCaption(), QMessageBox::RejectRole));
        box.exec();
        return box.clickedButton() == yes;
    }
    int Choose(QWidget* parent, const QString& title, const QString& question, const QStringList& choices) override {
        QMessageBox box(QMessageBox::Question, title, question, QMessageBox::NoButton, parent);
        QList<QAbstractButton*> buttons;
        for (qsizetype i = 0; i < choices.size(); ++i)
            buttons << box.addButton(choices[i], i + 1 == choices.size() ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
        if (buttons.isEmpty()) return -1;
        box.setDefaultButton(qobject_cast<QPushButton*>(buttons.first()));
        box.setEscapeButton(buttons.last());
        box.exec();
        const qsizetype chosen = buttons.indexOf(box.clickedButton());
        return int(chosen < 0 ? buttons.size() - 1 : chosen);
    }
};

// The command line is settled before the window's application exists, so --help, --version and a
// wrong folder work without a display.
CommandLine ReadCommandLine(int argc, char* argv[]) {
    QCoreApplication core(argc, argv);
    // The package's version, as the project gives it; the window's caption keeps its own form.
    const QString version = QStringLiteral("Quorvant %1.%2.%3")
                                .arg(QUORVANT_VERSION_MAJOR)
                                .arg(QUORVANT_VERSION_MINOR)
                                .arg(QUORVANT_VERSION_BUILD);
    return ParseCommandLine(QCoreApplication::arguments(), version);
}

// Qt's own choosers and message-box buttons in Dutch, like the rest of the window.
void LoadQtDutch(QTranslator& translator) {
    if (translator.load(QStringLiteral("qtbase_nl"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&translator);
}
}  // namespace

struct ProgramServices::Impl {
    explicit Impl(const QString& genreHelper) : genres(genreHelper) {}
    SystemWaveOutDevices waveOut;
    SystemMixerFactory mixers;
    QtFolderChooser folders;
    QtColourChooser colours;
    ProcessGenreSource genres;
    MessageBoxReporter errors;
    std::unique_ptr<Preferences> preferences = SystemPreferences();
};

ProgramServices::ProgramServices(const QString& genreHelper) : impl_(std::make_unique<Impl>(genreHelper)) {
    services_.waveOut = &impl_->waveOut;
    services_.mixers = &impl_->mixers;
    services_.folders = &impl_->folders;
    services_.colours = &impl_->colours;
    services_.genres = &impl_->genres;
    services_.errors = &impl_->errors;
    services_.preferences = impl_->preferences.get();
}

ProgramServices::~ProgramServices() = default;

QIcon ProgramIcon() {
    RegisterIcons();
    QIcon icon;
    // The window system asks for every size the icon has and each is decoded: only those a title
    // bar, a task bar and a task switcher show. The larger files stay for the menu entry.
    // Read as PNG outright: guessing the format first asks every image plugin.
    for (int size : {16, 32, 48}) {
        QImageReader reader(QStringLiteral(":/quorvant/icons/%1x%1/quorvant.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

int RunProgram(int argc, char* argv[], const std::function<void(frmSetup&)>& shown) {
    const CommandLine commandLine = ReadCommandLine(argc, argv);
    switch (commandLine.action) {
        case CommandLine::Action::Help:
        case CommandLine::Action::Version:
            std::fputs(qPrintable(commandLine.text), stdout);
            return 0;
        case CommandLine::Action::Error:
            std::fputs(qPrintable(commandLine.text), stderr);
            return kExitUsage;
        case CommandLine::Action::Run:
            break;
    }

    // Past a file-size limit a save must fail with a message, not end the program and its edits.
    PrepareProcess();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quorvant"));
    // Docks and task bars match the window to its menu entry by this id.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quorvant.Quorvant"));
    // Built in, not looked up in the icon theme: the first theme lookup reads the whole theme,
    // a sixth of the start.
    QApplication::setWindowIcon(ProgramIcon());
    QTranslator qtDutch;
    LoadQtDutch(qtDutch);

    const QString executableFolder = ExecutableFolder();
    ProgramServices services(GenreHelperPath(executableFolder));
    const std::unique_ptr<FolderMemory> memory = SystemFolderMemory();
    const std::optional<QString> programFolder =
        StartFolder(commandLine.folder, executableFolder, *memory, *services.Get().folders, *services.Get().errors);
    if (!programFolder) return 1;

    SetLanguageFolders({executableFolder, InstalledDataFolder(executableFolder)});
    frmSetup window(*programFolder, services.Get());
    window.show();
    if (shown) shown(window);
    const LanguageSource& texts = UsedLanguageFile();
    if (texts.BuiltIn()) services.Get().errors->Report(&window, QStringLiteral("Quorvant"), BuiltInTextsMessage(texts));
    return app.exec();
}

}  // namespace quorvant

#include <signal.h>

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>

#include "app/CommandLine.h"
#include "app/InstallLayout.h"
#include "app/ProgramServices.h"
#include "app/StartFolder.h"
#include "text/LanguageFile.h"
#include "windows/main_window/frmSetup.h"

namespace {

// The command line is settled before the window's application exists, so --help, --version and a
// wrong folder work without a display.
quorvant::CommandLine ReadCommandLine(int argc, char* argv[]) {
    QCoreApplication core(argc, argv);
    return quorvant::ParseCommandLine(QCoreApplication::arguments(), quorvant::frmSetup::VersionCaption());
}

// Qt's own choosers and message-box buttons in Dutch, like the rest of the window.
void LoadQtDutch(QTranslator& translator) {
    if (translator.load(QStringLiteral("qtbase_nl"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&translator);
}

}  // namespace

int main(int argc, char* argv[]) {
    const quorvant::CommandLine commandLine = ReadCommandLine(argc, argv);
    switch (commandLine.action) {
        case quorvant::CommandLine::Action::Help:
        case quorvant::CommandLine::Action::Version:
            std::fputs(qPrintable(commandLine.text), stdout);
            return 0;
        case quorvant::CommandLine::Action::Error:
            std::fputs(qPrintable(commandLine.text), stderr);
            return quorvant::kExitUsage;
        case quorvant::CommandLine::Action::Run:
            break;
    }

    // Past a file-size limit a save must fail with a message, not end the program and its edits.
    signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quorvant"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("quorvant"), QIcon(QStringLiteral(":/quorvant/quorvant.svg"))));
    QTranslator qtDutch;
    LoadQtDutch(qtDutch);

    const QString executableFolder = quorvant::ExecutableFolder();
    quorvant::ProgramServices services(quorvant::GenreHelperPath(executableFolder));
    const std::optional<QString> programFolder =
        quorvant::StartFolder(commandLine.folder, executableFolder, quorvant::RememberFile(), *services.Get().folders);
    if (!programFolder) return 1;

    quorvant::SetLanguageFolders({executableFolder, quorvant::InstalledDataFolder(executableFolder)});
    quorvant::frmSetup window(*programFolder, services.Get());
    window.show();
    const quorvant::LanguageSource& texts = quorvant::UsedLanguageFile();
    if (texts.BuiltIn()) services.Get().errors->Report(&window, QStringLiteral("Quorvant"), quorvant::BuiltInTextsMessage(texts));
    return app.exec();
}

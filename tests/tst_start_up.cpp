// The program's start: command line, which folder it edits, where its texts come from.
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/CommandLine.h"
#include "app/ProgramServices.h"
#include "widgets/Icons.h"
#include "app/StartFolder.h"
#include "platform/FolderChooser.h"
#include "support/Fakes.h"
#include "support/TestFolder.h"
#include "settings/IniAccessor.h"
#include "settings/PathChecks.h"
#include "text/LanguageFile.h"
#include "text/TextTable.h"
#include "windows/main_window/frmSetup.h"

using namespace quorvant;
using namespace quorvant::test;

namespace {
const QString kProgram = QStringLiteral(QUORVANT_BUILD_DIR "/quorvant");
const QString kVersion = QStringLiteral("Quorvant 9.8 build 7");

// Runs the program without any display, so only what happens before a window can succeed.
struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};
Run RunProgram(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.insert("QT_QPA_PLATFORM", "xcb");  // would fail at once if a window were attempted
    process.setProcessEnvironment(environment);
    process.start(kProgram, arguments);
    if (!process.waitForFinished(30000)) process.kill();
    // Windows' C runtime ends a printed line with CR LF.
    const auto text = [](const QByteArray& bytes) { return QString::fromUtf8(bytes).replace("\r\n", "\n"); };
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            text(process.readAllStandardOutput()), text(process.readAllStandardError())};
}
}  // namespace

class StartUpTest : public QObject {
    Q_OBJECT

private slots:
    // A scratch home and configuration folder, so nothing the program writes there is lost.
    void initTestCase() {
        QVERIFY(home_.isValid());
        qputenv("HOME", QFile::encodeName(home_.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home_.path() + "/.config"));
    }
    void init() { ResetProgramState(); }

    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");  // after the program name; @ = a temp folder
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("folder");  // expected, @ = the temp folder
        QTest::addColumn<QString>("text");    // part of the output
        using A = CommandLine::Action;
        QTest::newRow("nothing: the executable's folder") << QStringList{} << int(A::Run) << "" << "";
        QTest::newRow("folder") << QStringList{"--folder", "@"} << int(A::Run) << "@" << "";
        QTest::newRow("folder with =") << QStringList{"--folder=@"} << int(A::Run) << "@" << "";
        QTest::newRow("trailing separator dropped") << QStringList{"--folder", "@/"} << int(A::Run) << "@" << "";
        QTest::newRow("dot segments cleaned") << QStringList{"--folder", "@/sub/.."} << int(A::Run) << "@" << "";
        QTest::newRow("missing folder") << QStringList{"--folder", "@/none"} << int(A::Error) << ""
                                        << "does not exist";
        QTest::newRow("a file, not a folder") << QStringList{"--folder", "@/server.ini"} << int(A::Error) << ""
                                              << "is not a folder";
        QTest::newRow("empty folder") << QStringList{"--folder", ""} << int(A::Error) << "" << "needs a folder";
        QTest::newRow("folder without value") << QStringList{"--folder"} << int(A::Error) << "" << "--help";
        QTest::newRow("twice") << QStringList{"--folder", "@", "--folder", "@"} << int(A::Error) << ""
                               << "more than once";
        QTest::newRow("unknown option") << QStringList{"--fodler", "@"} << int(A::Error) << "" << "fodler";
        QTest::newRow("stray argument") << QStringList{"@"} << int(A::Error) << "" << "unexpected argument";
        QTest::newRow("help") << QStringList{"--help"} << int(A::Help) << "" << "--folder <DIR>";
        QTest::newRow("help wins over a bad folder") << QStringList{"--folder", "@/none", "-h"} << int(A::Help) << ""
                                                     << "--version";
        QTest::newRow("version") << QStringList{"--version"} << int(A::Version) << "" << kVersion + "\n";
        // Qt's own options are left to its application object, with or without their values.
        QTest::newRow("Qt: -platform before --version") << QStringList{"-platform", "offscreen", "--version"}
                                                        << int(A::Version) << "" << kVersion;
        QTest::newRow("Qt: options beside --folder") << QStringList{"-style", "fusion", "-reverse", "--folder", "@", "-display", ":9"}
                                                     << int(A::Run) << "@" << "";
        QTest::newRow("Qt: = form and two dashes") << QStringList{"-style=fusion", "-qmljsdebugger=port:1", "--platform", "xcb"}
                                                   << int(A::Run) << "" << "";
        QTest::newRow("Qt: option without its value") << QStringList{"-platform"} << int(A::Error) << "" << "platform";
        QTest::newRow("Qt: a misspelt one is still refused") << QStringList{"-plattform", "xcb"} << int(A::Error) << ""
                                                             << "plattform";
        QTest::newRow("help names Qt's options in one line") << QStringList{"--help"} << int(A::Help) << "" << "-platform, -style";
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        QFETCH(QString, folder);
        QFETCH(QString, text);
        QTemporaryDir dir;
        WriteFile(dir.path() + "/server.ini", "[Files]\n");
        QDir(dir.path()).mkdir("sub");
        for (QString& argument : arguments) argument.replace("@", dir.path());
        const CommandLine result = ParseCommandLine(QStringList{"quorvant"} + arguments, kVersion);
        QCOMPARE(int(result.action), action);
        QCOMPARE(result.folder, QString(folder).replace("@", dir.path()));
        QVERIFY2(result.text.contains(text), qPrintable(result.text));
    }

    // Without a display: help, version and a wrong folder all end before any window.
    void programEndsBeforeTheWindow() {
        QTemporaryDir dir;
        for (const QStringList& qt : {QStringList{}, QStringList{"-platform", "offscreen"}}) {
            const Run version = RunProgram(qt + QStringList{"--version"});
            QCOMPARE(version.exitCode, 0);
            QCOMPARE(version.out, QString("Quorvant %1.%2.%3\n").arg(QUORVANT_VERSION_MAJOR).arg(QUORVANT_VERSION_MINOR).arg(QUORVANT_VERSION_BUILD));
            const Run help = RunProgram(qt + QStringList{"--help"});
            QCOMPARE(help.exitCode, 0);
            QVERIFY(help.out.contains("--folder") && !help.out.contains("--platform"));
        }

        const QString missing = dir.path() + "/server";
        const Run wrong = RunProgram({"--folder", missing});
        QCOMPARE(wrong.exitCode, 2);
        QVERIFY2(wrong.err.contains(missing) && wrong.err.contains("does not exist"), qPrintable(wrong.err));
        QVERIFY(wrong.out.isEmpty());
        QVERIFY(!QFileInfo::exists(missing));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    }

    // The window's icon needs no image plugin (no SVG) and no icon theme. It has only the sizes a
    // window shows (each is decoded at start); the larger ones stay in the resources.
    void windowIconIsBuiltIn() {
        const QStringList pluginFolders = QCoreApplication::libraryPaths();
        QCoreApplication::setLibraryPaths({});
        const QIcon icon = ProgramIcon();
        QCoreApplication::setLibraryPaths(pluginFolders);
        QVERIFY(icon.name().isEmpty());
        QList<QSize> sizes;
        for (int size : {16, 32, 48}) sizes.append(QSize(size, size));
        QCOMPARE(icon.availableSizes(), sizes);
        for (int size : {22, 24, 64, 128, 256})
            QVERIFY(QFile::exists(QStringLiteral(":/quorvant/icons/%1x%1/quorvant.png").arg(size)));
        // The check marks' warning icon is drawn by the program, without a theme too.
        const QIcon warning = WarningIcon();
        QVERIFY(warning.name().isEmpty() && !warning.pixmap(16).isNull());
        for (const QSize& size : sizes) {
            const QImage image = icon.pixmap(size).toImage();
            QCOMPARE(image.size(), size);
            QCOMPARE(image.pixelColor(size.width() / 8, size.height() / 2), QColor(0x1f, 0x3a, 0x5f));
        }
    }

    void startFolder_data() {
        QTest::addColumn<QString>("given");          // "" or "other"
        QTest::addColumn<bool>("serverIniBeside");   // server.ini in the executable's folder
        QTest::addColumn<bool>("installed");         // a share/quorvant beside bin/
        QTest::addColumn<QString>("remembered");     // "" none, "other", "gone"
        QTest::addColumn<QString>("answer");         // chooser: "" cancel, "other"; "qt": Qt's, cancelled
        QTest::addColumn<QString>("expected");       // "bin", "other", "" (program ends)
        QTest::addColumn<int>("questions");
        QTest::addColumn<QString>("rememberedAfter");
        QTest::addColumn<QString>("replies");  // to the empty-folder question, in turn: another, open, stop
        QTest::addColumn<QString>("told");     // what the user was told: "gone" (remembered folder), "empty"
        // "other" holds a server.ini, "empty" neither file.
        QTest::newRow("--folder wins") << "other" << false << true << "" << "" << "other" << 0 << "" << "" << "";
        QTest::newRow("--folder wins over remembered") << "other" << false << true << "bin" << "" << "other" << 0 << "bin"
                                                       << "" << "";
        QTest::newRow("build folder with server.ini") << "" << true << true << "" << "" << "bin" << 0 << "" << "" << "";
        QTest::newRow("writable folder, not installed") << "" << false << false << "" << "" << "bin" << 0 << "" << ""
                                                        << "";
        QTest::newRow("installed: remembered folder") << "" << false << true << "other" << "" << "other" << 0 << "other"
                                                      << "" << "";
        QTest::newRow("installed: asks and remembers") << "" << false << true << "" << "other" << "other" << 1 << "other"
                                                       << "" << "";
        QTest::newRow("installed: remembered folder gone, says so and asks")
            << "" << false << true << "gone" << "other" << "other" << 1 << "other" << "" << "gone";
        QTest::newRow("installed: cancel writes nothing") << "" << false << true << "" << "" << "" << 1 << "" << "" << "";
        QTest::newRow("installed: Qt's chooser cancelled writes nothing, not even Qt's settings")
            << "" << false << true << "" << "qt" << "" << 1 << "" << "" << "";
        QTest::newRow("--folder empty: open anyway") << "empty" << false << true << "" << "" << "empty" << 0 << ""
                                                     << "open" << "empty";
        QTest::newRow("--folder empty: stop") << "empty" << false << true << "" << "" << "" << 0 << "" << "stop"
                                              << "empty";
        QTest::newRow("--folder empty: another folder, not remembered")
            << "empty" << false << true << "" << "other" << "other" << 1 << "" << "another" << "empty";
        QTest::newRow("installed: empty folder remembered only once settled")
            << "" << false << true << "" << "empty" << "empty" << 1 << "empty" << "open" << "empty";
        QTest::newRow("installed: empty folder, stop remembers nothing")
            << "" << false << true << "" << "empty" << "" << 1 << "" << "stop" << "empty";
        QTest::newRow("installed: empty folder, chooser again")
            << "" << false << true << "" << "empty" << "" << 2 << "" << "another,stop" << "empty,empty";
    }
    void startFolder() {
        QFETCH(QString, given);
        QFETCH(bool, serverIniBeside);
        QFETCH(bool, installed);
        QFETCH(QString, remembered);
        QFETCH(QString, answer);
        QFETCH(QString, expected);
        QFETCH(int, questions);
        QFETCH(QString, rememberedAfter);
        QFETCH(QString, replies);
        QFETCH(QString, told);
        if (QSysInfo::kernelType() == "winnt" && !installed)
            QSKIP("On Windows the data lies beside the program: every copy outside the server's folder counts as installed");
        QTemporaryDir prefix;
        QDir(prefix.path()).mkpath("bin");
        QDir(prefix.path()).mkpath("other");
        QDir(prefix.path()).mkpath("empty");
        WriteFile(prefix.path() + "/other/server.ini", "");
        if (installed) QDir(prefix.path()).mkpath("share/quorvant");
        if (serverIniBeside) WriteFile(prefix.path() + "/bin/server.ini", "");
        const auto path = [&](const QString& name) { return name.isEmpty() ? QString() : prefix.path() + "/" + name; };
        const QString rememberFile = prefix.path() + "/config/quorvant/quorvant.ini";
        if (!remembered.isEmpty()) {
            QDir().mkpath(prefix.path() + "/config/quorvant");
            WriteFile(rememberFile, "[Start]\nProgramFolder=" + path(remembered).toUtf8() + "\n");
        }
        FakeFolderChooser fake;
        if (answer != "qt") fake.answer = path(answer);
        QtFolderChooser qt;
        int qtQuestions = 0;
        QTimer cancel;  // presses the cancel button of Qt's chooser once it is shown
        QObject::connect(&cancel, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            auto* buttons = modal ? modal->findChild<QDialogButtonBox*>() : nullptr;
            if (!buttons) return;
            ++qtQuestions;
            buttons->button(QDialogButtonBox::Cancel)->click();
        });
        if (answer == "qt") cancel.start(10);
        FolderChooser& chooser = answer == "qt" ? static_cast<FolderChooser&>(qt) : fake;

        RecordingErrorReporter reporter;
        const QStringList answers = {"another", "open", "stop"};
        for (const QString& reply : replies.split(',', Qt::SkipEmptyParts)) reporter.picks.push_back(int(answers.indexOf(reply)));

        IniFolderMemory memory(rememberFile);
        const std::optional<QString> folder = StartFolder(path(given), path("bin"), memory, chooser, reporter);
        // A chosen folder is kept in the system's own notation.
        QCOMPARE(QDir::fromNativeSeparators(folder.value_or(QString())), path(expected));
        QCOMPARE((QStringList(reporter.reports.size(), "gone") + QStringList(reporter.choices.size(), "empty")).join(','),
                 told);
        for (const auto& question : reporter.choices) QVERIFY(question.message.contains(QDir::toNativeSeparators(path("empty"))));
        QCOMPARE(answer == "qt" ? qtQuestions : fake.calls, questions);
        // The user's configuration folder (a scratch one for this test) got nothing either.
        QVERIFY2(!QFileInfo::exists(home_.path() + "/.config"),
                 qPrintable(QDir(home_.path() + "/.config").entryList(QDir::AllEntries | QDir::NoDotAndDotDot).join(", ")));
        if (rememberedAfter.isEmpty() && remembered.isEmpty()) {
            QVERIFY(!QFileInfo::exists(rememberFile));
        } else {
            QCOMPARE(QDir::fromNativeSeparators(IniValueInFile(rememberFile, "Start", "ProgramFolder")), path(rememberedAfter));
        }
    }

    void languageFileLookup_data() {
        QTest::addColumn<QByteArray>("inProgram");    // "" none; "dir": a folder of that name
        QTest::addColumn<QByteArray>("besideExe");
        QTest::addColumn<QByteArray>("installed");
        QTest::addColumn<QString>("usedFrom");        // "program", "exe", "installed", "" built in
        QTest::addColumn<QString>("text104");
        QTest::addColumn<int>("unreadable");
        const QByteArray a = "[Language]\n104=Uit programmamap\n";
        const QByteArray b = "[Language]\n104=Naast het programma\n";
        const QByteArray c = "[Language]\n104=Geinstalleerd\n";
        QTest::newRow("program folder first") << a << b << c << "program" << "Uit programmamap" << 0;
        QTest::newRow("then beside the executable") << QByteArray() << b << c << "exe" << "Naast het programma" << 1;
        QTest::newRow("then the installed data folder") << QByteArray() << QByteArray() << c << "installed"
                                                        << "Geinstalleerd" << 2;
        QTest::newRow("a folder named like the file is skipped") << QByteArray("dir") << QByteArray() << c
                                                                 << "installed" << "Geinstalleerd" << 2;
        QTest::newRow("a file without texts is skipped") << QByteArray("[Other]\n104=x\n") << b << c << "exe"
                                                         << "Naast het programma" << 1;
        QTest::newRow("none: built-in Dutch texts") << QByteArray() << QByteArray() << QByteArray() << ""
                                                    << "Bestandslocaties" << 3;
        QTest::newRow("only empty files: built in") << QByteArray("[Language]\n") << QByteArray("\n") << QByteArray()
                                                    << "" << "Bestandslocaties" << 3;
    }
    void languageFileLookup() {
        QFETCH(QByteArray, inProgram);
        QFETCH(QByteArray, besideExe);
        QFETCH(QByteArray, installed);
        QFETCH(QString, usedFrom);
        QFETCH(QString, text104);
        QFETCH(int, unreadable);
        QTemporaryDir root;
        const QHash<QString, QByteArray> files{{"program", inProgram}, {"exe", besideExe}, {"installed", installed}};
        for (auto it = files.cbegin(); it != files.cend(); ++it) {
            QDir(root.path()).mkpath(it.key());
            const QString file = root.path() + "/" + it.key() + "/quorvant.lng";
            if (it.value() == "dir")
                QDir().mkpath(file);
            else if (!it.value().isEmpty())
                WriteFile(file, it.value());
        }
        SetLanguageFolders({root.path() + "/exe", root.path() + "/installed"});
        LaadTaal(root.path() + "/program");
        SetLanguageFolders({});

        QCOMPARE(Text(104), text104);
        const LanguageSource& used = UsedLanguageFile();
        QCOMPARE(used.file, usedFrom.isEmpty() ? QString() : JoinPath(root.path() + "/" + usedFrom, "quorvant.lng"));
        QCOMPARE(used.unreadable.size(), unreadable);
        if (used.BuiltIn()) {
            QCOMPARE(Text(132), QString("&Annuleer"));  // the whole table, not only one text
            const QString message = BuiltInTextsMessage(used);
            QVERIFY2(message.contains(JoinPath(root.path() + "/program", "quorvant.lng")) &&
                         message.contains(JoinPath(root.path() + "/installed", "quorvant.lng")),
                     qPrintable(message));
        }
    }

private:
    QTemporaryDir home_;
};

QTEST_MAIN(StartUpTest)
#include "tst_start_up.moc"

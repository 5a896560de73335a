// The main window as a whole: start-up, texts, the file locations page, save and quit.
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include "settings/History.h"
#include "support/Fakes.h"
#include "support/TestFolder.h"
#include "support/WindowFixture.h"
#include "text/TextTable.h"
#include "widgets/LedSpin.h"
#include "windows/main_window/AutomationTiming.h"
#include "windows/main_window/ExternalNews.h"
#include "windows/main_window/FileLocations.h"
#include "windows/main_window/frmSetup.h"
#include "windows/shared/HistoryNotices.h"
#include "windows/shared/OutsideChanges.h"
#include "windows/shared/StatusLine.h"

using namespace quorvant;
using namespace quorvant::test;

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void startsWithDutchTabsAndVersionCaption() {
        TempProgramFolder folder;
        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        const QStringList expected = {"Bestandslocaties", "Geluidskaarten", "Automatisatie", "Allerlei",
                                      "Kleuren",          "Externe Audio",  "I/O Interface", "Inter PC",
                                      "Tijdseinblok",     "Externe Aansturing", "Extern Nieuws", "Vlottende Reclame",
                                      "Intern Nieuws"};
        QCOMPARE(window.tabSetup->count(), 13);
        for (int tab = 0; tab < 13; ++tab) QCOMPARE(window.tabSetup->tabText(tab), expected[tab]);
        QCOMPARE(window.tabSetup->currentIndex(), 0);
        QVERIFY(!window.tabSetup->isTabEnabled(11));
        QCOMPARE(window.windowTitle(), QString("Quorvant %1.%2 build %3")
                                           .arg(QUORVANT_VERSION_MAJOR)
                                           .arg(QUORVANT_VERSION_MINOR)
                                           .arg(QUORVANT_VERSION_BUILD));
        // Nothing is written by opening.
        QVERIFY(!folder.Exists("server.ini"));
        QVERIFY(!folder.Exists("news.ini"));
    }

    // Never a window without texts: the Dutch texts built into the program fill it.
    void withoutLanguageFileTheBuiltInTextsAreShown() {
        TempProgramFolder folder(false);
        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        for (int tab = 0; tab < 13; ++tab) QVERIFY(!window.tabSetup->tabText(tab).isEmpty());
        QCOMPARE(window.tabSetup->tabText(0), QString("Bestandslocaties"));
        QCOMPARE(window.Files().lblLocaties[0]->text(), QString("Databases"));
        QCOMPARE(window.windowTitle(), frmSetup::VersionCaption());
    }

    void languageFileTextsAreTakenAsTheyStand_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << QByteArray("[Language]\n104=Paden\n") << 104 << "Paden";
        QTest::newRow("ampersand kept") << QByteArray("[Language]\n132=&Annuleer\n") << 132 << "&Annuleer";
        QTest::newRow("blanks kept") << QByteArray("[Language]\n117= Databank \n") << 117 << " Databank ";
        QTest::newRow("key 100 never read") << QByteArray("[Language]\n100=x\n") << 100 << "";
        QTest::newRow("key 451 never read") << QByteArray("[Language]\n451=x\n") << 451 << "";
        QTest::newRow("other section ignored") << QByteArray("[Other]\n104=x\n[Language]\n105=y\n") << 104 << "";
        QTest::newRow("last id read") << QByteArray("[Language]\n450=laatste\n") << 450 << "laatste";
    }
    void languageFileTextsAreTakenAsTheyStand() {
        QFETCH(QByteArray, file);
        QFETCH(int, id);
        QFETCH(QString, expected);
        TempProgramFolder folder(false);
        folder.Write("quorvant.lng", file);
        LaadTaal(folder.Path());
        QCOMPARE(Text(id), expected);
    }

    void missingTextLeavesOnlyThatCaptionEmpty() {
        TempProgramFolder folder(false);
        QByteArray language = ReadFile(QString(QUORVANT_SOURCE_DIR) + "/resources/quorvant.lng");
        language.replace("\n104=Bestandslocaties\n", "\n");
        folder.Write("quorvant.lng", language);
        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        QCOMPARE(window.tabSetup->tabText(0), QString());
        QCOMPARE(window.tabSetup->tabText(1), QString("Geluidskaarten"));
    }

    void filesRoundTripKeepsEverythingElse() {
        TempProgramFolder folder;
        const QByteArray original =
            "; settings of the server\r\n"
            "[files]\r\n"
            "databasepath=/srv/db\r\n"
            "LogPath = /var/log/x \r\n"
            "Unknown=keep me\r\n"
            "\r\n"
            "[Other]\r\n"
            "A=1\r\n";
        folder.Write("server.ini", original);
        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        FileLocations& files = window.Files();
        QCOMPARE(files.txtDatabase->text(), QString("/srv/db"));
        QCOMPARE(files.txtLog->text(), QString(" /var/log/x "));
        QCOMPARE(files.txtRepeat->text(), QString());
        QCOMPARE(window.DatabasePath(), QString("/srv/db"));

        files.txtFrag->setText("  /srv/frag  ");
        QVERIFY(window.cmdSave_Click());
        const QString server = folder.File("server.ini");
        const QByteArray saved = folder.Read("server.ini");
        // Untouched lines are byte for byte as they were; new keys follow the section's last key.
        QVERIFY2(saved.startsWith("; settings of the server\r\n[files]\r\ndatabasepath=/srv/db\r\nLogPath = /var/log/x \r\n"
                                  "Unknown=keep me\r\nRepeatPath=\r\nFragPath=  /srv/frag  \r\n"),
                 saved.constData());
        QVERIFY(saved.contains("[Other]\r\nA=1\r\n"));
        QCOMPARE(IniValueInFile(server, "Files", "FragPath"), QString("  /srv/frag  "));
        QCOMPARE(fakes.errors.reports.size(), 0);
    }

    void filesMissingSectionWritesFourEmptyKeys() {
        TempProgramFolder folder;
        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        QVERIFY(window.cmdSave_Click());
        const QString server = folder.File("server.ini");
        for (const char* key : {"DatabasePath", "LogPath", "RepeatPath", "FragPath"})
            QCOMPARE(IniValueInFile(server, "Files", key), QString(""));
        // Saving twice writes the same again and leaves the window usable.
        const QByteArray first = folder.Read("server.ini");
        QVERIFY(window.cmdSave_Click());
        QCOMPARE(folder.Read("server.ini"), first);
    }

    void editingDatabaseBoxDoesNotMoveThisRunsDatabaseFolder() {
        TempProgramFolder folder;
        folder.Write("server.ini", "[Files]\nDatabasePath=/a\n");
        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        window.Files().txtDatabase->setText("/b");
        QVERIFY(window.cmdSave_Click());
        QCOMPARE(window.DatabasePath(), QString("/a"));
        QCOMPARE(IniValueInFile(folder.File("server.ini"), "Files", "DatabasePath"), QString("/b"));
    }

    void browseUsesTrimmedStartFolderAndKeepsBoxOnCancel_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("prompt");
        QTest::newRow("database") << 0 << "Geef de locatie van de database bestanden op";
        QTest::newRow("log") << 1 << "Geef de locatie van de logfile op";
        QTest::newRow("repeat") << 2 << "Geef de locatie van de heruitzendbare programma 's op";
        QTest::newRow("fragments") << 4 << "Geef de locatie van de geluidsfragmenten op";
    }
    void browseUsesTrimmedStartFolderAndKeepsBoxOnCancel() {
        QFETCH(int, index);
        QFETCH(QString, prompt);
        TempProgramFolder folder;
        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        FileLocations& files = window.Files();
        QLineEdit* boxes[] = {files.txtDatabase, files.txtLog, files.txtRepeat, nullptr, files.txtFrag};
        QLineEdit* box = boxes[index];
        box->setText("  /srv/old  ");

        fakes.folders.answer.reset();
        files.cmdPath[index]->click();
        QCOMPARE(fakes.folders.calls, 1);
        QCOMPARE(fakes.folders.lastPrompt, prompt);
        QCOMPARE(fakes.folders.lastStartFolder, QString("/srv/old"));
        QCOMPARE(fakes.folders.lastCaptions.ok, QString("&OK"));
        QCOMPARE(fakes.folders.lastCaptions.newFolder, QString("&Nieuw"));
        QCOMPARE(fakes.folders.lastCaptions.cancel, QString("&Annuleer"));
        QCOMPARE(box->text(), QString("  /srv/old  "));  // cancel keeps the configured path

        fakes.folders.answer = QString("/srv/new");
        files.cmdPath[index]->click();
        QCOMPARE(box->text(), QString("/srv/new"));
        QVERIFY(!folder.Exists("server.ini"));  // browsing saves nothing
    }

    // A file the save cannot write is told with its reason; the other file is written and its
    // edits are no longer unsaved, and the window keeps showing every value.
    void failedSaveTellsWhichFileAndKeepsValues_data() {
        QTest::addColumn<bool>("folderGone");  // else news.ini alone cannot be written
        QTest::addColumn<QStringList>("reported");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("unsaved");
        const QString time = R"(^Niet bewaard \(\d\d:\d\d:\d\d\): )";
        QTest::newRow("program folder gone")
            << true << QStringList{"server.ini", "news.ini"} << time + "server.ini: .*; news.ini: [^;]*$"
            << QStringList{"Bestandslocaties", "Intern Nieuws"};
        QTest::newRow("news.ini read-only")
            << false << QStringList{"news.ini"} << time + "news.ini: .*; bewaard: server.ini$"
            << QStringList{"Intern Nieuws"};
    }
    void failedSaveTellsWhichFileAndKeepsValues() {
        QFETCH(bool, folderGone);
        QFETCH(QStringList, reported);
        QFETCH(QString, status);
        QFETCH(QStringList, unsaved);
        TempProgramFolder folder;
        folder.Write("news.ini", "[Blokken]\nBlokkenPath=/n\n");
        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        window.Files().txtLog->setText("/x");
        window.News().txtNews->setText("/nieuws");
        if (folderGone && QSysInfo::kernelType() == "winnt")
            QSKIP("Windows keeps a folder a program watches from being removed");
        if (folderGone)
            QDir(folder.Path()).removeRecursively();
        else
            QVERIFY(QFile::setPermissions(folder.File("news.ini"), QFile::ReadOwner));
        QVERIFY(!window.cmdSave_Click());
        QCOMPARE(fakes.errors.reports.size(), reported.size());
        for (int i = 0; i < reported.size(); ++i) QVERIFY(fakes.errors.reports[i].message.contains(reported[i]));
        QVERIFY2(QRegularExpression(status).match(window.statusLine->Text()).hasMatch(),
                 qPrintable(window.statusLine->Text()));
        QCOMPARE(window.statusLine->Edits().Places(), unsaved);
        QCOMPARE(window.Files().txtLog->text(), QString("/x"));
        QCOMPARE(window.News().txtNews->text(), QString("/nieuws"));
        if (!folderGone) QCOMPARE(IniValueInFile(folder.File("server.ini"), "Files", "LogPath"), QString("/x"));
    }

    // Another hand changes PresLevel in server.ini while the window is open. Without edits to the
    // file the window reads it again and says what changed and, when the history knows, by whom.
    // With edits it keeps them and says so; "Opnieuw inlezen" drops them, a save (its default
    // answer) keeps the other hand's PresLevel beside the window's PresSpeed.
    void outsideChangeReachesTheWindow_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("edited");
        QTest::addColumn<QString>("by");
        for (const bool edited : {false, true}) {
            const char* state = edited ? "edited" : "clean";
            QTest::addRow("quorvant-ini set, %s", state) << "set" << edited << " (quorvant-ini, ";
            QTest::addRow("file written, %s", state) << "write" << edited << "";
            QTest::addRow("restored, %s", state) << "restore" << edited << " (quorvant, versie 1 teruggezet, ";
        }
    }
    void outsideChangeReachesTheWindow() {
        QFETCH(QString, how);
        QFETCH(bool, edited);
        QFETCH(QString, by);
        WindowFixture f("[Faders]\r\nPresLevel=80\r\nPresSpeed=10\r\n");
        const QString file = f.folder.File("server.ini");
        AutomationTiming& page = f.window->Automation();
        if (edited) page.ledPresSpeed->SetValue(20);
        const QByteArray changed = "[Faders]\r\nPresLevel=90\r\nPresSpeed=10\r\n";
        if (how == "set") {
            QProcess tool;
            tool.start(QUORVANT_BUILD_DIR "/quorvant-ini", {file, "set", "Faders", "PresLevel", "90"});
            QVERIFY(tool.waitForFinished() && tool.exitCode() == 0);
        } else if (how == "write") {
            f.folder.Write("server.ini", changed);
        } else {
            history::PutBack(file, changed, history::RestoreAction(1));
            HistoryNotices::Hub().Restored(file);
        }
        QEvent activate(QEvent::WindowActivate);  // coming back to the window looks
        QCoreApplication::sendEvent(f.window.get(), &activate);
        QPushButton* readAgain = OutsideChanges::Of(f.window.get())->ReadAgainButton();
        const QString line = f.window->statusLine->Text();
        const QString what = edited ? "server.ini is buiten dit venster gewijzigd: PresLevel 80 → 90"
                                    : "server.ini opnieuw ingelezen: PresLevel 80 → 90";
        QVERIFY2(line.contains(what + by) && (by.isEmpty() || line.contains(QRegularExpression(R"(@.*, \d\d:\d\d\))"))),
                 qPrintable(line));
        QCOMPARE(page.ledPresLevel->Value(), edited ? 80 : 90);
        QCOMPARE(readAgain->isVisibleTo(f.window.get()), edited);
        if (edited && how == "restore") {
            readAgain->click();
            QCOMPARE(page.ledPresLevel->Value(), 90);
            QCOMPARE(page.ledPresSpeed->Value(), 10);
        } else if (edited) {
            f.fakes.errors.picks = {0};  // "Alleen mijn wijzigingen bewaren"
        }
        QVERIFY(f.window->cmdSave_Click());
        QCOMPARE(f.fakes.errors.choices.size(), edited && how != "restore" ? 1 : 0);
        QCOMPARE(f.Saved("Faders", "PresLevel"), QString("90"));
        QCOMPARE(f.Saved("Faders", "PresSpeed"), QString(edited && how != "restore" ? "20" : "10"));
        QCOMPARE(page.ledPresLevel->Value(), 90);
        QVERIFY(!f.window->statusLine->Edits().Dirty());
        // The window's own save is no news to it.
        QCoreApplication::sendEvent(f.window.get(), &activate);
        QVERIFY2(!f.window->statusLine->Text().contains("gewijzigd:"), qPrintable(f.window->statusLine->Text()));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"

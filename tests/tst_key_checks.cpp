// The checks of what the server will read: one table, run through the main window's marks and
// through `quorvant-ini check`, which must agree.
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "schema/KeyChecks.h"
#include "support/Fakes.h"
#include "support/TestFolder.h"
#include "widgets/LedSpin.h"
#include "windows/main_window/AutomationTiming.h"
#include "windows/main_window/frmSetup.h"
#include "windows/shared/CheckMarks.h"

using namespace quorvant;
using namespace quorvant::test;

namespace {
const QString kTool = QStringLiteral(QUORVANT_BUILD_DIR "/quorvant-ini");

// "@db": a database folder with data.mdb, "@nodb": a folder without it, "@none": no folder.
QString Placed(QString text, const TempProgramFolder& folder) {
    text.replace("@nodb", folder.Path());
    text.replace("@db", folder.DatabaseFolder());
    return text.replace("@none", folder.Path() + "/none");
}

// A database folder whose data.mdb nothing here reads.
void AddDatabase(const TempProgramFolder& folder) {
    QDir().mkpath(folder.DatabaseFolder());
    WriteFile(folder.DatabaseFolder() + "/data.mdb", "not read here");
}

schema::File FileOf(const QString& section, const QString& key) {
    return schema::Lookup(schema::File::Server, section, key) ? schema::File::Server : schema::File::News;
}

// The verdict the tool's line gives, from its wording.
QString ToolVerdict(const QString& out, const QString& section, const QString& key) {
    for (const QString& line : out.split('\n'))
        if (line.contains(QString(": [%1] %2=").arg(section, key)))
            return line.contains(" is not ") ? "unreadable" : line.contains(" is outside ") ? "limits" : "reference";
    return "fine";
}
}  // namespace

class KeyChecksTest : public QObject {
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void windowAndToolAgree_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("context");  // other lines of the section
        QTest::addColumn<QString>("verdict");
        const auto row = [](const char* name, const char* section, const char* key, const char* text,
                            const char* verdict, const char* context = "") {
            QTest::newRow(name) << section << key << text << context << verdict;
        };
        row("LED field", "Faders", "PresLevel", "80", "fine");
        row("LED field: empty gives its default", "Faders", "PresLevel", "", "fine");
        row("LED field: a word", "Faders", "PresLevel", "abc", "unreadable");
        row("LED field: kept out of range", "Faders", "PresLevel", "9999999", "limits");
        row("LED field without default: empty", "Faders", "Level1", "", "unreadable");
        row("LED field below its lowest", "Sequencer", "B6Start", "49", "limits");
        row("16-bit card number", "AudioPlayers", "Player_A_card", "40000", "unreadable");
        row("list position past the list", "Sequencer", "B6-1", "8", "limits");
        row("check state 3", "Sequencer", "IgnoreVT", "3", "unreadable");
        row("check state empty is off", "Sequencer", "IgnoreVT", "", "fine");
        row("option compared as text", "program", "Login", "1.0", "unreadable");
        row("option out of its buttons", "program", "Slave", "2", "limits");
        row("one-means-on: a word", "program", "Sabam", "yes", "unreadable");
        row("colour past 0xFFFFFF", "Colors", "MusBack", "16777216", "limits");
        row("colour in hex", "Colors", "MusBack", "0x10", "unreadable");
        row("day string", "ExtNews", "MA", "000000011111111111100000", "fine");
        row("day string: a 3", "ExtNews", "MA", "000000011111111111100003", "unreadable");
        row("day string: 23 hours", "ExtNews", "MA", "00000001111111111110000", "unreadable");
        row("folder there", "Files", "LogPath", "@db", "fine");
        row("folder missing", "Files", "LogPath", "@none", "reference");
        row("folder relative: not checked", "Files", "LogPath", "logs", "fine");
        row("database folder without data.mdb", "Files", "DatabasePath", "@nodb", "reference");
        row("database folder with data.mdb", "Files", "DatabasePath", "@db", "fine");
        row("news folder missing", "Blokken", "BlokkenPath", "@none", "reference");
        row("port of a disabled link: none", "InterPC", "HostPortRDS", "0", "fine");
        row("port of an enabled link: none", "InterPC", "HostPortRDS", "0", "reference",
            "NetworkRDS=1\nRemotePortRDS=1\n");
        row("port: a word", "InterPC", "RemotePortRDS", "abc", "unreadable");
        row("port past 65535", "InterPC", "RemotePortEXT", "70000", "limits");
        row("host port of two enabled links", "InterPC", "HostPortWEB", "5002", "reference",
            "NetworkRDS=1\nRemotePortRDS=1\nHostPortRDS=5002\nNetworkWEB=1\nRemotePortWEB=2\n");
        row("host port shared with a disabled link", "InterPC", "HostPortWEB", "5002", "fine",
            "NetworkRDS=0\nHostPortRDS=5002\nNetworkWEB=1\nRemotePortWEB=2\n");
    }
    void windowAndToolAgree() {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(QString, context);
        QFETCH(QString, verdict);
        TempProgramFolder folder;
        AddDatabase(folder);
        const schema::File file = FileOf(section, key);
        const QString name = schema::FileName(file);
        const QString lines = QString("[%1]\n%2=%3\n%4").arg(section, key, Placed(text, folder), context);

        for (const bool utf16 : {false, true}) {
            folder.Write(name, utf16 ? Utf16LeWithBom(lines) : lines.toUtf8());
            QProcess tool;
            tool.start(kTool, {folder.File(name), "check"});
            QVERIFY(tool.waitForFinished(30000));
            const QString out = QString::fromUtf8(tool.readAllStandardOutput());
            QCOMPARE(ToolVerdict(out, section, key), verdict);
            QCOMPARE(tool.exitCode(), out.isEmpty() ? 0 : 4);
        }

        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        const schema::Key* checked = schema::Lookup(file, section, key);
        QString seen = "fine";
        for (const schema::Finding& finding : window.checkMarks->Findings())
            if (finding.key == checked) seen = schema::VerdictName(schema::VerdictOf(finding.problem));
        QCOMPARE(seen, verdict);
        for (const Binding& binding : window.KeyBindings().All())
            if (binding.key == checked)
                QCOMPARE(window.checkMarks->MarkOf(binding.control).isEmpty(), verdict == "fine");
        // A check changes nothing: the file is as written.
        QCOMPARE(folder.Read(name), Utf16LeWithBom(lines));
    }

    // What a key's rule makes of a text, as the read steps show it and the checks report it. A key
    // with KeepsOutOfRange takes a number beyond its limits as it stands; one without refuses it.
    void interpretation_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("number");   // -99: none
        QTest::addColumn<int>("problem");  // -1: none
        const int none = -1, notRead = int(schema::Problem::NotRead), limits = int(schema::Problem::OutOfLimits);
        const auto row = [](const char* name, const char* section, const char* key, const char* text, int outcome,
                            int number, int problem) {
            QTest::newRow(name) << section << key << text << outcome << number << problem;
        };
        using R = schema::Reading;
        row("kept beyond the limits", "Faders", "PresLevel", "1500", R::Value, 1500, limits);
        row("refused beyond the list", "Sequencer", "B6-1", "8", R::Refused, -99, limits);
        row("refused beyond the options", "program", "Slave", "2", R::Refused, -99, limits);
        row("empty gives the default", "Faders", "PresFactor", "", R::Value, 1, none);
        row("empty keeps", "Sequencer", "PanicGenre", "", R::Keep, -99, none);
        row("empty gives the list's default", "ExtNews", "NewsFeed", "", R::Value, -1, none);
        row("empty check state is off", "Sequencer", "IgnoreVT", "", R::Value, 0, none);
        row("empty check state is refused", "Faders", "UseLine1", "", R::Refused, -99, notRead);
        row("a refused time gives the default", "FloatTSauto", "PreTime", "abc", R::Value, 0, notRead);
        row("option compared as text", "program", "Login", "1.0", R::Value, 0, notRead);
        row("a word is off", "program", "Sabam", "ja", R::Value, 0, notRead);
        row("a word keeps the box", "NatNieuws", "Rotate", "ja", R::Keep, -99, notRead);
        row("1.0 is on", "program", "Sabam", "1.0", R::Value, 1, none);
        row("an empty port is none", "InterPC", "HostPortRDS", "", R::Value, 0, none);
        row("a port beyond 65535 is shown", "InterPC", "HostPortRDS", "70000", R::Value, 70000, limits);
    }
    void interpretation() {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(int, outcome);
        QFETCH(int, number);
        QFETCH(int, problem);
        const schema::Reading reading = schema::Interpret(*schema::Lookup(FileOf(section, key), section, key), text);
        QCOMPARE(int(reading.outcome), outcome);
        QCOMPARE(reading.number.value_or(-99), number);
        QCOMPARE(reading.problem ? int(*reading.problem) : -1, problem);
    }

    // The checks of this machine's devices and genres, from what the window's services answered:
    // two sound cards, three mixer devices with 2, 3 and 1 lines, the genres Pop and Rock.
    void machineFacts_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("problem");  // -1: none
        QTest::newRow("sound card") << QByteArray("[AudioPlayers]\nPlayer_A_card=1\n") << "Player_A_card" << -1;
        QTest::newRow("sound card beyond") << QByteArray("[AudioPlayers]\nPlayer_A_card=2\n") << "Player_A_card"
                                           << int(schema::Problem::NoSoundDevice);
        QTest::newRow("mixer device beyond")
            << QByteArray("[Faders]\nLineCard1=3\n") << "LineCard1" << int(schema::Problem::NoMixerDevice);
        QTest::newRow("mixer line") << QByteArray("[Faders]\nLineCard2=1\nLineChannel2=2\n") << "LineChannel2" << -1;
        QTest::newRow("mixer line beyond") << QByteArray("[Faders]\nLineCard2=2\nLineChannel2=1\n") << "LineChannel2"
                                           << int(schema::Problem::NoMixerLine);
        QTest::newRow("genre") << QByteArray("[Sequencer]\nPanicGenre=rock\n") << "PanicGenre" << -1;
        QTest::newRow("genre not listed")
            << QByteArray("[Sequencer]\nPanicGenre=Jazz\n") << "PanicGenre" << int(schema::Problem::NoGenre);
        QTest::newRow("genre not listed, list later")  // arrives after the window is up
            << QByteArray("[Sequencer]\nPanicGenre=Jazz\n") << "PanicGenre" << int(schema::Problem::NoGenre);
    }
    void machineFacts() {
        QFETCH(QByteArray, file);
        QFETCH(QString, key);
        QFETCH(int, problem);
        TempProgramFolder folder;
        AddDatabase(folder);
        folder.Write("server.ini", "[Files]\nDatabasePath=" + folder.DatabaseFolder().toUtf8() + "\n" + file);
        FakeServices fakes;
        fakes.waveOut.names = {"Kaart A", "Kaart B"};
        fakes.mixers.AddDevice("A", {"0", "1"}).AddDevice("B", {"0", "1", "2"}).AddDevice("C", {"0"});
        const bool later = QByteArray(QTest::currentDataTag()).endsWith("later");
        if (!later) fakes.genres.immediate = GenreList{{"Pop", "Rock"}, GenreFailure::None, {}, 0};
        frmSetup window(folder.Path(), fakes.Get());
        if (later) QVERIFY(fakes.genres.Answer({"Pop", "Rock"}));
        int seen = -1;
        for (const schema::Finding& finding : window.checkMarks->Findings())
            if (finding.key->Name() == key) seen = int(finding.problem);
        QCOMPARE(seen, problem);
    }

    // Marks follow the edits; the tab and the status line say where; a click goes to the field;
    // the save goes on as ever, and a value kept out of range is written as read.
    void marksFollowEditsAndNeverStopTheSave() {
        TempProgramFolder folder;
        AddDatabase(folder);
        folder.Write("server.ini", "[Files]\nDatabasePath=" + folder.DatabaseFolder().toUtf8() +
                                       "\n[Faders]\nPresLevel=abc\nPresSpeed=99999\n");
        FakeServices fakes;
        fakes.genres.immediate = GenreList{{"Pop", "Rock"}, GenreFailure::None, {}, 0};
        frmSetup window(folder.Path(), fakes.Get());
        CheckMarks& marks = *window.checkMarks;
        AutomationTiming& page = window.Automation();
        QCOMPARE(marks.text(), QString("2 waarschuwingen op Automatisatie"));
        QVERIFY(!window.tabSetup->tabIcon(int(Tab::Automation)).isNull());
        QVERIFY(page.ledPresLevel->accessibleDescription().contains("\"abc\""));

        page.ledPresLevel->SetValue(50);
        QVERIFY(marks.MarkOf(page.ledPresLevel).isEmpty());
        page.cobPanic->setEditText("Jazz");
        QCoreApplication::processEvents();
        QVERIFY(marks.MarkOf(page.cobPanic).contains("Jazz"));
        QCOMPARE(marks.Findings().size(), 2);

        window.tabSetup->setCurrentIndex(0);
        marks.click();
        QCOMPARE(window.tabSetup->currentIndex(), int(Tab::Automation));
        QVERIFY(window.tabSetup->currentWidget()->isAncestorOf(QApplication::focusWidget()) ||
                QApplication::focusWidget() == nullptr);

        // F8 and Shift+F8 go round the two marked fields, and the focus lies in a marked one.
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.tabSetup->tabBar()->setFocus();
        QStringList visited;
        for (const auto& [key, modifier] : {std::pair{Qt::Key_F8, Qt::NoModifier}, {Qt::Key_F8, Qt::NoModifier},
                                            {Qt::Key_F8, Qt::NoModifier}, {Qt::Key_F8, Qt::ShiftModifier}}) {
            QTest::keyClick(QApplication::focusWidget(), key, modifier);
            const QString reason = marks.ReasonFor(QApplication::focusWidget());
            QVERIFY(!reason.isEmpty());
            visited << reason;
        }
        QVERIFY(visited[0] != visited[1]);
        QCOMPARE(visited[2], visited[0]);  // round again
        QCOMPARE(visited[3], visited[1]);  // and back

        QVERIFY(window.cmdSave_Click());
        QCOMPARE(IniValueInFile(folder.File("server.ini"), "Faders", "PresSpeed"), QString("99999"));
        QVERIFY(!marks.MarkOf(page.ledPresSpeed).isEmpty());
        page.cobPanic->setEditText("rock");
        QVERIFY(marks.MarkOf(page.cobPanic).isEmpty());
    }
};

QTEST_MAIN(KeyChecksTest)
#include "tst_key_checks.moc"

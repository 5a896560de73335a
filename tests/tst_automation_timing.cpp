// Tab "Automatisatie": the timing fields of [Faders] and [Sequencer] and the panic-track genre list.
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QtTest>
#include <memory>

#include "windows/main_window/AutomationTiming.h"
#include "windows/main_window/frmSetup.h"
#include "windows/shared/CheckMarks.h"
#include "widgets/LedSpin.h"
#include "widgets/StateCheckBox.h"
#include "support/Fakes.h"
#include "support/TestFolder.h"

using namespace quorvant;
using namespace quorvant::test;

using KeyValues = QList<QPair<QString, QString>>;
Q_DECLARE_METATYPE(KeyValues)

namespace {

QString SectionOf(const QString& key) {
    static const QStringList faders = {"PresLevel", "PresSpeed", "FaderSpeed", "PresFactor", "IntroComp", "OuttroComp"};
    return faders.contains(key) ? "Faders" : "Sequencer";
}

QByteArray DatabaseFixture(const QString& databasePath, const QByteArray& sequencer = {}) {
    return "[Files]\nDatabasePath=" + databasePath.toUtf8() + "\n[Sequencer]\n" + sequencer;
}

}  // namespace

class AutomationTimingTest : public QObject {
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void readsShowsAndSaves_data() {
        QTest::addColumn<QByteArray>("fixture");  // null: no server.ini at all
        QTest::addColumn<QList<int>>("fields");   // PresLevel .. OuttroComp, Latency, B6Start
        QTest::addColumn<int>("ignoreVT");
        QTest::addColumn<QString>("panic");
        QTest::addColumn<KeyValues>("saved");

        const QList<int> defaults = {0, 0, 0, 1, 0, 0, 0, 55};
        const KeyValues savedDefaults = {
            {"PresLevel", "0"},  {"PresSpeed", "0"}, {"FaderSpeed", "0"}, {"PresFactor", "1"}, {"IntroComp", "0"},
            {"OuttroComp", "0"}, {"Latency", "0"},   {"PanicGenre", ""},  {"B6Start", "55"},   {"IgnoreVT", "0"}};
        QTest::newRow("no file") << QByteArray() << defaults << 0 << "" << savedDefaults;
        QTest::newRow("empty sections") << QByteArray("[Faders]\n[Sequencer]\n") << defaults << 0 << ""
                                        << savedDefaults;
        QTest::newRow("stored values")
            << QByteArray(
                   "[Faders]\nPresLevel=80\nPresSpeed=1500\nFaderSpeed=2000\nPresFactor=3\nIntroComp=-250\n"
                   "OuttroComp=120\n[Sequencer]\nPanicGenre=Jazz & Blues\nLatency=40\nB6Start=57\nIgnoreVT=1\n")
            << QList<int>{80, 1500, 2000, 3, -250, 120, 40, 57} << 1 << "Jazz & Blues"
            << KeyValues{{"PresLevel", "80"}, {"PresSpeed", "1500"},          {"FaderSpeed", "2000"},
                         {"PresFactor", "3"}, {"IntroComp", "-250"},          {"OuttroComp", "120"},
                         {"Latency", "40"},   {"PanicGenre", "Jazz & Blues"}, {"B6Start", "57"},
                         {"IgnoreVT", "1"}};
        QTest::newRow("outside limits kept")
            << QByteArray("[Faders]\nPresFactor=25\nIntroComp=-123456\n[Sequencer]\nB6Start=45\n")
            << QList<int>{0, 0, 0, 25, -123456, 0, 0, 45} << 0 << ""
            << KeyValues{{"PresFactor", "25"}, {"IntroComp", "-123456"}, {"B6Start", "45"}};
        // A text that is no number keeps the designer value, which for B6Start is not the default.
        QTest::newRow("not a number keeps initial")
            << QByteArray("[Faders]\nPresLevel=abc\nPresFactor=   \n[Sequencer]\nLatency=1e3\nB6Start=x\n")
            << QList<int>{0, 0, 0, 1, 0, 0, 0, 50} << 0 << ""
            << KeyValues{{"PresLevel", "0"}, {"PresFactor", "1"}, {"Latency", "0"}, {"B6Start", "50"}};
        QTest::newRow("IgnoreVT grey") << QByteArray("[Sequencer]\nIgnoreVT=2\n") << defaults << 2 << ""
                                       << KeyValues{{"IgnoreVT", "2"}};
        QTest::newRow("IgnoreVT refused")
            << QByteArray("[Sequencer]\nIgnoreVT=5\n") << defaults << 0 << "" << KeyValues{{"IgnoreVT", "0"}};
    }
    void readsShowsAndSaves() {
        QFETCH(QByteArray, fixture);
        QFETCH(QList<int>, fields);
        QFETCH(int, ignoreVT);
        QFETCH(QString, panic);
        QFETCH(KeyValues, saved);

        TempProgramFolder folder;
        if (!fixture.isNull()) folder.Write("server.ini", fixture);
        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        AutomationTiming& part = window.Automation();
        const QList<LedSpin*> spins = {part.ledPresLevel, part.ledPresSpeed,  part.ledMixSpeed, part.ledFaderStap,
                                       part.ledIntroComp, part.ledOuttroComp, part.ledLatency,  part.ledT6Blok};
        QList<int> shown;
        for (LedSpin* spin : spins) shown.append(spin->Value());
        QCOMPARE(shown, fields);
        QCOMPARE(part.chkIgnoreVT->State(), ignoreVT);
        QCOMPARE(part.cobPanic->currentText(), panic);

        QVERIFY(window.cmdSave_Click());
        for (const auto& [key, value] : saved) {
            QCOMPARE(IniValueInFile(folder.File("server.ini"), SectionOf(key), key), value);
        }
    }

    // The server expects Latency before PanicGenre on disk, and the time-signal keys after these.
    void savedKeyOrder() {
        TempProgramFolder folder;
        folder.Write("server.ini", "[Faders]\n[Sequencer]\nForeign=keep\n");
        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        QVERIFY(window.cmdSave_Click());
        const QByteArray file = folder.Read("server.ini");
        const QStringList sequencer = SectionLines(file, "Sequencer");
        const QStringList expected = {"Foreign=keep",
                                      "Latency=0",
                                      "PanicGenre=",
                                      "B6Start=55",
                                      "IgnoreVT=0",
                                      "B6-1=-1",
                                      "B6-2=-1",
                                      "B6-3=-1",
                                      "B1-1=-1",
                                      "B1-2=-1",
                                      "B1-3=-1",
                                      "TS_Pre_Float=0",
                                      "TS_Pre_Float_Time=0"};
        QCOMPARE(sequencer, expected);
        const QStringList faders = SectionLines(file, "Faders");
        QVERIFY(faders.size() >= 7);
        QCOMPARE(faders.mid(0, 6), (QStringList{"PresLevel=0", "PresSpeed=0", "FaderSpeed=0", "PresFactor=1",
                                                "IntroComp=0", "OuttroComp=0"}));
    }

    // The list fills when the answer comes; what the box shows is never replaced by a list item.
    void genreListKeepsTheStoredGenre_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("immediate");
        QTest::addColumn<int>("index");
        QTest::newRow("empty, later answer") << QByteArray() << false << -1;
        QTest::newRow("empty, answer at once") << QByteArray() << true << -1;
        QTest::newRow("in the list") << QByteArray("Jazz") << false << 2;
        QTest::newRow("other capitals") << QByteArray("jazz") << false << -1;
        QTest::newRow("not in the list") << QByteArray("Onbekend") << false << -1;
        QTest::newRow("not in the list, answer at once") << QByteArray("Onbekend") << true << -1;
    }
    void genreListKeepsTheStoredGenre() {
        QFETCH(QByteArray, stored);
        QFETCH(bool, immediate);
        QFETCH(int, index);

        TempProgramFolder folder;
        WriteFile(folder.DatabaseFolder() + "/data.mdb", "not read by the fake");
        folder.Write("server.ini", DatabaseFixture(folder.DatabaseFolder(), "PanicGenre=" + stored + "\n"));
        FakeServices fakes;
        const QStringList genres = {"", "Blues", "Jazz", "Pop"};  // an empty genre is an entry too
        if (immediate) fakes.genres.immediate = GenreList{genres, GenreFailure::None, {}, 0};
        frmSetup window(folder.Path(), fakes.Get());
        QComboBox* list = window.Automation().cobPanic;
        // Joined as the server joins a folder and a file name on its system.
        QCOMPARE(fakes.genres.requestedPaths, QStringList{folder.DatabaseFolder() + QDir::separator() + "data.mdb"});
        if (!immediate) {
            QCOMPARE(list->count(), 0);  // start-up did not wait for the answer
            QVERIFY(fakes.genres.Answer(genres));
        }
        QCOMPARE(list->count(), genres.size());
        for (int i = 0; i < genres.size(); ++i) QCOMPARE(list->itemText(i), genres[i]);
        QCOMPARE(list->currentText(), QString::fromUtf8(stored));
        QCOMPARE(list->currentIndex(), index);
        // No reason the list is missing; a genre not in it may carry the check's mark.
        QVERIFY(list->toolTip().isEmpty() || list->toolTip() == window.checkMarks->MarkOf(list));
        QVERIFY(window.cmdSave_Click());
        QCOMPARE(IniValueInFile(folder.File("server.ini"), "Sequencer", "PanicGenre"), QString::fromUtf8(stored));
    }

    // No list: it stays empty, the tool tip says why, and the stored genre is still shown and saved.
    void noGenreListSaysWhy_data() {
        QTest::addColumn<QString>("databasePath");  // relative to the program folder; "-" for none
        QTest::addColumn<bool>("withMdb");
        QTest::addColumn<QString>("failure");  // where the reader finds no table; empty: no request expected
        QTest::addColumn<QString>("tipMentions");
        QTest::newRow("reader error") << "db" << true << "db/data.mdb"
                                      << "Tabel Genres ontbreekt in db/data.mdb";
        QTest::newRow("data.mdb missing") << "db" << false << ""
                                          << "data.mdb";
        QTest::newRow("folder missing") << "nergens" << false << ""
                                        << "nergens";
        QTest::newRow("no database path") << "-" << false << ""
                                          << "databasemap";
    }
    void noGenreListSaysWhy() {
        QFETCH(QString, databasePath);
        QFETCH(bool, withMdb);
        QFETCH(QString, failure);
        QFETCH(QString, tipMentions);

        TempProgramFolder folder;
        if (withMdb) WriteFile(folder.DatabaseFolder() + "/data.mdb", "x");
        const QString path = databasePath == "-" ? QString() : folder.File(databasePath);
        folder.Write("server.ini", DatabaseFixture(path, "PanicGenre=Jazz\n"));
        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        QComboBox* list = window.Automation().cobPanic;
        if (failure.isEmpty()) {
            QVERIFY(fakes.genres.requestedPaths.isEmpty());
        } else {
            QVERIFY(fakes.genres.Fail(GenreFailure::NoTable, failure));
        }
        QCOMPARE(list->count(), 0);
        QVERIFY2(list->toolTip().contains(tipMentions), qPrintable(list->toolTip()));
        QCOMPARE(list->currentText(), QString("Jazz"));
        QVERIFY(window.cmdSave_Click());
        QCOMPARE(IniValueInFile(folder.File("server.ini"), "Sequencer", "PanicGenre"), QString("Jazz"));
    }

    void answerAfterTheWindowIsGoneIsIgnored() {
        TempProgramFolder folder;
        WriteFile(folder.DatabaseFolder() + "/data.mdb", "x");
        folder.Write("server.ini", DatabaseFixture(folder.DatabaseFolder()));
        FakeServices fakes;
        auto window = std::make_unique<frmSetup>(folder.Path(), fakes.Get());
        QCOMPARE(fakes.genres.Pending(), 1);
        window.reset();
        QVERIFY(fakes.genres.Answer(QStringList{"Jazz"}));
    }
};

QTEST_MAIN(AutomationTimingTest)
#include "tst_automation_timing.moc"

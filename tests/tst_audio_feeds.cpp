// Tab "Externe Audio": the four feeds' use, mixer device, line and volume in [Faders].
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QtTest>

#include "windows/main_window/AudioFeeds.h"
#include "windows/main_window/frmSetup.h"
#include "widgets/LedSpin.h"
#include "widgets/StateCheckBox.h"
#include "support/Fakes.h"
#include "support/TestFolder.h"

using namespace quorvant;
using namespace quorvant::test;

namespace {

// The feeds' keys of [Faders] as the file holds them, in file order.
QStringList FeedLines(const QByteArray& file) {
    static const QRegularExpression feedKey("^(UseLine|LineCard|LineChannel|Level)[1-4]=");
    return SectionLines(file, "Faders").filter(feedKey);
}

QStringList FeedKeys(const QList<QList<int>>& values) {
    QStringList lines;
    for (int feed = 0; feed < 4; ++feed) {
        const QString n = QString::number(feed + 1);
        lines << "UseLine" + n + "=" + QString::number(values[feed][0])
              << "LineCard" + n + "=" + QString::number(values[feed][1])
              << "LineChannel" + n + "=" + QString::number(values[feed][2])
              << "Level" + n + "=" + QString::number(values[feed][3]);
    }
    return lines;
}

QStringList Items(const QComboBox* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
    return items;
}

void AddThreeDevices(FakeServices& fakes) {
    fakes.mixers.AddDevice("Mixer A", {"A lijn 0", "A lijn 1"})
        .AddDevice("Mixer B", {"B lijn 0", "B lijn 1", "B lijn 2"})
        .AddDevice("Mixer C", {"C lijn 0"});
}

}  // namespace

class AudioFeedsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void readsShowsAndSaves_data() {
        QTest::addColumn<QByteArray>("faders");    // body of [Faders]
        QTest::addColumn<bool>("devices");         // the three mixer devices, or none
        QTest::addColumn<QList<int>>("cards");     // cobMaster positions
        QTest::addColumn<QList<int>>("channels");  // cobChannel positions
        QTest::addColumn<QList<int>>("lineCounts");
        QTest::addColumn<QList<int>>("uses");
        QTest::addColumn<QList<int>>("levels");
        QTest::addColumn<QList<QList<int>>>("saved");  // per feed: UseLine, LineCard, LineChannel, Level

        const QList<QList<int>> zeros = {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}};
        QTest::newRow("empty section") << QByteArray() << true << QList<int>{0, 0, 0, 0} << QList<int>{0, 0, 0, 0}
                                       << QList<int>{2, 2, 2, 2} << QList<int>{0, 0, 0, 0} << QList<int>{0, 0, 0, 0}
                                       << zeros;
        QTest::newRow("stored values") << QByteArray(
                                              "UseLine1=1\nLineCard1=1\nLineChannel1=2\nLevel1=80\n"
                                              "UseLine2=2\nLineCard2=2\nLineChannel2=0\nLevel2=100\n"
                                              "UseLine3=0\nLineCard3=0\nLineChannel3=1\nLevel3=150\n"
                                              "UseLine4=1\nLineCard4=1\nLineChannel4=-1\nLevel4=-5\n")
                                       << true << QList<int>{1, 2, 0, 1} << QList<int>{2, 0, 1, -1}
                                       << QList<int>{3, 1, 2, 3} << QList<int>{1, 2, 0, 1}
                                       << QList<int>{80, 100, 150, -5}
                                       << QList<QList<int>>{
                                              {1, 1, 2, 80}, {2, 2, 0, 100}, {0, 0, 1, 150}, {1, 1, -1, -5}};
        // A card or line the system lacks: no selection, the number stays and is saved again.
        QTest::newRow("device and line missing")
            << QByteArray("LineCard1=5\nLineChannel1=1\nLineCard2=1\nLineChannel2=7\n") << true
            << QList<int>{-1, 1, 0, 0} << QList<int>{-1, -1, 0, 0} << QList<int>{0, 3, 2, 2} << QList<int>{0, 0, 0, 0}
            << QList<int>{0, 0, 0, 0} << QList<QList<int>>{{0, 5, 1, 0}, {0, 1, 7, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}};
        QTest::newRow("no mixer devices")
            << QByteArray("UseLine1=1\nLineCard1=1\nLineChannel1=2\nLevel1=30\n") << false << QList<int>{-1, -1, -1, -1}
            << QList<int>{-1, -1, -1, -1} << QList<int>{0, 0, 0, 0} << QList<int>{1, 0, 0, 0} << QList<int>{30, 0, 0, 0}
            << QList<QList<int>>{{1, 1, 2, 30}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}};
        // Failed conversions leave the check box, the number and the field as they were.
        QTest::newRow("refused texts")
            << QByteArray(
                   "UseLine1=\nUseLine2=3\nUseLine3=aan\nLineCard1=x\nLineChannel1= \nLevel1=veel\n"
                   "LineCard2=70000\nLevel2=2.5\n")
            << true << QList<int>{0, 0, 0, 0} << QList<int>{0, 0, 0, 0} << QList<int>{2, 2, 2, 2}
            << QList<int>{0, 0, 0, 0} << QList<int>{0, 2, 0, 0}
            << QList<QList<int>>{{0, 0, 0, 0}, {0, 0, 0, 2}, {0, 0, 0, 0}, {0, 0, 0, 0}};
    }

    void readsShowsAndSaves() {
        QFETCH(QByteArray, faders);
        QFETCH(bool, devices);
        QFETCH(QList<int>, cards);
        QFETCH(QList<int>, channels);
        QFETCH(QList<int>, lineCounts);
        QFETCH(QList<int>, uses);
        QFETCH(QList<int>, levels);
        QFETCH(QList<QList<int>>, saved);

        TempProgramFolder folder;
        // Keys of other groups around the feeds' keys stay where they are.
        folder.Write("server.ini", "[Faders]\nOuttroComp=12\n" + faders + "TMFaderSpeed=3000\n");
        FakeServices fakes;
        if (devices) AddThreeDevices(fakes);
        frmSetup window(folder.Path(), fakes.Get());
        AudioFeeds& feeds = window.Feeds();

        for (int feed = 0; feed < 4; ++feed) {
            QCOMPARE(Items(feeds.cobMaster[feed]),
                     devices ? QStringList({"Mixer A", "Mixer B", "Mixer C"}) : QStringList());
            QCOMPARE(feeds.cobMaster[feed]->currentIndex(), cards[feed]);
            QCOMPARE(feeds.cobChannel[feed]->count(), lineCounts[feed]);
            QCOMPARE(feeds.cobChannel[feed]->currentIndex(), channels[feed]);
            QCOMPARE(feeds.chkUseLine[feed]->State(), uses[feed]);
            QCOMPARE(feeds.ledFeedLevel[feed]->Value(), levels[feed]);
        }

        QVERIFY(window.cmdSave_Click());
        const QByteArray file = folder.Read("server.ini");
        QStringList lines = FeedLines(file);
        QStringList expected = FeedKeys(saved);
        // Keys already in the file keep their place; new ones come in write order.
        if (faders.isEmpty()) QCOMPARE(lines, expected);
        std::sort(lines.begin(), lines.end());
        std::sort(expected.begin(), expected.end());
        QCOMPARE(lines, expected);
        QVERIFY(file.contains("[Faders]\nOuttroComp=12\n"));
        QCOMPARE(IniValueInFile(folder.File("server.ini"), "Faders", "TMFaderSpeed"), QString("3000"));
    }

    // Start-up asks the devices and their lines once; each feed's mixer then takes its stored card.
    void startUpTouchesEachMixerOnce() {
        TempProgramFolder folder;
        folder.Write("server.ini", "[Faders]\nLineCard2=1\nLineChannel2=1\nLineCard3=9\n");
        FakeServices fakes;
        AddThreeDevices(fakes);
        frmSetup window(folder.Path(), fakes.Get());
        QCOMPARE(fakes.mixers.created, 4);
        QMap<int, QStringList> calls;
        for (const auto& call : fakes.mixers.setup->calls)
            calls[call.mixer] << QString("%1 %2").arg(call.what).arg(call.argument);
        const QStringList read = {"SelectDevice 0", "SelectLine 0", "SelectLine 1", "SelectDevice 1", "SelectLine 0",
                                  "SelectLine 1",   "SelectLine 2", "SelectDevice 2", "SelectLine 0"};
        QCOMPARE(calls[0], read + QStringList({"SelectDevice 0"}));
        QCOMPARE(calls[1], QStringList({"SelectDevice 1"}));
        QCOMPARE(calls[2], QStringList());
        QCOMPARE(calls[3], QStringList({"SelectDevice 0"}));
        QCOMPARE(Items(window.Feeds().cobChannel[1]), QStringList({"B lijn 0", "B lijn 1", "B lijn 2"}));
    }

    void cardChangeRebuildsOnlyItsFeed() {
        TempProgramFolder folder;
        folder.Write("server.ini", "[Faders]\nLineCard1=0\nLineChannel1=1\nLineCard3=0\nLineChannel3=1\n");
        FakeServices fakes;
        AddThreeDevices(fakes);
        frmSetup window(folder.Path(), fakes.Get());
        AudioFeeds& feeds = window.Feeds();
        std::array<QStringList, 4> before;
        for (int feed = 0; feed < 4; ++feed) before[feed] = Items(feeds.cobChannel[feed]);

        feeds.cobMaster[2]->setCurrentIndex(1);  // the user picks "Mixer B" for feed 3

        QCOMPARE(Items(feeds.cobChannel[2]), QStringList({"B lijn 0", "B lijn 1", "B lijn 2"}));
        QCOMPARE(feeds.cobChannel[2]->currentIndex(), -1);
        for (int feed : {0, 1, 3}) {
            QCOMPARE(Items(feeds.cobChannel[feed]), before[feed]);
            QCOMPARE(feeds.cobMaster[feed]->currentIndex(), 0);
        }
        QCOMPARE(feeds.cobChannel[0]->currentIndex(), 1);
        // Saved without a line picked: the new card with the old line.
        QVERIFY(window.cmdSave_Click());
        QCOMPARE(IniValueInFile(folder.File("server.ini"), "Faders", "LineCard3"), QString("1"));
        QCOMPARE(IniValueInFile(folder.File("server.ini"), "Faders", "LineChannel3"), QString("1"));

        feeds.cobChannel[2]->setCurrentIndex(2);
        QCOMPARE(feeds.LineChannel(2), 2);
        QVERIFY(window.cmdSave_Click());
        QCOMPARE(IniValueInFile(folder.File("server.ini"), "Faders", "LineCard3"), QString("1"));
        QCOMPARE(IniValueInFile(folder.File("server.ini"), "Faders", "LineChannel3"), QString("2"));
        QCOMPARE(IniValueInFile(folder.File("server.ini"), "Faders", "LineChannel1"), QString("1"));
    }

    // A mixer that refuses the picked card: the user is told, and the page goes back to the card
    // whose lines it shows and whose number the save writes.
    void refusedCardIsReported() {
        TempProgramFolder folder;
        folder.Write("server.ini", "[Faders]\nLineCard1=0\nLineChannel1=1\n");
        FakeServices fakes;
        AddThreeDevices(fakes);
        frmSetup window(folder.Path(), fakes.Get());
        AudioFeeds& feeds = window.Feeds();
        fakes.mixers.setup->devices.pop_back();  // "Mixer C" is unplugged

        feeds.cobMaster[0]->setCurrentIndex(2);

        QCOMPARE(fakes.errors.reports.size(), 1);
        QVERIFY(fakes.errors.reports[0].message.contains("Audio Feed 1"));
        QCOMPARE(feeds.cobMaster[0]->currentIndex(), 0);
        QCOMPARE(Items(feeds.cobChannel[0]), QStringList({"A lijn 0", "A lijn 1"}));
        QCOMPARE(feeds.cobChannel[0]->currentIndex(), 1);
        QCOMPARE(feeds.LineCard(0), 0);
        QCOMPARE(feeds.LineChannel(0), 1);
    }

    // Without mixers or wave-out devices the page stays empty and the stored numbers survive.
    void withoutPlatformServices() {
        TempProgramFolder folder;
        folder.Write("server.ini", "[AudioPlayers]\nPlayer_A_card=2\n[Faders]\nLineCard1=1\nLineChannel1=2\n");
        frmSetup window(folder.Path(), Services{});
        QCOMPARE(window.Feeds().cobMaster[0]->count(), 0);
        QVERIFY(window.cmdSave_Click());
        QCOMPARE(IniValueInFile(folder.File("server.ini"), "Faders", "LineCard1"), QString("1"));
        QCOMPARE(IniValueInFile(folder.File("server.ini"), "Faders", "LineChannel1"), QString("2"));
        QCOMPARE(IniValueInFile(folder.File("server.ini"), "AudioPlayers", "Player_A_card"), QString("2"));
    }
};

QTEST_MAIN(AudioFeedsTest)
#include "tst_audio_feeds.moc"

// Tab "Geluidskaarten": the four players' cards and the multi-channel jingle switch of [AudioPlayers].
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include "windows/dialogs/frmMultiJingles.h"
#include "windows/main_window/SoundCards.h"
#include "windows/main_window/frmSetup.h"
#include "widgets/LedLabel.h"
#include "widgets/SpinButton.h"
#include "support/Fakes.h"
#include "support/TestFolder.h"

using namespace quorvant;
using namespace quorvant::test;

namespace {

const QStringList kThree = {"Kaart nul", "Kaart een", "Kaart twee"};
const QStringList kFour = {"Kaart nul", "Kaart een", "Kaart twee", "Kaart drie"};

void FlushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

}  // namespace

class SoundCardsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void readsShowsAndSaves_data() {
        QTest::addColumn<QByteArray>("section");  // body of [AudioPlayers]
        QTest::addColumn<QStringList>("devices");
        QTest::addColumn<QStringList>("displays");
        QTest::addColumn<bool>("multiJingle");
        QTest::addColumn<QList<int>>("spins");
        QTest::addColumn<QStringList>("saved");  // [AudioPlayers] after the save, in file order

        QTest::newRow("empty section") << QByteArray() << kThree
                                       << QStringList{"Standaard", "Standaard", "Standaard", "Standaard"} << false
                                       << QList<int>{-1, -1, -1, -1}
                                       << QStringList{"MultiJingle=0", "Player_Auto_card=-1", "Player_Jingles_card=-1",
                                                      "Player_A_card=-1", "Player_B_card=-1"};
        QTest::newRow("three devices")
            << QByteArray(
                   "MultiJingle=1\nPlayer_Auto_card=0\nPlayer_Jingles_card=2\nPlayer_A_card=-1\n"
                   "Player_B_card=1\n")
            << kThree << QStringList{"Kaart nul", "Kaart twee", "Standaard", "Kaart een"} << true
            << QList<int>{0, 2, -1, 1}
            << QStringList{"MultiJingle=1", "Player_Auto_card=0", "Player_Jingles_card=2", "Player_A_card=-1",
                           "Player_B_card=1"};
        // Only the default device can be chosen; the stored cards stay.
        QTest::newRow("no device at all")
            << QByteArray(
                   "MultiJingle=0\nPlayer_Auto_card=0\nPlayer_Jingles_card=-1\nPlayer_A_card=1\n"
                   "Player_B_card=\n")
            << QStringList{} << QStringList{"Kaart 0 ontbreekt", "Standaard", "Kaart 1 ontbreekt", "Standaard"} << false
            << QList<int>{-1, -1, -1, -1}
            << QStringList{"MultiJingle=0", "Player_Auto_card=0", "Player_Jingles_card=-1", "Player_A_card=1",
                           "Player_B_card=-1"};
        QTest::newRow("card that is no device")
            << QByteArray("Player_Auto_card=7\nPlayer_Jingles_card=1\nPlayer_A_card=1\nPlayer_B_card=1\n") << kThree
            << QStringList{"Kaart 7 ontbreekt", "Kaart een", "Kaart een", "Kaart een"} << false
            << QList<int>{2, 1, 1, 1}
            << QStringList{"MultiJingle=0", "Player_Auto_card=7", "Player_Jingles_card=1", "Player_A_card=1",
                           "Player_B_card=1"};
        // A failed conversion keeps the fresh window's 0, and the display still follows it.
        QTest::newRow("word and blanks as card")
            << QByteArray("Player_Auto_card=1\nPlayer_Jingles_card=  \nPlayer_A_card=twee\nPlayer_B_card= 2 \n")
            << kThree << QStringList{"Kaart een", "Kaart nul", "Kaart nul", "Kaart twee"} << false
            << QList<int>{1, 0, 0, 2}
            << QStringList{"MultiJingle=0", "Player_Auto_card=1", "Player_Jingles_card=0", "Player_A_card=0",
                           "Player_B_card=2"};
        QTest::newRow("MultiJingle 2 is off")
            << QByteArray("MultiJingle=2\n") << kThree
            << QStringList{"Standaard", "Standaard", "Standaard", "Standaard"} << false << QList<int>{-1, -1, -1, -1}
            << QStringList{"MultiJingle=0", "Player_Auto_card=-1", "Player_Jingles_card=-1", "Player_A_card=-1",
                           "Player_B_card=-1"};
    }

    void readsShowsAndSaves() {
        QFETCH(QByteArray, section);
        QFETCH(QStringList, devices);
        QFETCH(QStringList, displays);
        QFETCH(bool, multiJingle);
        QFETCH(QList<int>, spins);
        QFETCH(QStringList, saved);

        TempProgramFolder folder;
        // The jingle dialog's keys and foreign keys share the section and must survive.
        folder.Write("server.ini", "[AudioPlayers]\nJingle_A_Card=3\nVreemd=x y\n" + section);
        FakeServices fakes;
        fakes.waveOut.names = devices;
        frmSetup window(folder.Path(), fakes.Get());
        SoundCards& cards = window.Cards();

        for (int player = 0; player < 4; ++player) {
            QCOMPARE(cards.ledKaart[player]->Caption(), displays[player]);
            QCOMPARE(cards.updKaart[player]->Lowest(), -1);
            QCOMPARE(cards.updKaart[player]->Highest(), int(devices.size()) - 1);
            QCOMPARE(cards.updKaart[player]->Value(), spins[player]);
        }
        QCOMPARE(cards.chkMultiJingle->isChecked(), multiJingle);
        QCOMPARE(cards.cmdMultiJingle->isEnabled(), multiJingle);

        QVERIFY(window.cmdSave_Click());
        QStringList expected = {"Jingle_A_Card=3", "Vreemd=x y"};
        // Keys already in the file keep their place; new ones follow.
        QStringList lines = SectionLines(folder.Read("server.ini"), "AudioPlayers");
        QCOMPARE(lines.mid(0, 2), expected);
        lines = lines.mid(2);
        std::sort(lines.begin(), lines.end());
        std::sort(saved.begin(), saved.end());
        QCOMPARE(lines, saved);
    }

    // Each spin starts at the card read, so one step moves away from the card shown.
    void stepsFromTheStoredCard_data() {
        QTest::addColumn<QStringList>("devices");
        QTest::addColumn<QByteArray>("stored");  // Player_A_card
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("card");
        QTest::addColumn<QString>("display");

        QTest::newRow("up from 2") << kFour << QByteArray("2") << int(Qt::Key_Up) << 3 << "Kaart drie";
        QTest::newRow("down from 2") << kFour << QByteArray("2") << int(Qt::Key_Down) << 1 << "Kaart een";
        QTest::newRow("up at the last device") << kThree << QByteArray("2") << int(Qt::Key_Up) << 2 << "Kaart twee";
        QTest::newRow("down from the default") << kThree << QByteArray("") << int(Qt::Key_Down) << -1 << "Standaard";
        QTest::newRow("up from the default") << kThree << QByteArray("-1") << int(Qt::Key_Up) << 0 << "Kaart nul";
        // A card beyond the devices: the spin stands on the last device.
        QTest::newRow("down from a missing card") << kThree << QByteArray("9") << int(Qt::Key_Down) << 1 << "Kaart een";
    }

    void stepsFromTheStoredCard() {
        QFETCH(QStringList, devices);
        QFETCH(QByteArray, stored);
        QFETCH(int, key);
        QFETCH(int, card);
        QFETCH(QString, display);

        TempProgramFolder folder;
        folder.Write("server.ini", "[AudioPlayers]\nPlayer_A_card=" + stored + "\n");
        FakeServices fakes;
        fakes.waveOut.names = devices;
        frmSetup window(folder.Path(), fakes.Get());
        SoundCards& cards = window.Cards();

        QTest::keyClick(cards.updKaart[2], Qt::Key(key));
        QCOMPARE(cards.Card(2), card);
        QCOMPARE(cards.ledKaart[2]->Caption(), display);
        // The other players are untouched.
        QCOMPARE(cards.Card(0), -1);
        QVERIFY(window.cmdSave_Click());
        QCOMPARE(IniValueInFile(folder.File("server.ini"), "AudioPlayers", "Player_A_card"), QString::number(card));
        QCOMPARE(IniValueInFile(folder.File("server.ini"), "AudioPlayers", "Player_Auto_card"), QString("-1"));
    }

    void checkBoxEnablesConfigure() {
        TempProgramFolder folder;
        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        SoundCards& cards = window.Cards();
        QVERIFY(!cards.cmdMultiJingle->isEnabled());
        QTest::mouseClick(cards.chkMultiJingle, Qt::LeftButton);
        QVERIFY(cards.chkMultiJingle->isChecked());
        QVERIFY(cards.cmdMultiJingle->isEnabled());
        QVERIFY(window.cmdSave_Click());
        QCOMPARE(IniValueInFile(folder.File("server.ini"), "AudioPlayers", "MultiJingle"), QString("1"));
        cards.chkMultiJingle->setChecked(false);
        QVERIFY(!cards.cmdMultiJingle->isEnabled());
    }

    // The dialog opens beside the window; a second press brings the open one up without reading again.
    void configureOpensOneDialog() {
        TempProgramFolder folder;
        folder.Write("server.ini", "[AudioPlayers]\nMultiJingle=1\nJingle_A_Card=1\n");
        FakeServices fakes;
        fakes.waveOut.names = kThree;
        frmSetup window(folder.Path(), fakes.Get());
        SoundCards& cards = window.Cards();
        QVERIFY(!cards.MultiJingles());

        QTest::mouseClick(cards.cmdMultiJingle, Qt::LeftButton);
        QPointer<frmMultiJingles> first = cards.MultiJingles();
        QVERIFY(first);
        QVERIFY(first->isVisible());
        QVERIFY(first->isWindow());
        QVERIFY(!first->isModal());
        QCOMPARE(first->parentWidget(), &window);
        QCOMPARE(first->ledKaart[0]->Caption(), QString("Kaart een"));

        folder.Write("server.ini", "[AudioPlayers]\nMultiJingle=1\nJingle_A_Card=2\n");
        QTest::mouseClick(cards.cmdMultiJingle, Qt::LeftButton);
        QCOMPARE(cards.MultiJingles(), first.data());
        QCOMPARE(first->ledKaart[0]->Caption(), QString("Kaart een"));
        // Minimized, the next press brings it back rather than leaving it an icon.
        first->showMinimized();
        QTest::mouseClick(cards.cmdMultiJingle, Qt::LeftButton);
        QCOMPARE(cards.MultiJingles(), first.data());
        QVERIFY(!first->isMinimized());
        QVERIFY(first->isVisible());

        // Closed, it is gone; the next press reads the file again.
        QTest::mouseClick(first->cmdStop, Qt::LeftButton);
        FlushDeletes();
        QVERIFY(!first);
        QVERIFY(!cards.MultiJingles());
        QTest::mouseClick(cards.cmdMultiJingle, Qt::LeftButton);
        QVERIFY(cards.MultiJingles());
        QCOMPARE(cards.MultiJingles()->ledKaart[0]->Caption(), QString("Kaart twee"));
    }
};

QTEST_MAIN(SoundCardsTest)
#include "tst_sound_cards.moc"

// The jingle pad's four column cards: [AudioPlayers] Jingle_A_Card..Jingle_D_Card, beside the main
// window's keys of the same section.
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "support/Fakes.h"
#include "support/TestFolder.h"
#include "text/TextTable.h"
#include "widgets/LedLabel.h"
#include "widgets/SpinButton.h"
#include "windows/dialogs/frmMultiJingles.h"
#include "windows/main_window/SoundCards.h"
#include "windows/main_window/frmSetup.h"

using namespace quorvant;
using namespace quorvant::test;

namespace {
const QStringList kThree = {"Kaart nul", "Kaart een", "Kaart twee"};
const QStringList kFour = {"Kaart nul", "Kaart een", "Kaart twee", "Kaart drie"};
const QStringList kKeys = {"Jingle_A_Card", "Jingle_B_Card", "Jingle_C_Card", "Jingle_D_Card"};

QStringList SavedCards(const TempProgramFolder& folder) {
    QStringList values;
    for (const QString& key : kKeys) values << IniValueInFile(folder.File("server.ini"), "AudioPlayers", key);
    return values;
}

void FlushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
}  // namespace

class MultiJinglesTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        ResetProgramState();
        LaadTaal(folder_.Path());
    }

    void readsShowsAndSaves_data() {
        QTest::addColumn<QByteArray>("section");  // body of [AudioPlayers]
        QTest::addColumn<QStringList>("displays");
        QTest::addColumn<QList<int>>("spins");
        QTest::addColumn<QStringList>("saved");

        QTest::newRow("only column 2") << QByteArray("Jingle_B_Card=2\n") << QStringList{"", "Kaart twee", "", ""}
                                       << QList<int>{-1, 2, -1, -1} << QStringList{"-1", "2", "-1", "-1"};
        QTest::newRow("all four") << QByteArray("Jingle_A_Card=0\nJingle_B_Card=1\nJingle_C_Card=2\nJingle_D_Card=-1\n")
                                  << QStringList{"Kaart nul", "Kaart een", "Kaart twee", "Standaard"}
                                  << QList<int>{0, 1, 2, -1} << QStringList{"0", "1", "2", "-1"};
        // Refused text counts as absent; a device that is gone stays stored.
        QTest::newRow("word, fraction, gone")
            << QByteArray("Jingle_A_Card=een\nJingle_B_Card=1.5\nJingle_C_Card=9\nJingle_D_Card=\n")
            << QStringList{"", "Kaart twee", "Kaart 9 ontbreekt", ""} << QList<int>{-1, 2, 2, -1}
            << QStringList{"-1", "2", "9", "-1"};
    }

    void readsShowsAndSaves() {
        QFETCH(QByteArray, section);
        QFETCH(QStringList, displays);
        QFETCH(QList<int>, spins);
        QFETCH(QStringList, saved);

        TempProgramFolder folder;
        folder.Write("server.ini", "[Files]\nLogPath=x\n[AudioPlayers]\n" + section + "[Faders]\nLevel1=5\n");
        FakeServices fakes;
        fakes.waveOut.names = kThree;
        frmMultiJingles dialog(folder.Path(), fakes.Get());
        for (int column = 0; column < 4; ++column) {
            QCOMPARE(dialog.ledKaart[column]->Caption(), displays[column]);
            QCOMPARE(dialog.updKaart[column]->Lowest(), -1);
            QCOMPARE(dialog.updKaart[column]->Highest(), 2);
            QCOMPARE(dialog.updKaart[column]->Value(), spins[column]);
        }
        QVERIFY(dialog.cmdSave_Click());
        QCOMPARE(SavedCards(folder), saved);
        // Nothing else of the file is touched.
        QCOMPARE(IniValueInFile(folder.File("server.ini"), "Files", "LogPath"), QString("x"));
        QCOMPARE(IniValueInFile(folder.File("server.ini"), "Faders", "Level1"), QString("5"));
        QCOMPARE(IniValueInFile(folder.File("server.ini"), "AudioPlayers", "MultiJingle"), QString());
    }

    void stepsFromTheStoredCard_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("card");
        QTest::addColumn<QString>("display");
        QTest::newRow("up") << int(Qt::Key_Up) << 3 << "Kaart drie";
        QTest::newRow("down") << int(Qt::Key_Down) << 1 << "Kaart een";
    }

    void stepsFromTheStoredCard() {
        QFETCH(int, key);
        QFETCH(int, card);
        QFETCH(QString, display);
        TempProgramFolder folder;
        folder.Write("server.ini", "[AudioPlayers]\nJingle_D_Card=2\n");
        FakeServices fakes;
        fakes.waveOut.names = kFour;
        frmMultiJingles dialog(folder.Path(), fakes.Get());
        dialog.show();
        QTest::keyClick(dialog.updKaart[3], Qt::Key(key));
        QCOMPARE(dialog.ledKaart[3]->Caption(), display);
        QCOMPARE(dialog.Card(3), card);
        QVERIFY(dialog.cmdSave_Click());
        QCOMPARE(SavedCards(folder), (QStringList{"-1", "-1", "-1", QString::number(card)}));
        QVERIFY(dialog.isVisible());
    }

    // Without a device list the cards still load and save; the displays stay blank, nothing is reported.
    void withoutPlatformServices() {
        TempProgramFolder folder;
        folder.Write("server.ini", "[AudioPlayers]\nJingle_A_Card=2\nJingle_C_Card=een\n");
        frmMultiJingles dialog(folder.Path(), Services{});
        QCOMPARE(dialog.ledKaart[0]->Caption(), QString());
        QCOMPARE(dialog.updKaart[0]->Highest(), -1);
        QTest::keyClick(dialog.updKaart[1], Qt::Key_Up);  // already at the only number, -1
        QCOMPARE(dialog.Card(1), -1);
        QVERIFY(dialog.cmdSave_Click());
        QCOMPARE(SavedCards(folder), QStringList({"2", "-1", "-1", "-1"}));
    }

    void stopWritesNothing() {
        TempProgramFolder folder;
        const QByteArray before = "[AudioPlayers]\nJingle_A_Card=1\n";
        folder.Write("server.ini", before);
        FakeServices fakes;
        fakes.waveOut.names = kThree;
        QPointer<frmMultiJingles> dialog = new frmMultiJingles(folder.Path(), fakes.Get());
        dialog->show();
        QTest::keyClick(dialog->updKaart[0], Qt::Key_Up);
        QTest::keyClick(dialog->updKaart[1], Qt::Key_Up);
        QTest::mouseClick(dialog->cmdStop, Qt::LeftButton);
        FlushDeletes();
        QVERIFY(!dialog);
        QCOMPARE(folder.Read("server.ini"), before);
    }

    // Each window writes only its own keys of the shared section, whichever saves first.
    void windowsKeepEachOthersKeys_data() {
        QTest::addColumn<bool>("dialogFirst");
        QTest::newRow("main window first") << false;
        QTest::newRow("dialog first") << true;
    }

    void windowsKeepEachOthersKeys() {
        QFETCH(bool, dialogFirst);
        TempProgramFolder folder;
        // Every key present, so neither save adds one and the two orders give the same bytes.
        folder.Write("server.ini",
                     "; kaarten\n[AudioPlayers]\nMultiJingle=1\nPlayer_Auto_card=0\nJingle_A_Card=0\n"
                     "Player_Jingles_card=2\nPlayer_A_card=1\nJingle_B_Card=1\nPlayer_B_card=-1\n"
                     "Jingle_C_Card=-1\nJingle_D_Card=2\nVreemd=1\n");
        FakeServices fakes;
        fakes.waveOut.names = kThree;
        frmSetup window(folder.Path(), fakes.Get());
        QTest::mouseClick(window.Cards().cmdMultiJingle, Qt::LeftButton);
        frmMultiJingles* dialog = window.Cards().MultiJingles();
        QVERIFY(dialog);
        QTest::keyClick(window.Cards().updKaart[0], Qt::Key_Up);  // player 0: 0 -> 1
        QTest::keyClick(dialog->updKaart[0], Qt::Key_Up);         // column 1: 0 -> 1
        QTest::keyClick(dialog->updKaart[1], Qt::Key_Down);       // column 2: 1 -> 0

        if (dialogFirst) {
            QVERIFY(dialog->cmdSave_Click());
            QVERIFY(window.cmdSave_Click());
        } else {
            QVERIFY(window.cmdSave_Click());
            QVERIFY(dialog->cmdSave_Click());
        }
        const QByteArray saved = folder.Read("server.ini");
        QVERIFY(
            saved.startsWith("; kaarten\n[AudioPlayers]\nMultiJingle=1\nPlayer_Auto_card=1\nJingle_A_Card=1\n"
                             "Player_Jingles_card=2\nPlayer_A_card=1\nJingle_B_Card=0\nPlayer_B_card=-1\n"
                             "Jingle_C_Card=-1\nJingle_D_Card=2\nVreemd=1\n"));
        // The same file either way.
        if (dialogFirst) {
            QCOMPARE(folder.Read("server.ini"), otherOrder_);
        } else {
            otherOrder_ = folder.Read("server.ini");
        }
    }

    void failedSaveIsReported() {
        TempProgramFolder folder;
        QDir(folder.Path()).mkdir("server.ini");  // a folder where the file should be
        FakeServices fakes;
        fakes.waveOut.names = kThree;
        frmMultiJingles dialog(folder.Path(), fakes.Get());
        QCOMPARE(fakes.errors.reports.size(), 1);  // told at opening that the file cannot be read
        fakes.errors.reports.clear();
        dialog.show();
        QTest::keyClick(dialog.updKaart[2], Qt::Key_Up);
        QVERIFY(!dialog.cmdSave_Click());
        QCOMPARE(fakes.errors.reports.size(), 1);
        QCOMPARE(fakes.errors.reports[0].parent, &dialog);
        QVERIFY(fakes.errors.reports[0].message.contains("server.ini"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.Card(2), 0);
    }

private:
    TempProgramFolder folder_;  // the language file for the dialogs built on their own
    QByteArray otherOrder_;
};

QTEST_MAIN(MultiJinglesTest)
#include "tst_multi_jingles.moc"

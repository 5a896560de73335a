// Tab "Tijdseinblok": the six slot lists, the hour-change fader speed, the floating time signal
// before the hour and the button that opens its dialog.
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QtTest>

#include "windows/dialogs/frmFloatTime.h"
#include "windows/main_window/TimeSignalBlock.h"
#include "windows/main_window/frmSetup.h"
#include "widgets/ColourPanel.h"
#include "widgets/LedSpin.h"
#include "support/Fakes.h"
#include "support/TestFolder.h"

using namespace quorvant;
using namespace quorvant::test;

namespace {

const QStringList kSlotKeys = {"B6-1", "B6-2", "B6-3", "B1-1", "B1-2", "B1-3"};

QList<QComboBox*> SlotLists(TimeSignalBlock& part) {
    return {part.cob61, part.cob62, part.cob63, part.cob11, part.cob12, part.cob13};
}

QStringList Entries(const QComboBox* list) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) entries.append(list->itemText(i));
    return entries;
}

}  // namespace

class TimeSignalBlockTest : public QObject {
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    // The stored value is the position, so the entries and their order are the file format.
    void listEntriesInFileOrder() {
        TempProgramFolder folder;
        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        TimeSignalBlock& part = window.TimeSignal();
        const QStringList before = {"LEEG",
                                    "Reclame Blok 6",
                                    "Info Blok 6",
                                    "Nationaal Nieuws (FILE)",
                                    "Nationaal SportNieuws (FILE)",
                                    "Regionaal Nieuws (FILE)",
                                    "Regionaal SportNieuws (FILE)",
                                    "Weerbericht (FILE)"};
        const QStringList after = {"LEEG",
                                   "Reclame Blok 1",
                                   "Info Blok 1",
                                   "Nationaal Nieuws (FILE)",
                                   "Nationaal SportNieuws (FILE)",
                                   "Regionaal Nieuws (FILE)",
                                   "Regionaal SportNieuws (FILE)",
                                   "Weerbericht (FILE)",
                                   "Reclame Blok 2"};
        for (QComboBox* list : {part.cob61, part.cob62, part.cob63}) QCOMPARE(Entries(list), before);
        for (QComboBox* list : {part.cob11, part.cob12, part.cob13}) QCOMPARE(Entries(list), after);
    }

    void slotPositions_data() {
        QTest::addColumn<QByteArray>("sequencer");
        QTest::addColumn<QList<int>>("selected");  // cob61, cob62, cob63, cob11, cob12, cob13
        QTest::addColumn<QStringList>("saved");    // B6-1 .. B1-3
        QTest::addColumn<QString>("shown");        // text of the first selected list, if any

        const QStringList none = {"-1", "-1", "-1", "-1", "-1", "-1"};
        QTest::newRow("empty") << QByteArray() << QList<int>{-1, -1, -1, -1, -1, -1} << none << "";
        QTest::newRow("B1-3=8 is the second ad block")
            << QByteArray("B1-3=8\n") << QList<int>{-1, -1, -1, -1, -1, 8}
            << QStringList{"-1", "-1", "-1", "-1", "-1", "8"} << "Reclame Blok 2";
        QTest::newRow("B6-3=8 is not a position before the signal")
            << QByteArray("B6-3=8\n") << QList<int>{-1, -1, -1, -1, -1, -1} << none << "";
        QTest::newRow("B6-1=4 sports news")
            << QByteArray("B6-1=4\n") << QList<int>{4, -1, -1, -1, -1, -1}
            << QStringList{"4", "-1", "-1", "-1", "-1", "-1"} << "Nationaal SportNieuws (FILE)";
        QTest::newRow("B6-1=5 regional news")
            << QByteArray("B6-1=5\n") << QList<int>{5, -1, -1, -1, -1, -1}
            << QStringList{"5", "-1", "-1", "-1", "-1", "-1"} << "Regionaal Nieuws (FILE)";
        QTest::newRow("all set") << QByteArray("B6-1=0\nB6-2=1\nB6-3=7\nB1-1=2\nB1-2=3\nB1-3=6\n")
                                 << QList<int>{0, 1, 7, 2, 3, 6} << QStringList{"0", "1", "7", "2", "3", "6"} << "LEEG";
        QTest::newRow("refused values") << QByteArray("B6-1=-1\nB6-2=-2\nB6-3=abc\nB1-1=9\nB1-2=2.5\nB1-3=70000\n")
                                        << QList<int>{-1, -1, -1, -1, 2, -1}
                                        << QStringList{"-1", "-1", "-1", "-1", "2", "-1"} << "Info Blok 1";
    }
    void slotPositions() {
        QFETCH(QByteArray, sequencer);
        QFETCH(QList<int>, selected);
        QFETCH(QStringList, saved);
        QFETCH(QString, shown);

        TempProgramFolder folder;
        folder.Write("server.ini", "[Sequencer]\n" + sequencer);
        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        const QList<QComboBox*> lists = SlotLists(window.TimeSignal());
        QList<int> positions;
        for (QComboBox* list : lists) positions.append(list->currentIndex());
        QCOMPARE(positions, selected);
        for (int i = 0; i < lists.size(); ++i) {
            if (selected[i] >= 0) {
                QCOMPARE(lists[i]->currentText(), shown);
                break;
            }
        }
        QVERIFY(window.cmdSave_Click());
        for (int i = 0; i < kSlotKeys.size(); ++i)
            QCOMPARE(IniValueInFile(folder.File("server.ini"), "Sequencer", kSlotKeys[i]), saved[i]);
    }

    void floatingTimeSignalAndFaderSpeed_data() {
        QTest::addColumn<QByteArray>("fixture");
        QTest::addColumn<bool>("on");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("faderSpeed");
        QTest::addColumn<QStringList>("saved");  // TS_Pre_Float, TS_Pre_Float_Time, TMFaderSpeed

        QTest::newRow("empty") << QByteArray() << false << 0 << 0 << QStringList{"0", "0", "0"};
        QTest::newRow("stored") << QByteArray(
                                       "[Faders]\nTMFaderSpeed=2500\n[Sequencer]\nTS_Pre_Float=1\n"
                                       "TS_Pre_Float_Time=12\n")
                                << true << 12 << 2500 << QStringList{"1", "12", "2500"};
        QTest::newRow("a word is off") << QByteArray("[Sequencer]\nTS_Pre_Float=ja\n") << false << 0 << 0
                                       << QStringList{"0", "0", "0"};
        QTest::newRow("not numbers keep initial")
            << QByteArray("[Faders]\nTMFaderSpeed=snel\n[Sequencer]\nTS_Pre_Float_Time= \n") << false << 0 << 0
            << QStringList{"0", "0", "0"};
        QTest::newRow("outside limits kept")
            << QByteArray("[Faders]\nTMFaderSpeed=12000\n[Sequencer]\nTS_Pre_Float_Time=150\n") << false << 150 << 12000
            << QStringList{"0", "150", "12000"};
    }
    void floatingTimeSignalAndFaderSpeed() {
        QFETCH(QByteArray, fixture);
        QFETCH(bool, on);
        QFETCH(int, seconds);
        QFETCH(int, faderSpeed);
        QFETCH(QStringList, saved);

        TempProgramFolder folder;
        if (!fixture.isEmpty()) folder.Write("server.ini", fixture);
        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        TimeSignalBlock& part = window.TimeSignal();
        QCOMPARE(part.chkTS_Pre_float->isChecked(), on);
        QCOMPARE(part.ledTS_Pre_Float->Value(), seconds);
        QCOMPARE(part.ledTMFaderSpeed->Value(), faderSpeed);
        QVERIFY(window.cmdSave_Click());
        const QString file = folder.File("server.ini");
        QCOMPARE(IniValueInFile(file, "Sequencer", "TS_Pre_Float"), saved[0]);
        QCOMPARE(IniValueInFile(file, "Sequencer", "TS_Pre_Float_Time"), saved[1]);
        QCOMPARE(IniValueInFile(file, "Faders", "TMFaderSpeed"), saved[2]);
    }

    // frmSetup writes the parts of [Faders] one after another; the hour-change speed comes last.
    void faderSpeedIsTheLastKeyOfFaders() {
        TempProgramFolder folder;
        FakeServices fakes;
        fakes.mixers.AddDevice("Kaart", {"Lijn"});
        frmSetup window(folder.Path(), fakes.Get());
        QVERIFY(window.cmdSave_Click());
        const QStringList keys = SectionKeys(folder.Read("server.ini"), "Faders");
        QVERIFY(keys.size() >= 7);
        QCOMPARE(keys.first(), QString("PresLevel"));
        QCOMPARE(keys.last(), QString("TMFaderSpeed"));
        QCOMPARE(keys.count("TMFaderSpeed"), 1);
    }

    // One dialog at a time: pressing again brings the open one up; after closing, a new one reads again.
    void floatTimeDialogOpensOnce() {
        TempProgramFolder folder;
        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        TimeSignalBlock& part = window.TimeSignal();
        QVERIFY(!part.FloatTime());
        QTest::mouseClick(part.cmdVlottendTijdsein, Qt::LeftButton);
        QPointer<frmFloatTime> first = part.FloatTime();
        QVERIFY(first);
        QVERIFY(first->isVisible());
        QVERIFY(first->isWindow());
        QCOMPARE(first->parentWidget(), &window);
        QTest::mouseClick(part.cmdVlottendTijdsein, Qt::LeftButton);
        QCOMPARE(part.FloatTime(), first.data());
        QCOMPARE(window.findChildren<frmFloatTime*>().size(), 1);

        QVERIFY(first->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!first);
        QVERIFY(!part.FloatTime());
        QTest::mouseClick(part.cmdVlottendTijdsein, Qt::LeftButton);
        QVERIFY(part.FloatTime());
        QCOMPARE(window.findChildren<frmFloatTime*>().size(), 1);
    }
};

QTEST_MAIN(TimeSignalBlockTest)
#include "tst_time_signal_block.moc"

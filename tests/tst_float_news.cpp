// The floating news dialog against real server.ini files: load, save, close.

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "windows/dialogs/frmFloatNews.h"
#include "widgets/LedSpin.h"
#include "widgets/StateCheckBox.h"
#include "support/Fakes.h"
#include "support/TestFolder.h"

using namespace quorvant;
using namespace quorvant::test;

namespace {

const QStringList kKeys = {"B6AutoStart", "B6Start",    "B6Min",  "B6Sec",   "B6Auto",  "B6AutoHard",
                           "B6live",      "B6LiveHard", "B6feed", "B6feed2", "B6feed3", "B6len"};

// Foreign content around [Float], with a B6Start of another section that must stay as it is.
const QByteArray kBefore = "; server settings\r\n[Files]\r\nDatabasePath=C:\\Valdor\\db\r\n\r\n";
const QByteArray kAfter = "\r\n[Sequencer]\r\nB6Start=1\r\nLatency = 300 ; ms\r\n";

// A null value leaves its key out.
QByteArray FloatSection(const QStringList& values) {
    QByteArray text = "[Float]\r\n";
    for (int i = 0; i < kKeys.size(); ++i)
        if (!values.value(i).isNull()) text += (kKeys[i] + "=" + values.value(i)).toUtf8() + "\r\n";
    return text;
}

QByteArray ServerIni(const QStringList& floatValues) { return kBefore + FloatSection(floatValues) + kAfter; }

// The dialog is deleted on close; this keeps it reachable and cleans up what is left.
class OpenDialog {
public:
    OpenDialog(const TempProgramFolder& folder, FakeServices& fakes, QWidget* opener = nullptr) {
        ResetProgramState();
        window_ = new frmFloatNews(folder.Path(), fakes.Get(), opener);
        window_->show();
    }
    ~OpenDialog() { delete window_.data(); }
    frmFloatNews* operator->() const { return window_.data(); }
    frmFloatNews* Get() const { return window_.data(); }
    // True once the dialog has been closed and deleted.
    bool Gone() const {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return window_.isNull();
    }

private:
    QPointer<frmFloatNews> window_;
};

QString Pair(const QRadioButton* named, const QRadioButton* partner, const char* namedMark, const char* partnerMark) {
    if (named->isChecked()) return namedMark;
    if (partner->isChecked()) return partnerMark;
    return "-";
}

// What the dialog shows, in one line.
QString Shown(const frmFloatNews* w) {
    return QString("use=%1 pair=%2 %3'%4'' auto=%5 %6 live=%7 %8 feeds=%9,%10,%11 len=%12")
        .arg(w->chkUseFloatNews->State())
        .arg(Pair(w->optStart2, w->optStop0, "S", "E"))
        .arg(w->ledStartMin0->Value())
        .arg(w->ledStartSec0->Value())
        .arg(w->chkBlokAuto0->State())
        .arg(Pair(w->optAutoHard0, w->optAutoSoft0, "H", "Z"))
        .arg(w->chkBlokLive0->State())
        .arg(Pair(w->optLiveHard0, w->optLiveSoft0, "H", "Z"))
        .arg(w->chkFeed1_0->State())
        .arg(w->chkFeed2_0->State())
        .arg(w->chkFeed3_0->State())
        .arg(w->ledUitvul0->Value());
}

}  // namespace

class TestFloatNews : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void saveClosesOnlyTheDialog();
    void titleBarCloseWritesNothing();
    void failedSaveKeepsTheDialogAndItsValues();
};

void TestFloatNews::roundTrip_data() {
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("press");  // object name of a button the user presses, or empty
    QTest::addColumn<QStringList>("saved");

    const QStringList plain = {"1", "1", "5", "30", "1", "1", "0", "0", "1", "0", "2", "120"};
    auto with = [&](int index, const QString& value) {
        QStringList values = plain;
        values[index] = value;
        return values;
    };
    const int start = 1, min = 2, sec = 3, autoHard = 5, live = 6, liveHard = 7, feed2 = 9, feed3 = 10, len = 11;

    QTest::newRow("untouched values come back as they were")
        << plain << "use=1 pair=S 5'30'' auto=1 H live=0 - feeds=1,0,2 len=120"
        << "" << plain;
    QTest::newRow("B6Start 0 selects neither, saved 0")
        << with(start, "0") << "use=1 pair=- 5'30'' auto=1 H live=0 - feeds=1,0,2 len=120"
        << "" << with(start, "0");
    QTest::newRow("Eindigt op selected, saved 0")
        << plain << "use=1 pair=S 5'30'' auto=1 H live=0 - feeds=1,0,2 len=120"
        << "optStop(0)" << with(start, "0");
    QTest::newRow("Start op selected from 0, saved 1")
        << with(start, "0") << "use=1 pair=- 5'30'' auto=1 H live=0 - feeds=1,0,2 len=120"
        << "optStart(2)" << plain;
    QTest::newRow("B6AutoHard a word selects neither")
        << with(autoHard, "hard") << "use=1 pair=S 5'30'' auto=1 - live=0 - feeds=1,0,2 len=120"
        << "" << with(autoHard, "0");
    QTest::newRow("B6AutoHard 2 selects neither, saved 0")
        << with(autoHard, "2") << "use=1 pair=S 5'30'' auto=1 - live=0 - feeds=1,0,2 len=120"
        << "" << with(autoHard, "0");
    QTest::newRow("Zacht selected, saved 0") << plain << "use=1 pair=S 5'30'' auto=1 H live=0 - feeds=1,0,2 len=120"
                                             << "optAutoSoft(0)" << with(autoHard, "0");
    QTest::newRow("B6LiveHard 1 selects Hard in the live group")
        << with(liveHard, "1") << "use=1 pair=S 5'30'' auto=1 H live=0 H feeds=1,0,2 len=120"
        << "" << with(liveHard, "1");
    QTest::newRow("B6feed2 1 checks Feed 2")
        << with(feed2, "1") << "use=1 pair=S 5'30'' auto=1 H live=0 - feeds=1,1,2 len=120"
        << "" << with(feed2, "1");
    {
        QStringList stored = with(feed2, "7");
        stored[feed3] = "1";
        stored[len] = "45";
        QStringList saved = stored;
        saved[feed2] = "0";
        QTest::newRow("B6feed2 7 is refused and the load goes on")
            << stored << "use=1 pair=S 5'30'' auto=1 H live=0 - feeds=1,0,1 len=45"
            << "" << saved;
    }
    QTest::newRow("a check state that is a word is skipped")
        << with(live, "ja") << "use=1 pair=S 5'30'' auto=1 H live=0 - feeds=1,0,2 len=120"
        << "" << plain;
    QTest::newRow("grey Live kept") << with(live, "2") << "use=1 pair=S 5'30'' auto=1 H live=2 - feeds=1,0,2 len=120"
                                    << "" << with(live, "2");
    QTest::newRow("minutes above 59 kept")
        << with(min, "75") << "use=1 pair=S 75'30'' auto=1 H live=0 - feeds=1,0,2 len=120"
        << "" << with(min, "75");
    QTest::newRow("seconds that are no number stay 0")
        << with(sec, "half") << "use=1 pair=S 5'0'' auto=1 H live=0 - feeds=1,0,2 len=120"
        << "" << with(sec, "0");
    QTest::newRow("empty values leave the starting state")
        << QStringList(12, "") << "use=0 pair=- 0'0'' auto=0 - live=0 - feeds=0,0,0 len=0" << "" << QStringList(12, "0");
    QTest::newRow("an empty section gets the twelve keys in order, with their capitals")
        << QStringList(12, QString()) << "use=0 pair=- 0'0'' auto=0 - live=0 - feeds=0,0,0 len=0" << ""
        << QStringList(12, "0");
    QTest::newRow("no file: made with the section")  // no values: no file
        << QStringList() << "use=0 pair=- 0'0'' auto=0 - live=0 - feeds=0,0,0 len=0" << "" << QStringList(12, "0");
}

void TestFloatNews::roundTrip() {
    QFETCH(QStringList, stored);
    QFETCH(QString, shown);
    QFETCH(QString, press);
    QFETCH(QStringList, saved);

    TempProgramFolder folder;
    if (!stored.isEmpty()) folder.Write("server.ini", ServerIni(stored));
    FakeServices fakes;
    OpenDialog dialog(folder, fakes);
    QCOMPARE(Shown(dialog.Get()), shown);
    if (!press.isEmpty()) {
        auto* button = dialog->findChild<QAbstractButton*>(press);
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    QVERIFY(dialog->cmdSave_Click());
    QVERIFY(fakes.errors.reports.isEmpty());
    // A new file has Unix line ends.
    QCOMPARE(folder.Read("server.ini"), stored.isEmpty() ? FloatSection(saved).replace('\r', "") : ServerIni(saved));
}

void TestFloatNews::saveClosesOnlyTheDialog() {
    TempProgramFolder folder;
    folder.Write("server.ini", ServerIni(QStringList(12, "0")));
    FakeServices fakes;
    QWidget opener;  // stands in for the news schedule dialog
    opener.show();
    OpenDialog dialog(folder, fakes, &opener);
    QTest::mouseClick(dialog->cmdSave, Qt::LeftButton);
    QVERIFY(dialog.Gone());
    QVERIFY(opener.isVisible());
}

void TestFloatNews::titleBarCloseWritesNothing() {
    TempProgramFolder folder;
    const QByteArray stored = ServerIni({"0", "0", "1", "2", "0", "0", "0", "0", "0", "0", "0", "9"});
    folder.Write("server.ini", stored);
    FakeServices fakes;
    OpenDialog dialog(folder, fakes);
    dialog->chkUseFloatNews->SetState(1);
    dialog->optStart2->setChecked(true);
    dialog->ledUitvul0->SetValue(500);
    QVERIFY(dialog->close());
    QVERIFY(dialog.Gone());
    QCOMPARE(folder.Read("server.ini"), stored);
}

void TestFloatNews::failedSaveKeepsTheDialogAndItsValues() {
    TempProgramFolder folder;
    // A folder where the file should be: it reads as nothing and cannot be replaced.
    QVERIFY(QDir().mkpath(folder.File("server.ini")));
    FakeServices fakes;
    OpenDialog dialog(folder, fakes);
    QCOMPARE(fakes.errors.reports.size(), 1);  // told at opening that the file cannot be read
    fakes.errors.reports.clear();
    dialog->optAutoHard0->setChecked(true);
    dialog->ledStartMin0->SetValue(12);
    QVERIFY(!dialog->cmdSave_Click());
    QVERIFY(!dialog.Gone());
    QVERIFY(dialog->isVisible());
    QCOMPARE(fakes.errors.reports.size(), 1);
    QCOMPARE(fakes.errors.reports[0].title, QString("Vlottend Nieuws"));
    QVERIFY(fakes.errors.reports[0].message.contains("server.ini"));
    QCOMPARE(Shown(dialog.Get()), QString("use=0 pair=- 12'0'' auto=0 H live=0 - feeds=0,0,0 len=0"));

    // Once the obstacle is gone the same dialog saves what it shows.
    QVERIFY(QDir(folder.File("server.ini")).removeRecursively());
    QVERIFY(dialog->cmdSave_Click());
    QCOMPARE(IniValueInFile(folder.File("server.ini"), "Float", "B6Min"), QString("12"));
    QCOMPARE(IniValueInFile(folder.File("server.ini"), "Float", "B6AutoHard"), QString("1"));
}

QTEST_MAIN(TestFloatNews)
#include "tst_float_news.moc"

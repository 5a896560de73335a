// The floating time-signal dialog against real server.ini files: the two sets, switching, leaving.

#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "windows/dialogs/frmFloatTime.h"
#include "widgets/WeekHourGrid.h"
#include "widgets/LedSpin.h"
#include "widgets/StateCheckBox.h"
#include "support/Fakes.h"
#include "support/TestFolder.h"
#include "text/TextTable.h"

using namespace quorvant;
using namespace quorvant::test;

namespace {

const QStringList kDays = {"MA", "DI", "WO", "DO", "VR", "ZA", "ZO"};
const QString kZeros = QString(24, '0');
const QString kOnes = QString(24, '1');

// One set as the file holds it: PreTime, AfterTime and the seven day strings.
struct Set {
    QString pre;
    QString after;
    QStringList days = QStringList(7, kZeros);
};

QByteArray Section(const QString& name, const Set& set) {
    QString text = "[" + name + "]\r\nPreTime=" + set.pre + "\r\nAfterTime=" + set.after + "\r\n";
    for (int d = 0; d < 7; ++d) text += kDays[d] + "=" + set.days[d] + "\r\n";
    return text.toUtf8();
}

// Foreign sections around the two sets must survive byte for byte.
QByteArray ServerIni(const Set& automatic, const Set& live) {
    return "[Files]\r\nDatabasePath=C:\\Valdor\\db\r\n\r\n" + Section("FloatTSauto", automatic) +
           "; between the sets\r\n" + Section("FloatTSlive", live) + "[Colors]\r\nBack1 = 255\r\n";
}

class OpenDialog {
public:
    OpenDialog(const TempProgramFolder& folder, FakeServices& fakes) {
        ResetProgramState();
        LaadTaal(folder.Path());
        window_ = new frmFloatTime(folder.Path(), fakes.Get());
        window_->show();
    }
    ~OpenDialog() { delete window_.data(); }
    frmFloatTime* operator->() const { return window_.data(); }
    bool Gone() const {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return window_.isNull();
    }

private:
    QPointer<frmFloatTime> window_;
};

QStringList ShownDays(const frmFloatTime* w) {
    QStringList days;
    for (int d = 0; d < 7; ++d) days << w->grid->EncodeDay(d);
    return days;
}

}  // namespace

class TestFloatTime : public QObject {
    Q_OBJECT

private slots:
    void freshFileOpensEmptyAndFirstSwitchSavesTheAutomaticSet();
    void readAndWriteBack_data();
    void readAndWriteBack();
    void editsOfBothSetsSurviveSwitching();
    void leavingWhileLiveWritesOnlyTheLiveSet();
    void failedSwitchKeepsTheShownSet();
    void titleBarCloseWritesNothing();
};

void TestFloatTime::freshFileOpensEmptyAndFirstSwitchSavesTheAutomaticSet() {
    TempProgramFolder folder;
    const QByteArray fresh = "[Files]\r\nDatabasePath=C:\\Valdor\\db\r\n";
    folder.Write("server.ini", fresh);
    FakeServices fakes;
    OpenDialog dialog(folder, fakes);
    QCOMPARE(dialog->windowTitle(), QString("Vlottend Tijdsein configuratie"));
    QVERIFY(dialog->Option1->isChecked());
    QVERIFY(!dialog->Option2->isChecked());
    QCOMPARE(dialog->ledVoor->Value(), 0);
    QCOMPARE(dialog->ledNa->Value(), 0);
    QCOMPARE(ShownDays(dialog.operator->()), QStringList(7, kZeros));
    // Opening, and pressing the option that is already selected, write nothing.
    dialog->Option1->click();
    QCOMPARE(folder.Read("server.ini"), fresh);

    dialog->Option2->click();
    QVERIFY(dialog->LiveShown());
    QVERIFY(fakes.errors.reports.isEmpty());
    QCOMPARE(IniValueInFile(folder.File("server.ini"), "FloatTSauto", "PreTime"), QString("0"));
    QCOMPARE(IniValueInFile(folder.File("server.ini"), "FloatTSauto", "AfterTime"), QString("0"));
    for (const QString& day : kDays) QCOMPARE(IniValueInFile(folder.File("server.ini"), "FloatTSauto", day), kZeros);
    QVERIFY(IniValueInFile(folder.File("server.ini"), "FloatTSlive", "PreTime").isNull());
    QVERIFY(folder.Read("server.ini").startsWith(fresh));
    QCOMPARE(dialog->ledVoor->Value(), 0);
    QCOMPARE(ShownDays(dialog.operator->()), QStringList(7, kZeros));
}

void TestFloatTime::readAndWriteBack_data() {
    QTest::addColumn<QString>("pre");
    QTest::addColumn<QString>("monday");
    QTest::addColumn<int>("preShown");
    QTest::addColumn<QString>("mondayShown");  // as EncodeDay gives it, which is also what is saved

    const QString five = "11111";
    QTest::newRow("24 ones") << "15" << kOnes << 15 << kOnes;
    QTest::newRow("five ones clear the day") << "15" << five << 15 << kZeros;
    QTest::newRow("grey hour kept") << "15" << ("2" + QString(22, '0') + "1") << 15 << ("2" + QString(22, '0') + "1");
    QTest::newRow("bad characters are off hours")
        << "15" << ("1x13 9" + QString(18, '1')) << 15 << ("101000" + QString(18, '1'));
    QTest::newRow("empty PreTime is 0") << "" << kZeros << 0 << kZeros;
    QTest::newRow("PreTime 90") << "90" << kZeros << 90 << kZeros;
    QTest::newRow("PreTime a word is 0") << "lang" << kZeros << 0 << kZeros;
    QTest::newRow("PreTime beyond 16 bits is 0") << "40000" << kZeros << 0 << kZeros;
    QTest::newRow("PreTime above 600 kept") << "900" << kZeros << 900 << kZeros;
}

void TestFloatTime::readAndWriteBack() {
    QFETCH(QString, pre);
    QFETCH(QString, monday);
    QFETCH(int, preShown);
    QFETCH(QString, mondayShown);

    Set automatic{pre, "30", {monday, kOnes, kZeros, kZeros, kZeros, kZeros, "000000111100000000000000"}};
    const Set live{"5", "6", QStringList(7, kOnes)};
    TempProgramFolder folder;
    folder.Write("server.ini", ServerIni(automatic, live));
    FakeServices fakes;
    OpenDialog dialog(folder, fakes);
    QCOMPARE(dialog->ledVoor->Value(), preShown);
    QCOMPARE(dialog->ledNa->Value(), 30);
    QCOMPARE(dialog->grid->EncodeDay(0), mondayShown);
    QCOMPARE(dialog->grid->Box(0, 0)->checkState(),
             mondayShown[0] == '2' ? Qt::PartiallyChecked : (mondayShown[0] == '1' ? Qt::Checked : Qt::Unchecked));
    QCOMPARE(dialog->grid->EncodeDay(6), QString("000000111100000000000000"));

    QVERIFY(dialog->cmdStop_Click());
    QVERIFY(dialog.Gone());
    automatic.pre = QString::number(preShown);
    automatic.days[0] = mondayShown;
    QCOMPARE(folder.Read("server.ini"), ServerIni(automatic, live));
}

void TestFloatTime::editsOfBothSetsSurviveSwitching() {
    TempProgramFolder folder;
    const Set live{"0", "45", QStringList(7, kZeros)};
    folder.Write("server.ini", ServerIni(Set{"10", "20"}, live));
    FakeServices fakes;
    OpenDialog dialog(folder, fakes);
    dialog->ledVoor->SetValue(120);
    QTest::mouseClick(dialog->grid->Box(2, 5), Qt::LeftButton);  // Wednesday 5 o'clock on

    dialog->Option2->click();
    QCOMPARE(dialog->ledVoor->Value(), 0);
    QCOMPARE(dialog->ledNa->Value(), 45);
    QCOMPARE(dialog->grid->Box(2, 5)->State(), 0);
    dialog->ledNa->SetValue(600);
    dialog->grid->ToggleDayRow(6);

    dialog->Option1->click();
    QVERIFY(!dialog->LiveShown());
    QCOMPARE(dialog->ledVoor->Value(), 120);
    QCOMPARE(dialog->ledNa->Value(), 20);
    QCOMPARE(dialog->grid->Box(2, 5)->State(), 1);
    QCOMPARE(dialog->grid->EncodeDay(6), kZeros);

    dialog->Option2->click();
    QCOMPARE(dialog->ledNa->Value(), 600);
    QCOMPARE(dialog->grid->EncodeDay(6), kOnes);
    QVERIFY(fakes.errors.reports.isEmpty());

    Set automaticSaved{"120", "20"};
    automaticSaved.days[2] = "000001" + QString(18, '0');
    Set liveSaved{"0", "600"};
    liveSaved.days[6] = kOnes;
    QCOMPARE(folder.Read("server.ini"), ServerIni(automaticSaved, liveSaved));
}

void TestFloatTime::leavingWhileLiveWritesOnlyTheLiveSet() {
    TempProgramFolder folder;
    const Set automatic{"10", "20", QStringList(7, kOnes)};
    folder.Write("server.ini", ServerIni(automatic, Set{"1", "2"}));
    FakeServices fakes;
    OpenDialog dialog(folder, fakes);
    dialog->Option2->click();
    // The switch saved the automatic set unchanged.
    QCOMPARE(folder.Read("server.ini"), ServerIni(automatic, Set{"1", "2"}));

    dialog->ledVoor->SetValue(300);
    dialog->grid->ToggleHourColumn(23);
    QTest::mouseClick(dialog->cmdStop, Qt::LeftButton);
    QVERIFY(dialog.Gone());
    Set live{"300", "2", QStringList(7, QString(23, '0') + "1")};
    QCOMPARE(folder.Read("server.ini"), ServerIni(automatic, live));
}

void TestFloatTime::failedSwitchKeepsTheShownSet() {
    TempProgramFolder folder;
    // A folder where the file should be: it reads as nothing and cannot be replaced.
    QVERIFY(QDir().mkpath(folder.File("server.ini")));
    FakeServices fakes;
    OpenDialog dialog(folder, fakes);
    QCOMPARE(fakes.errors.reports.size(), 1);  // told at opening that the file cannot be read
    fakes.errors.reports.clear();
    dialog->ledVoor->SetValue(55);
    dialog->grid->ToggleDayRow(0);

    dialog->Option2->click();
    QCOMPARE(fakes.errors.reports.size(), 1);
    QVERIFY(fakes.errors.reports[0].message.contains("server.ini"));
    QVERIFY(!dialog->LiveShown());
    QVERIFY(dialog->Option1->isChecked());
    QVERIFY(!dialog->Option2->isChecked());
    QCOMPARE(dialog->ledVoor->Value(), 55);
    QCOMPARE(dialog->grid->EncodeDay(0), kOnes);

    // Leaving fails the same way and keeps the window.
    QVERIFY(!dialog->cmdStop_Click());
    QVERIFY(!dialog.Gone());
    QCOMPARE(fakes.errors.reports.size(), 2);

    // With the obstacle gone the next switch saves the edits of the automatic set.
    QVERIFY(QDir(folder.File("server.ini")).removeRecursively());
    dialog->Option2->click();
    QVERIFY(dialog->LiveShown());
    QCOMPARE(IniValueInFile(folder.File("server.ini"), "FloatTSauto", "PreTime"), QString("55"));
    QCOMPARE(IniValueInFile(folder.File("server.ini"), "FloatTSauto", "MA"), kOnes);
}

void TestFloatTime::titleBarCloseWritesNothing() {
    TempProgramFolder folder;
    const QByteArray stored = ServerIni(Set{"10", "20"}, Set{"1", "2"});
    folder.Write("server.ini", stored);
    FakeServices fakes;
    OpenDialog dialog(folder, fakes);
    dialog->ledVoor->SetValue(99);
    dialog->grid->ToggleHourColumn(3);
    QVERIFY(dialog->close());
    QVERIFY(dialog.Gone());
    QCOMPARE(folder.Read("server.ini"), stored);
}

QTEST_MAIN(TestFloatTime)
#include "tst_float_time.moc"

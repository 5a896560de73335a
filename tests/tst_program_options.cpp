// [program]: general program options on tab 3 and the remote-control frame on tab 6.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

#include "windows/main_window/ProgramOptions.h"
#include "windows/main_window/frmSetup.h"
#include "widgets/StateCheckBox.h"
#include "support/WindowFixture.h"

using namespace quorvant;
using namespace quorvant::test;

namespace {

// Number of lines of a section whose key is `key` in any letter case.
int EntriesOf(const QStringList& lines, const QString& key) {
    int count = 0;
    for (const QString& line : lines)
        if (line.section('=', 0, 0).trimmed().compare(key, Qt::CaseInsensitive) == 0) ++count;
    return count;
}

struct Setup : WindowFixture {
    using WindowFixture::WindowFixture;
    ProgramOptions& options() { return window->Options(); }
    QStringList SavedSection() { return WindowFixture::SavedSection("program"); }
    QString Saved(const QString& key) const { return WindowFixture::Saved("program", key); }
};

// Index of the selected option of a group; -1 when none is.
template <std::size_t N>
int Selected(const std::array<QRadioButton*, N>& options) {
    int selected = -1;
    for (std::size_t i = 0; i < N; ++i)
        if (options[i]->isChecked()) selected = selected < 0 ? int(i) : -2;  // -2: more than one
    return selected;
}

}  // namespace

class TestProgramOptions : public QObject {
    Q_OBJECT

private slots:
    void noSectionGivesDefaultsAndWritesEveryKey();
    void untouchedSectionSurvivesByteForByte();
    void login_data();
    void login();
    void checkStateKeys_data();
    void checkStateKeys();
    void oneMeansOnKeys_data();
    void oneMeansOnKeys();
    void serverMode_data();
    void serverMode();
    void loginLevel_data();
    void loginLevel();
    void messageBlanks();
    void pairs();
};

void TestProgramOptions::noSectionGivesDefaultsAndWritesEveryKey() {
    Setup s("[Files]\nLogPath=x\n");
    ProgramOptions& o = s.options();
    for (QCheckBox* box : {o.chkDebug, o.chkBlockStraksLive, o.chkSabam, o.chkIR, o.chkAutoIR,
                           static_cast<QCheckBox*>(o.chkAutoLogin), static_cast<QCheckBox*>(o.chkPersJingle)})
        QCOMPARE(box->checkState(), Qt::Unchecked);
    QCOMPARE(Selected(o.optScherm), 0);
    QCOMPARE(Selected(o.optSchermPos), 0);
    QCOMPARE(Selected(o.optStart), 0);
    QCOMPARE(Selected(o.optLogin), 0);
    QCOMPARE(Selected(o.optMaster), 0);
    QCOMPARE(o.txtTekst->text(), QString());
    QCOMPARE(o.cobNiveau->currentIndex(), -1);
    QCOMPARE(o.cobNiveau->count(), 4);

    const QStringList expected = {"Debugger=0",  "BlockLive=0",   "Sabam=0",      "Mes1=",
                                  "Dual=0",    "ScreenPos=0", "StartUp=0",     "IR=0",         "AutoIR=0",
                                  "Login=0",   "Autologin=0", "LoginLevel=-1", "PersJingle=0", "Slave=0"};
    QCOMPARE(s.SavedSection(), expected);
    QVERIFY(FileLines(s.folder.Read("server.ini")).contains("[program]"));
}

void TestProgramOptions::untouchedSectionSurvivesByteForByte() {
    const QByteArray file =
        "; server settings\r\n[program]\r\nDebugger=1\r\nBlockLive=0\r\n; keep this comment\r\nSabam=1\r\n"
        "Mes1=VALDOR  SERVER\r\nDual=1\r\nScreenPos=1\r\nStartUp=1\r\nIR=1\r\nAutoIR=0\r\nLogin=5\r\n"
        "AutoLogin=2\r\nLoginLevel=3\r\nPersJingle=1\r\nSlave=1\r\nForeign=kept as it is\r\n"
        "[Other]\r\nx=1\r\n";
    Setup s(file);
    QVERIFY(s.window->cmdSave_Click());
    QCOMPARE(SectionLines(s.folder.Read("server.ini"), "program"), SectionLines(file, "program"));
    QCOMPARE(SectionLines(s.folder.Read("server.ini"), "Other"), SectionLines(file, "Other"));
    QVERIFY(s.folder.Read("server.ini").contains("[Other]\r\nx=1\r\n"));
    QVERIFY(s.folder.Read("server.ini").startsWith("; server settings\r\n[program]\r\nDebugger=1\r\n"));
}

void TestProgramOptions::login_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("option");
    QTest::addColumn<QString>("written");
    QTest::newRow("7 is 50 min") << QByteArray("7") << 7 << "7";
    QTest::newRow("3") << QByteArray("3") << 3 << "3";
    QTest::newRow("8 unknown") << QByteArray("8") << 0 << "0";
    QTest::newRow("07 leading zero") << QByteArray("07") << 0 << "0";
    QTest::newRow("blank before digit") << QByteArray(" 4") << 0 << "0";
    QTest::newRow("decimal point") << QByteArray("4.0") << 0 << "0";
    QTest::newRow("empty") << QByteArray("") << 0 << "0";
}

void TestProgramOptions::login() {
    QFETCH(QByteArray, stored);
    QFETCH(int, option);
    QFETCH(QString, written);
    Setup s("[program]\nLogin=" + stored + "\n");
    QCOMPARE(Selected(s.options().optLogin), option);
    const QStringList saved = s.SavedSection();
    QCOMPARE(EntriesOf(saved, "Login"), 1);
    QCOMPARE(s.Saved("Login"), written);
}

void TestProgramOptions::checkStateKeys_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("writtenLine");
    QTest::newRow("AutoLogin 2 grey") << QByteArray("AutoLogin=2") << "Autologin" << 2 << "AutoLogin=2";
    QTest::newRow("AutoLogin 3 refused") << QByteArray("AutoLogin=3") << "Autologin" << 0 << "AutoLogin=0";
    QTest::newRow("AUTOLOGIN one entry") << QByteArray("AUTOLOGIN=1") << "Autologin" << 1 << "AUTOLOGIN=1";
    QTest::newRow("written form read back") << QByteArray("Autologin=1") << "Autologin" << 1 << "Autologin=1";
    QTest::newRow("PersJingle 2 grey") << QByteArray("PersJingle=2") << "PersJingle" << 2 << "PersJingle=2";
    QTest::newRow("PersJingle word") << QByteArray("PersJingle=ja") << "PersJingle" << 0 << "PersJingle=0";
}

void TestProgramOptions::checkStateKeys() {
    QFETCH(QByteArray, line);
    QFETCH(QString, key);
    QFETCH(int, state);
    QFETCH(QString, writtenLine);
    Setup s("[program]\n" + line + "\n");
    StateCheckBox* box = key == "Autologin" ? s.options().chkAutoLogin : s.options().chkPersJingle;
    QCOMPARE(box->State(), state);
    const QStringList saved = s.SavedSection();
    QCOMPARE(EntriesOf(saved, key), 1);
    QVERIFY2(saved.contains(writtenLine), qPrintable(saved.join(" | ")));
}

void TestProgramOptions::oneMeansOnKeys_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("written");
    QTest::newRow("1") << QByteArray("1") << true << "1";
    QTest::newRow("1.0") << QByteArray("1.0") << true << "1";
    QTest::newRow("2 is off") << QByteArray("2") << false << "0";
    QTest::newRow("word") << QByteArray("aan") << false << "0";
}

void TestProgramOptions::oneMeansOnKeys() {
    QFETCH(QByteArray, stored);
    QFETCH(bool, on);
    QFETCH(QString, written);
    Setup s("[program]\nDebugger=" + stored + "\nBlockLive=" + stored + "\nAutoIR=" + stored + "\n");
    QCOMPARE(s.options().chkDebug->isChecked(), on);
    QCOMPARE(s.options().chkBlockStraksLive->isChecked(), on);
    QCOMPARE(s.options().chkAutoIR->isChecked(), on);
    QVERIFY(!s.options().chkIR->isChecked());  // chkAutoIR does not need chkIR
    QVERIFY(s.window->cmdSave_Click());
    QCOMPARE(s.Saved("Debugger"), written);
    QCOMPARE(s.Saved("BlockLive"), written);
    QCOMPARE(s.Saved("AutoIR"), written);
}

void TestProgramOptions::serverMode_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("option");
    QTest::addColumn<QString>("written");
    QTest::newRow("1 Slave") << QByteArray("1") << 1 << "1";
    QTest::newRow("0 Master") << QByteArray("0") << 0 << "0";
    QTest::newRow("empty Master") << QByteArray("") << 0 << "0";
    QTest::newRow("1.0 Slave") << QByteArray("1.0") << 1 << "1";
    QTest::newRow("5 neither") << QByteArray("5") << -1 << "0";
    QTest::newRow("word neither") << QByteArray("slave") << -1 << "0";
}

void TestProgramOptions::serverMode() {
    QFETCH(QByteArray, stored);
    QFETCH(int, option);
    QFETCH(QString, written);
    Setup s("[program]\nSlave=" + stored + "\n");
    QCOMPARE(Selected(s.options().optMaster), option);
    QVERIFY(s.window->cmdSave_Click());
    QCOMPARE(s.Saved("Slave"), written);
}

void TestProgramOptions::loginLevel_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("written");
    QTest::newRow("BOSS") << QByteArray("3") << 3 << "3";
    QTest::newRow("-1 none") << QByteArray("-1") << -1 << "-1";
    QTest::newRow("4 refused") << QByteArray("4") << -1 << "-1";
    QTest::newRow("word refused") << QByteArray("DJ-2") << -1 << "-1";
}

void TestProgramOptions::loginLevel() {
    QFETCH(QByteArray, stored);
    QFETCH(int, position);
    QFETCH(QString, written);
    Setup s("[program]\nLoginLevel=" + stored + "\n");
    QCOMPARE(s.options().cobNiveau->currentIndex(), position);
    QVERIFY(s.window->cmdSave_Click());
    QCOMPARE(s.Saved("LoginLevel"), written);
}

void TestProgramOptions::messageBlanks() {
    Setup s("[program]\nMes1=  Goeie  morgen \n");
    QCOMPARE(s.options().txtTekst->text(), QString("  Goeie  morgen "));
    QVERIFY(s.window->cmdSave_Click());
    QCOMPARE(s.Saved("Mes1"), QString("Goeie  morgen"));
    QCOMPARE(s.options().txtTekst->text(), QString("  Goeie  morgen "));
}

void TestProgramOptions::pairs() {
    Setup s("[program]\nDual=1\nScreenPos=0\nStartUp=1\n");
    ProgramOptions& o = s.options();
    QCOMPARE(Selected(o.optScherm), 1);
    QCOMPARE(Selected(o.optSchermPos), 0);
    QCOMPARE(Selected(o.optStart), 1);
    // A user's choice within a frame clears only that frame's other option.
    o.optSchermPos[1]->click();
    QCOMPARE(Selected(o.optSchermPos), 1);
    QCOMPARE(Selected(o.optScherm), 1);
    o.optLogin[6]->click();
    QVERIFY(s.window->cmdSave_Click());
    QCOMPARE(s.Saved("ScreenPos"), QString("1"));
    QCOMPARE(s.Saved("Dual"), QString("1"));
    QCOMPARE(s.Saved("StartUp"), QString("1"));
    QCOMPARE(s.Saved("Login"), QString("6"));
}

QTEST_MAIN(TestProgramOptions)
#include "tst_program_options.moc"

// [InterPC]: the six network links on tabs 6, 7 and 9.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QTabWidget>
#include <QtTest>

#include "windows/main_window/NetworkLinks.h"
#include "windows/main_window/frmSetup.h"
#include "windows/shared/CheckMarks.h"
#include "widgets/StateCheckBox.h"
#include "support/WindowFixture.h"

using namespace quorvant;
using namespace quorvant::test;

namespace {

struct Setup : WindowFixture {
    using WindowFixture::WindowFixture;
    NetworkLinks& links() { return window->Links(); }
    QStringList SavedSection() { return WindowFixture::SavedSection("InterPC"); }
    QLineEdit* Box(const QString& name) { return window->findChild<QLineEdit*>(name); }
};

}  // namespace

class TestNetworkLinks : public QObject {
    Q_OBJECT

private slots:
    void noSectionWritesEveryKey();
    void untouchedSectionSurvivesByteForByte();
    void enableKeys_data();
    void enableKeys();
    void textBoxes_data();
    void textBoxes();
    void badNumberPortRefusesTheWholeSave_data();
    void badNumberPortRefusesTheWholeSave();
    void textPortsAreNotNumbers();
};

void TestNetworkLinks::noSectionWritesEveryKey() {
    Setup s("[Colors]\nMusBack=0\n");
    for (int id = 0; id < NetworkLinks::kLinks; ++id) {
        const NetworkLinks::Link& link = s.links()[NetworkLinks::LinkId(id)];
        QCOMPARE(link.enable->checkState(), Qt::Unchecked);
        for (QLineEdit* box : {link.txtRemoteName, link.txtRemotePort, link.txtHostPort})
            QVERIFY(box->text().isEmpty());
    }
    QCOMPARE(s.links().cobSysteem->currentText(), QString("CONTACT"));
    QCOMPARE(s.links().cobSysteem->count(), 1);

    const QStringList expected = {"NetworkRDS=0", "RemoteNameRDS=", "RemotePortRDS=0",
                                  "HostPortRDS=0", "NetworkWEB=0", "RemoteNameWEB=", "RemotePortWEB=0",
                                  "HostPortWEB=0", "NetworkLOG=0", "RemoteNameLOG=", "RemotePortLOG=0",
                                  "HostPortLOG=0", "networkEXT=0", "RemoteNameExt=", "RemotePortEXT=0",
                                  "HostPortEXT=0", "NetWorkIO=0",  "RemoteNameIO=",  "RemotePortIO=0",
                                  "HostPortIO=0",  "NetWorkWD=0",  "RemoteNameWD=",  "RemotePortWD=0",
                                  "HostPortWD=0"};
    QCOMPARE(s.SavedSection(), expected);
    QVERIFY(FileLines(s.folder.Read("server.ini")).contains("[InterPC]"));
    for (int id = 0; id < NetworkLinks::kLinks; ++id) {
        const NetworkLinks::Link& link = s.links()[NetworkLinks::LinkId(id)];
        QCOMPARE(link.txtRemotePort->text(), QString("0"));
        QCOMPARE(link.txtHostPort->text(), QString("0"));
        QCOMPARE(link.txtRemoteName->text(), QString());
    }
}

void TestNetworkLinks::untouchedSectionSurvivesByteForByte() {
    const QByteArray section =
        "[InterPC]\r\nnetworkRDS=1\r\nRemoteNameRDS=ostrin-pc\r\nRemotePortRDS=5001\r\nHostPortRDS=5002\r\n"
        "networkWEB=0\r\nRemoteNameWEB= web \r\nRemotePortWEB=-7\r\nHostPortWEB=0\r\n; vektal\r\nnetworkLOG=1\r\n"
        "RemoteNameLOG=\r\nRemotePortLOG=80\r\nHostPortLOG=81\r\nnetworkEXT=1\r\nRemoteNameExt=ext\r\n"
        "RemotePortEXT=poort\r\nHostPortEXT= 9 \r\nNetworkIO=2\r\nRemoteNameIO=io\r\nRemotePortIO=4000\r\n"
        "HostPortIO= 4001 \r\nNetworkWD=1\r\nRemoteNameWD=wd\r\nRemotePortWD=4100\r\nHostPortWD=x\r\n";
    Setup s("[program]\r\nIR=1\r\n" + section + "[ExtNews]\r\nFoo=1\r\n");
    QCOMPARE(s.SavedSection(), SectionLines(section, "InterPC"));
    QVERIFY(s.folder.Read("server.ini").contains(section));
}

void TestNetworkLinks::enableKeys_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("writtenLine");
    QTest::newRow("networkRDS 1") << QByteArray("networkRDS=1") << "chkInterPCRDS" << 1 << "networkRDS=1";
    QTest::newRow("NetworkRDS written form") << QByteArray("NetworkRDS=1") << "chkInterPCRDS" << 1 << "NetworkRDS=1";
    QTest::newRow("networkWEB 2 is off") << QByteArray("networkWEB=2") << "chkInterPCWEB" << 0 << "networkWEB=0";
    QTest::newRow("networkLOG 1.0") << QByteArray("networkLOG=1.0") << "chkInterPCLOG" << 1 << "networkLOG=1";
    QTest::newRow("networkEXT word") << QByteArray("networkEXT=ja") << "chkEXT" << 0 << "networkEXT=0";
    QTest::newRow("NetworkIO 2 grey") << QByteArray("NetworkIO=2") << "chkInterface" << 2 << "NetworkIO=2";
    QTest::newRow("NetWorkWD 1") << QByteArray("NetWorkWD=1") << "chkUseWD" << 1 << "NetWorkWD=1";
    QTest::newRow("NetworkWD 3 refused") << QByteArray("NetworkWD=3") << "chkUseWD" << 0 << "NetworkWD=0";
}

void TestNetworkLinks::enableKeys() {
    QFETCH(QByteArray, line);
    QFETCH(QString, box);
    QFETCH(int, state);
    QFETCH(QString, writtenLine);
    Setup s("[InterPC]\n" + line + "\n");
    auto* check = s.window->findChild<QCheckBox*>(box);
    QVERIFY(check);
    const int shown = check->checkState() == Qt::PartiallyChecked ? 2 : check->isChecked() ? 1 : 0;
    QCOMPARE(shown, state);
    const QStringList saved = s.SavedSection();
    // One entry: the save replaces the value of the line read, in that line's spelling.
    const QString key = writtenLine.section('=', 0, 0);
    int entries = 0;
    for (const QString& l : saved)
        if (l.section('=', 0, 0).compare(key, Qt::CaseInsensitive) == 0) ++entries;
    QCOMPARE(entries, 1);
    QVERIFY2(saved.contains(writtenLine), qPrintable(saved.join(" | ")));
}

void TestNetworkLinks::textBoxes_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("written");
    QTest::newRow("RDS remote port number") << "RemotePortRDS"
                                            << "txtRemotePortRDS" << QByteArray(" 1234 ") << "1234";
    QTest::newRow("LOG host port rounded") << "HostPortLOG"
                                           << "txtHostPortLog" << QByteArray("12.5") << "12";
    QTest::newRow("WEB port negative") << "HostPortWEB"
                                       << "txtHostPortWEB" << QByteArray("-3") << "-3";
    QTest::newRow("IO remote port trimmed") << "RemotePortIO"
                                            << "txtIORemotePort" << QByteArray(" 1234 ") << "1234";
    QTest::newRow("IO host port as is") << "HostPortIO"
                                        << "txtIOHostPort" << QByteArray(" 1234 ") << " 1234 ";
    QTest::newRow("WD remote port trimmed") << "RemotePortWD"
                                            << "txtWDRemotePort" << QByteArray(" 77 ") << "77";
    QTest::newRow("EXT ports as is") << "RemotePortEXT"
                                     << "txtRemotePortEXT" << QByteArray(" 12 ") << " 12 ";
    QTest::newRow("remote name blanks kept") << "RemoteNameRDS"
                                             << "txtRemoteNameRDS" << QByteArray(" host ") << " host ";
    QTest::newRow("EXT name spelling") << "RemoteNameExt"
                                       << "txtRemoteNameEXT" << QByteArray("ctl") << "ctl";
}

void TestNetworkLinks::textBoxes() {
    QFETCH(QString, key);
    QFETCH(QString, box);
    QFETCH(QByteArray, stored);
    QFETCH(QString, written);
    Setup s("[InterPC]\n" + key.toLatin1() + "=" + stored + "\n");
    QLineEdit* edit = s.Box(box);
    QVERIFY(edit);
    QCOMPARE(edit->text(), QString::fromLatin1(stored));
    const QStringList saved = s.SavedSection();
    QVERIFY2(saved.contains(key + "=" + written), qPrintable(saved.join(" | ")));
    // The box keeps what the user sees; only the file gets the cleaned value.
    QCOMPARE(edit->text(), QString::fromLatin1(stored));
}

void TestNetworkLinks::badNumberPortRefusesTheWholeSave_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("RDS remote word") << "txtRemotePortRDS"
                                     << "abc"
                                     << "De RemotePoort van \"Koppeling met Ostrin\" is geen geheel getal: \"abc\"";
    QTest::newRow("WEB host too big")
        << "txtHostPortWEB"
        << "99999999999"
        << "De HostPoort van \"Koppeling met Pelmar\" ligt buiten het bereik -2147483648 tot 2147483647: "
           "\"99999999999\"";
    QTest::newRow("LOG remote blanks") << "txtRemotePortLOG"
                                       << "  "
                                       << "De RemotePoort van \"Koppeling met Vektal\" is geen geheel getal: \"  \"";
    QTest::newRow("LOG host with unit") << "txtHostPortLog"
                                        << "80 tcp"
                                        << "De HostPoort van \"Koppeling met Vektal\" is geen geheel getal: \"80 tcp\"";
}

void TestNetworkLinks::badNumberPortRefusesTheWholeSave() {
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, message);
    const QByteArray server = "[program]\nDebugger=1\n[InterPC]\nnetworkRDS=1\nRemotePortRDS=10\n";
    const QByteArray news = "[Blokken]\nFoo=bar\n";
    Setup s(server);
    s.folder.Write("news.ini", news);
    s.window->findChild<QCheckBox*>("chkDebug")->setChecked(false);  // a change that must not be saved
    s.Box(box)->setText(text);
    s.Box("txtHostPortRDS")->clear();
    QVERIFY(!s.window->cmdSave_Click());
    QCOMPARE(s.folder.Read("server.ini"), server);
    QCOMPARE(s.folder.Read("news.ini"), news);
    QCOMPARE(s.fakes.errors.reports.size(), 1);
    QCOMPARE(s.fakes.errors.reports.first().message, message);
    // The refused save puts nothing into the boxes either, and shows the box to correct, whose
    // mark said beforehand that the save cannot go on.
    QCOMPARE(s.Box("txtHostPortRDS")->text(), QString());
    QCOMPARE(s.window->tabSetup->currentIndex(), 7);
    QCOMPARE(s.window->focusWidget(), s.Box(box));
    QVERIFY2(s.window->checkMarks->MarkOf(s.Box(box)).startsWith("Opslaan kan niet: "),
             qPrintable(s.window->checkMarks->MarkOf(s.Box(box))));
    QVERIFY(s.window->checkMarks->text().endsWith(" op Inter PC (opslaan kan niet)"));

    s.Box(box)->setText("8080");
    QVERIFY(s.window->cmdSave_Click());
    QCOMPARE(IniValueInFile(s.folder.File("server.ini"), "InterPC", box.mid(3).replace("Log", "LOG")), QString("8080"));
}

void TestNetworkLinks::textPortsAreNotNumbers() {
    // Ports of the external control and the interfaces are text: anything typed is saved.
    Setup s("");
    s.Box("txtRemotePortEXT")->setText("abc");
    s.Box("txtIORemotePort")->setText(" com1 ");
    s.Box("txtWDHostPort")->setText("?");
    const QStringList saved = s.SavedSection();
    QVERIFY(saved.contains("RemotePortEXT=abc"));
    QVERIFY(saved.contains("RemotePortIO=com1"));
    QVERIFY(saved.contains("HostPortWD=?"));
    QVERIFY(s.fakes.errors.reports.isEmpty());
}

QTEST_MAIN(TestNetworkLinks)
#include "tst_network_links.moc"

// A station's first start: no settings files at all. Every window's save must create every key it
// shows, with the defaults the server expects, in the order the server's files have them.
#include <QtTest>

#include "windows/dialogs/frmFloatNews.h"
#include "windows/dialogs/frmFloatTime.h"
#include "windows/dialogs/frmIntNews.h"
#include "windows/dialogs/frmMultiJingles.h"
#include "windows/main_window/frmSetup.h"
#include "support/Fakes.h"
#include "support/TestFolder.h"
#include "text/TextTable.h"

using namespace quorvant;
using namespace quorvant::test;

namespace {
using Keys = QList<QPair<QString, QString>>;
using Sections = QList<QPair<QString, Keys>>;

// The file as the server sees it: sections in order, each with its keys in order.
Sections Parse(const QByteArray& bytes) {
    Sections sections;
    for (const QString& line : FileLines(bytes)) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(';')) continue;
        if (trimmed.startsWith('[') && trimmed.endsWith(']')) {
            sections.append(qMakePair(trimmed.mid(1, trimmed.size() - 2), Keys()));
            continue;
        }
        const int eq = line.indexOf('=');
        if (eq < 0 || sections.isEmpty()) continue;
        sections.last().second.append({line.left(eq).trimmed(), line.mid(eq + 1)});
    }
    return sections;
}

Keys Same(const QStringList& keys, const QString& value) {
    Keys result;
    for (const QString& key : keys) result.append(qMakePair(key, value));
    return result;
}

const QString kZeroDay(24, '0');

Keys WeekOff() { return Same({"MA", "DI", "WO", "DO", "VR", "ZA", "ZO"}, kZeroDay); }

Sections MainWindowSections() {
    Keys faders = {{"PresLevel", "0"}, {"PresSpeed", "0"},  {"FaderSpeed", "0"},
                   {"PresFactor", "1"}, {"IntroComp", "0"}, {"OuttroComp", "0"}};
    for (int n = 1; n <= 4; ++n)
        faders += Keys{{QString("UseLine%1").arg(n), "0"},
                       {QString("LineCard%1").arg(n), "0"},
                       {QString("LineChannel%1").arg(n), "0"},
                       {QString("Level%1").arg(n), "0"}};
    faders.append(qMakePair(QString("TMFaderSpeed"), QString("0")));
    Keys interPc;
    const QList<QStringList> links = {{"NetworkRDS", "RemoteNameRDS", "RemotePortRDS", "HostPortRDS"},
                                      {"NetworkWEB", "RemoteNameWEB", "RemotePortWEB", "HostPortWEB"},
                                      {"NetworkLOG", "RemoteNameLOG", "RemotePortLOG", "HostPortLOG"},
                                      {"networkEXT", "RemoteNameExt", "RemotePortEXT", "HostPortEXT"},
                                      {"NetWorkIO", "RemoteNameIO", "RemotePortIO", "HostPortIO"},
                                      {"NetWorkWD", "RemoteNameWD", "RemotePortWD", "HostPortWD"}};
    for (const QStringList& link : links)
        interPc += Keys{{link[0], "0"}, {link[1], ""}, {link[2], "0"}, {link[3], "0"}};
    return {
        {"Files", Same({"DatabasePath", "LogPath", "RepeatPath", "FragPath"}, "")},
        {"AudioPlayers",
         Keys{{"MultiJingle", "0"}} + Same({"Player_Auto_card", "Player_Jingles_card", "Player_A_card", "Player_B_card"}, "-1")},
        {"Faders", faders},
        {"Sequencer", Keys{{"Latency", "0"}, {"PanicGenre", ""}, {"B6Start", "55"}, {"IgnoreVT", "0"}} +
                          Same({"B6-1", "B6-2", "B6-3", "B1-1", "B1-2", "B1-3"}, "-1") +
                          Keys{{"TS_Pre_Float", "0"}, {"TS_Pre_Float_Time", "0"}}},
        {"program", Same({"Debugger", "BlockLive", "Sabam"}, "0") + Keys{{"Mes1", ""}} +
                        Same({"Dual", "ScreenPos", "StartUp", "IR", "AutoIR", "Login", "Autologin"}, "0") +
                        Keys{{"LoginLevel", "-1"}, {"PersJingle", "0"}, {"Slave", "0"}}},
        {"Colors", Same({"MusBack", "MusTxt", "JingBack", "JingTxt", "RecBack", "RecTxt", "EventBack", "EventTxt",
                         "TijdBack", "TijdTxt", "PresBack", "PresTxt"},
                        "0")},
        {"InterPC", interPc},
        {"ExtNews", Keys{{"UseExtNews", "0"}, {"NewsFeed", "-1"}, {"StopMode", "0"}, {"TimeOut", "0"}, {"MinNews", "0"}} +
                        WeekOff()},
    };
}

void CompareSections(const Sections& actual, const Sections& expected) {
    QCOMPARE(actual.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        QCOMPARE(actual[i].first, expected[i].first);
        QCOMPARE(actual[i].second, expected[i].second);
    }
}
}  // namespace

class FreshFolderTest : public QObject {
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void mainWindowCreatesEveryKeyWithItsDefault_data() {
        QTest::addColumn<bool>("withDevices");
        QTest::newRow("no sound hardware") << false;
        QTest::newRow("sound cards and mixers") << true;
    }
    void mainWindowCreatesEveryKeyWithItsDefault() {
        QFETCH(bool, withDevices);
        TempProgramFolder folder;
        FakeServices fakes;
        if (withDevices) {
            fakes.waveOut.names = {"Kaart A", "Kaart B", "Kaart C"};
            fakes.mixers.AddDevice("Mixer A", {"Line", "Mic"}).AddDevice("Mixer B", {"Aux"});
        }
        frmSetup window(folder.Path(), fakes.Get());
        QVERIFY(!folder.Exists("server.ini"));
        QVERIFY(window.cmdSave_Click());
        CompareSections(Parse(folder.Read("server.ini")), MainWindowSections());
        CompareSections(Parse(folder.Read("news.ini")), {{"Blokken", {{"BlokkenPath", ""}}}});
        QCOMPARE(fakes.errors.reports.size(), 0);

        // A second start reads back what the first wrote, and saves the same bytes again.
        const QByteArray server = folder.Read("server.ini");
        const QByteArray news = folder.Read("news.ini");
        ResetProgramState();
        frmSetup again(folder.Path(), fakes.Get());
        QVERIFY(again.cmdSave_Click());
        QCOMPARE(folder.Read("server.ini"), server);
        QCOMPARE(folder.Read("news.ini"), news);
    }

    void dialogsCreateTheirKeysBesideTheMainWindows() {
        TempProgramFolder folder;
        FakeServices fakes;
        fakes.waveOut.names = {"Kaart A", "Kaart B"};
        frmSetup window(folder.Path(), fakes.Get());
        QVERIFY(window.cmdSave_Click());

        {
            frmMultiJingles jingles(folder.Path(), fakes.Get());
            QVERIFY(jingles.cmdSave_Click());
        }
        {
            auto* floatNews = new frmFloatNews(folder.Path(), fakes.Get());
            QVERIFY(floatNews->cmdSave_Click());  // saves and closes
        }
        {
            auto* floatTime = new frmFloatTime(folder.Path(), fakes.Get());
            QVERIFY(floatTime->cmdStop_Click());  // saves the shown (Automaat) set and closes
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        Sections expected = MainWindowSections();
        expected[1].second += Same({"Jingle_A_Card", "Jingle_B_Card", "Jingle_C_Card", "Jingle_D_Card"}, "-1");
        expected.append(qMakePair(QString("Float"), Same({"B6AutoStart", "B6Start", "B6Min", "B6Sec", "B6Auto", "B6AutoHard", "B6live",
                                        "B6LiveHard", "B6feed", "B6feed2", "B6feed3", "B6len"},
                                       "0")));
        expected.append(qMakePair(QString("FloatTSauto"), Keys{{"PreTime", "0"}, {"AfterTime", "0"}} + WeekOff()));
        CompareSections(Parse(folder.Read("server.ini")), expected);

        // Every news item's schedule, each in its own section of news.ini beside [Blokken].
        const QStringList sections = {"NatNieuws", "NatSport", "RegNieuws", "RegSport", "Weer",
                                      "Item1",     "Item2",    "Item3",     "Item4",    "Item5"};
        Sections expectedNews = {{"Blokken", {{"BlokkenPath", ""}}}};
        for (int item = 0; item < 10; ++item) {
            frmIntNews news(folder.Path(), fakes.Get(), static_cast<qint16>(item));
            QVERIFY(news.cmdSave_Click());
            expectedNews.append(
                qMakePair(sections[item], Keys{{"File", ""}, {"Oud", "0"}, {"Rotate", "0"}} + WeekOff() + Keys{{"Tijd", "150"}}));
        }
        CompareSections(Parse(folder.Read("news.ini")), expectedNews);

        // The main window's next save keeps every dialog's keys.
        const QByteArray server = folder.Read("server.ini");
        QVERIFY(window.cmdSave_Click());
        QCOMPARE(folder.Read("server.ini"), server);
    }
};

QTEST_MAIN(FreshFolderTest)
#include "tst_fresh_folder.moc"

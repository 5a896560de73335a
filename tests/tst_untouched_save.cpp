// What station engineers rely on most: opening any window and saving without touching anything
// writes the files back byte for byte, whatever their encoding, line endings or foreign content.
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

class UntouchedSaveTest : public QObject {
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void everyWindowWritesBackTheSameBytes_data() {
        QTest::addColumn<QString>("variant");
        for (const char* variant : {"utf8-lf", "utf8-crlf", "utf8bom-crlf", "cp1252-crlf", "utf16le-crlf"})
            QTest::newRow(variant) << QString(variant);
    }
    void everyWindowWritesBackTheSameBytes() {
        QFETCH(QString, variant);
        const QString data = QString(QUORVANT_TEST_DATA) + "/untouched/";
        const QByteArray server = ReadFile(data + "server-" + variant + ".ini");
        const QByteArray news = ReadFile(data + "news-" + variant + ".ini");
        QVERIFY(!server.isEmpty() && !news.isEmpty());

        TempProgramFolder folder;
        folder.Write("server.ini", server);
        folder.Write("news.ini", news);
        FakeServices fakes;
        fakes.waveOut.names = {"Kaart A: PCM", "Kaart B: PCM", "Kaart C: PCM"};
        fakes.mixers.AddDevice("Kaart A", {"Line", "Mic"}).AddDevice("Kaart B", {"Aux"});
        auto same = [&](const char* after) {
            QVERIFY2(folder.Read("server.ini") == server, after);
            QVERIFY2(folder.Read("news.ini") == news, after);
        };

        frmSetup window(folder.Path(), fakes.Get());
        QVERIFY(window.cmdSave_Click());
        same("main window");

        frmMultiJingles jingles(folder.Path(), fakes.Get());
        QVERIFY(jingles.cmdSave_Click());
        same("jingle cards");

        auto* floatNews = new frmFloatNews(folder.Path(), fakes.Get());
        QVERIFY(floatNews->cmdSave_Click());
        same("floating news");

        auto* floatTime = new frmFloatTime(folder.Path(), fakes.Get());
        QVERIFY(floatTime->cmdStop_Click());
        same("floating time signal");

        for (qint16 item : {0, 4, 9}) {
            SelectedNewsItem = item;
            frmIntNews schedule(folder.Path(), fakes.Get());
            QVERIFY(schedule.cmdSave_Click());
        }
        // Items without a section get theirs created; the rest of news.ini is as it was.
        QVERIFY(folder.Read("news.ini").startsWith(news));
        QVERIFY(folder.Read("server.ini") == server);
        QCOMPARE(fakes.errors.reports.size(), 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

QTEST_MAIN(UntouchedSaveTest)
#include "tst_untouched_save.moc"

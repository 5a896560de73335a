// What station engineers rely on most: opening any window and saving without touching anything
// writes the files back byte for byte, whatever their encoding, line endings or foreign content.
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include "widgets/LedSpin.h"
#include "windows/dialogs/frmFloatNews.h"
#include "windows/dialogs/frmFloatTime.h"
#include "windows/dialogs/frmIntNews.h"
#include "windows/dialogs/frmMultiJingles.h"
#include "windows/main_window/AutomationTiming.h"
#include "windows/main_window/ProgramOptions.h"
#include "windows/main_window/frmSetup.h"
#include "windows/shared/StatusLine.h"
#include "windows/shared/WhatIsSaved.h"
#include "support/Fakes.h"
#include "support/TestFolder.h"
#include "support/WindowFixture.h"
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
            frmIntNews schedule(folder.Path(), fakes.Get(), item);
            QVERIFY(schedule.cmdSave_Click());
        }
        // Items without a section get theirs created; the rest of news.ini is as it was.
        QVERIFY(folder.Read("news.ini").startsWith(news));
        QVERIFY(folder.Read("server.ini") == server);
        QCOMPARE(fakes.errors.reports.size(), 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A UTF-16 server.ini whose Mes1 holds a lone surrogate, which no encoding can take anew: the
    // user changes PresLevel (and maybe Mes1). What the user did not type never stops the save and
    // is written as it was read; a character the user adds that the file cannot hold is refused.
    void untypedCharacterNeverStopsASave_data() {
        QTest::addColumn<QString>("stored");   // Mes1 in the file
        QTest::addColumn<QString>("typed");    // Mes1 as the user leaves it; null: untouched
        QTest::addColumn<QString>("foreign");  // Mes1 another program stores meanwhile; null: none
        QTest::addColumn<QString>("saved");    // Mes1 after the save; null: refused, file as it was
        QTest::addColumn<int>("answer");       // to the question about the foreign change
        const QString lone = QString("Studio ") + QChar(0xD800) + " live";
        QTest::newRow("untouched") << lone << QString() << QString() << lone << 0;
        QTest::newRow("blank the window trims off") << lone + "  " << QString() << QString() << lone << 0;
        QTest::newRow("text added beside it") << lone << lone + "!" << QString() << lone + "!" << 0;
        QTest::newRow("changed elsewhere, saved anyway") << lone << QString() << "Nieuw" << lone << 1;
        QTest::newRow("changed elsewhere, only mine saved") << lone << QString() << "Nieuw" << "Nieuw" << 0;
        QTest::newRow("changed on both sides, mine saved") << lone << lone + "!" << "Nieuw" << lone + "!" << 0;
        QTest::newRow("a lone surrogate typed") << lone << lone + QChar(0xDC00) << QString() << QString() << 0;
    }
    void untypedCharacterNeverStopsASave() {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(QString, foreign);
        QFETCH(QString, saved);
        QFETCH(int, answer);
        const auto file = [](const QString& mes1, const QString& level) {
            return Utf16LeWithBom("[Faders]\r\nPresLevel=" + level + "\r\n[program]\r\nMes1=" + mes1 + "\r\nDual=1\r\n");
        };
        WindowFixture f(file(stored, "80"));
        f.window->Automation().ledPresLevel->SetValue(95);
        if (!typed.isNull()) f.window->Options().txtTekst->setText(typed);
        if (!foreign.isNull()) f.folder.Write("server.ini", file(foreign, "80"));
        f.fakes.errors.picks = {answer};  // "Alleen mijn wijzigingen bewaren", "Alles overschrijven"
        const QByteArray before = f.folder.Read("server.ini");
        const bool done = f.window->cmdSave_Click();
        const QByteArray after = f.folder.Read("server.ini");
        if (saved.isNull()) {
            QVERIFY(!done);
            QCOMPARE(f.fakes.errors.reports.size(), 1);
            QVERIFY2(f.fakes.errors.reports[0].message.contains("[program] Mes1"),
                     qPrintable(f.fakes.errors.reports[0].message));
            QCOMPARE(after, before);
            return;
        }
        QVERIFY(done);
        QVERIFY(f.fakes.errors.reports.isEmpty());
        // A key both changed is named in the question with both values.
        QCOMPARE(f.fakes.errors.choices.size(), foreign.isNull() ? 0 : 1);
        if (!foreign.isNull())
            QCOMPARE(f.fakes.errors.choices[0].message.contains("[program] Mes1: hier \"" + saved + "\", op schijf \"Nieuw\""),
                     !typed.isNull());
        const auto line = [](const QString& text) { return Utf16LeWithBom(text + "\r\n").mid(2); };
        QVERIFY(after.contains(line("Mes1=" + saved)));
        QVERIFY(after.contains(line("PresLevel=95")));
    }

    // Values as a hand wrote them that the save writes otherwise although nobody touched them:
    // the status line counts them, "Wat wordt bewaard" lists each with why, the save writes them.
    void handWrittenValuesAreListedBeforeTheSave_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("why");
        QTest::newRow("word in a number") << "Faders" << "PresLevel" << "abc" << "0"
                                          << "niet te lezen als een geheel getal: wordt 0";
        QTest::newRow("fraction") << "Faders" << "PresLevel" << "81.5" << "82" << "wordt 82";
        QTest::newRow("empty") << "Faders" << "PresSpeed" << "" << "0" << "leeg: wordt 0";
        QTest::newRow("blanks") << "Faders" << "PresFactor" << " 3 " << "3" << "anders geschreven: wordt 3";
        QTest::newRow("word in a colour") << "Colors" << "MusBack" << "xyz" << "0" << "wordt 0";
    }
    void handWrittenValuesAreListedBeforeTheSave() {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFETCH(QString, written);
        QFETCH(QString, why);
        WindowFixture f(QString("[%1]\r\n%2=%3\r\n").arg(section, key, stored).toUtf8());
        QVERIFY2(f.window->statusLine->Text().startsWith("Bewaren herschrijft 1 waarde die niemand wijzigde"),
                 qPrintable(f.window->statusLine->Text()));
        f.window->findChild<QPushButton*>("cmdWhatIsSaved")->click();
        auto* list = f.window->findChild<frmWhatIsSaved*>();
        QVERIFY(list);
        QCOMPARE(list->lstValues->topLevelItemCount(), 1);
        const QTreeWidgetItem* row = list->lstValues->topLevelItem(0);
        QCOMPARE(row->text(2), key);
        QVERIFY(!row->text(3).isEmpty() && !row->text(4).isEmpty());  // caption and page
        QCOMPARE(row->text(5), stored);
        QCOMPARE(row->text(6), written);
        QVERIFY2(row->text(7).endsWith(why), qPrintable(row->text(7)));
        QVERIFY(f.window->cmdSave_Click());
        QCOMPARE(f.Saved(section, key), written);
        QVERIFY2(!f.window->statusLine->Text().contains("herschrijft"), qPrintable(f.window->statusLine->Text()));
    }

    // An edit makes such a value the operator's: it leaves the count, and comes back into it with
    // the value as read.
    void anEditLeavesTheCount() {
        WindowFixture f("[Faders]\r\nPresLevel=abc\r\n");
        LedSpin* level = f.window->Automation().ledPresLevel;
        level->SetValue(50);
        QVERIFY2(!f.window->statusLine->Text().contains("herschrijft"), qPrintable(f.window->statusLine->Text()));
        level->SetValue(0);
        QVERIFY2(f.window->statusLine->Text().startsWith("Bewaren herschrijft 1 waarde"),
                 qPrintable(f.window->statusLine->Text()));
    }
};

QTEST_MAIN(UntouchedSaveTest)
#include "tst_untouched_save.moc"

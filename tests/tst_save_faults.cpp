// The windows on settings files that used to lose data on a save or went unmentioned: long values,
// values the file cannot hold, edits by another program, files it cannot read, a disk slow to
// sync, a FIFO named as data.mdb.
#include <QAccessible>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>
#include <algorithm>

#include "support/SystemFiles.h"
#include "support/WindowFixture.h"
#include "widgets/LedSpin.h"
#include "windows/dialogs/frmFloatNews.h"
#include "windows/dialogs/frmFloatTime.h"
#include "windows/dialogs/frmIntNews.h"
#include "windows/dialogs/frmMultiJingles.h"
#include "windows/main_window/AutomationTiming.h"
#include "windows/main_window/FileLocations.h"
#include "windows/main_window/ProgramOptions.h"
#include "windows/shared/StatusLine.h"

using namespace quorvant;
using namespace quorvant::test;

class SaveFaultsTest : public QObject {
    Q_OBJECT

private slots:
    // A text box would cut at 32767 characters; the value must come back whole.
    void longTextComesBackWhole() {
        const QString mes1 = QString(40028, u'x');
        WindowFixture f("[program]\r\nMes1=" + mes1.toUtf8() + "\r\n");
        QVERIFY(f.window->cmdSave_Click());
        QCOMPARE(f.Saved("program", "Mes1").size(), mes1.size());
        QVERIFY(f.fakes.errors.reports.isEmpty());
    }

    // A character a UTF-16 file cannot hold: the message names the key and the field, and
    // news.ini is saved all the same.
    void unencodableNamesKeyAndField() {
        WindowFixture f(Utf16LeWithBom("[Files]\r\nLogPath=C:\\log\r\n"));
        const QByteArray before = f.folder.Read("server.ini");
        f.window->Files().txtLog->setText(QString("C:\\log") + QChar(0xD800));
        QVERIFY(!f.window->cmdSave_Click());
        QCOMPARE(f.fakes.errors.reports.size(), 1);
        const QString message = f.fakes.errors.reports[0].message;
        QVERIFY2(message.contains("[Files] LogPath") && message.contains("Veld: "), qPrintable(message));
        QCOMPARE(f.folder.Read("server.ini"), before);
        QVERIFY(f.folder.Exists("news.ini"));
    }

    // Another program changed keys the save writes: asked first, and "Annuleren" keeps its values.
    void foreignEditsAskFirst() {
        WindowFixture f("[Faders]\r\nPresLevel=80\r\nPresSpeed=10\r\nOwn=1\r\n");
        const QByteArray foreign = "[Faders]\r\nPresLevel=95\r\nPresSpeed=12\r\nOwn=2\r\n";
        f.folder.Write("server.ini", foreign);
        QVERIFY(!f.window->cmdSave_Click());
        QCOMPARE(f.fakes.errors.choices.size(), 1);
        QVERIFY2(f.fakes.errors.choices[0].message.contains(
                     "server.ini is intussen door een ander programma gewijzigd: PresLevel, PresSpeed."),
                 qPrintable(f.fakes.errors.choices[0].message));
        // Cancelled before anything was written: the other program's file, byte for byte.
        QCOMPARE(f.folder.Read("server.ini"), foreign);
        QVERIFY(f.fakes.errors.reports.isEmpty());
        // "Alles overschrijven": the window's values go in, the unrelated foreign change stays.
        f.fakes.errors.picks = {1};
        QVERIFY(f.window->cmdSave_Click());
        QCOMPARE(f.Saved("Faders", "PresLevel"), QString("80"));
        QCOMPARE(f.Saved("Faders", "PresSpeed"), QString("10"));
        QCOMPARE(f.Saved("Faders", "Own"), QString("2"));
        // Nothing changed elsewhere since: no question.
        f.fakes.errors.choices.clear();
        QVERIFY(f.window->cmdSave_Click());
        QVERIFY(f.fakes.errors.choices.isEmpty());
    }

    // A file that cannot be decoded: the window opens, and says once which and why, and what its
    // fields show (the values read as far as the file goes).
    void startUpSaysWhatItCouldNotRead() {
        WindowFixture f(Utf16LeWithBom("[Faders]\r\nPresLevel=77\r\n") + "A");
        QCOMPARE(f.fakes.errors.reports.size(), 1);
        const QString message = f.fakes.errors.reports[0].message;
        QVERIFY2(message.contains("server.ini kon niet foutloos worden gelezen") &&
                     message.contains("oneven aantal bytes") && message.contains("De velden tonen de waarden zoals"),
                 qPrintable(message));
        QCOMPARE(f.window->Automation().ledPresLevel->Value(), 77);
        // And its save leaves it alone.
        const QByteArray before = f.folder.Read("server.ini");
        QVERIFY(!f.window->cmdSave_Click());
        QCOMPARE(f.folder.Read("server.ini"), before);
    }

    // A disk that takes its time to sync (tests/slow_sync.cpp): the window goes on painting and
    // answering screen readers while it saves; a timer of its thread keeps ticking.
    void windowAnswersDuringSlowSync() {
        const qint64 asked = qEnvironmentVariableIntValue("QUORVANT_SLOW_SYNC_MS");
        const qint64 syncMs = asked > 0 ? asked : 600;
        qputenv("QUORVANT_SLOW_SYNC_MS", "0");
        WindowFixture f("[Faders]\r\nPresLevel=80\r\n");
        QVERIFY(f.window->cmdSave_Click());  // news.ini made at normal speed: one file to sync below
        f.window->show();
        f.window->Automation().ledPresLevel->stepBy(1);
        qputenv("QUORVANT_SLOW_SYNC_MS", QByteArray::number(syncMs));
        QElapsedTimer clock;
        qint64 last = -1;  // the first tick comes once the save waits: the time before is its preparation
        qint64 longest = 0;
        QStringList heard;  // the status line as a screen reader gets it
        QTimer tick;
        tick.setInterval(20);
        // A coarse timer may be held back by the system's own timer messages (Windows): the gaps
        // would be the timer's, not the window's.
        tick.setTimerType(Qt::PreciseTimer);
        connect(&tick, &QTimer::timeout, this, [&] {
            if (last >= 0) longest = std::max(longest, clock.elapsed() - last);
            last = clock.elapsed();
            const QString name =
                QAccessible::queryAccessibleInterface(f.window->statusLine->Message())->text(QAccessible::Name);
            if (!heard.contains(name)) heard << name;
        });
        clock.start();
        tick.start();
        const bool saved = f.window->cmdSave_Click();
        longest = std::max(longest, clock.elapsed() - last);
        qputenv("QUORVANT_SLOW_SYNC_MS", "0");
        qInfo("save took %lld ms; longest gap between ticks %lld ms", clock.elapsed(), longest);
        QVERIFY(saved);
        QCOMPARE(f.Saved("Faders", "PresLevel"), QString("81"));
        QVERIFY(clock.elapsed() >= syncMs);  // the slow sync was in the way
        QVERIFY2(longest < 100, qPrintable(QString::number(longest)));
        QCOMPARE(heard, QStringList{QString::fromUtf8("Bewaren…")});
        QVERIFY(f.window->statusLine->Text().startsWith("Bewaard: server.ini ("));
    }

    // Each dialog, opened on a file it cannot read or decode, says so once, and what it shows.
    void dialogSaysWhatItCouldNotRead_data() {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("problem");
        for (const char* dialog : {"frmIntNews", "frmFloatNews", "frmFloatTime", "frmMultiJingles"})
            for (const char* problem : {"unreadable", "folder", "damaged"})
                QTest::addRow("%s, %s", dialog, problem) << dialog << problem;
    }

    void dialogSaysWhatItCouldNotRead() {
        QFETCH(QString, dialog);
        QFETCH(QString, problem);
        const QString file = dialog == "frmIntNews" ? "news.ini" : "server.ini";
        if (problem == "unreadable" && RunningAsRoot()) QSKIP("root reads a file of mode 000");
        TempProgramFolder folder;
        const QString path = folder.File(file);
        std::optional<ForeignHold> hold;
        if (problem == "folder") {
            QVERIFY(QDir().mkpath(path));
        } else {
            folder.Write(file, problem == "damaged" ? Utf16LeWithBom("[A]\r\nB=1\r\n") + "x" : "[A]\nB=1\n");
            // Windows files have no mode that keeps their owner out; a program holding it does.
            if (problem == "unreadable" && !QFile::setPermissions(path, {})) {
                hold.emplace(path);
                QVERIFY(hold->Held());
            }
        }
        ResetProgramState();
        FakeServices fakes;
        const std::unique_ptr<QWidget> window([&]() -> QWidget* {
            if (dialog == "frmIntNews") return new frmIntNews(folder.Path(), fakes.Get(), 0);
            if (dialog == "frmFloatNews") return new frmFloatNews(folder.Path(), fakes.Get());
            if (dialog == "frmFloatTime") return new frmFloatTime(folder.Path(), fakes.Get());
            return new frmMultiJingles(folder.Path(), fakes.Get());
        }());
        QCOMPARE(fakes.errors.reports.size(), 1);
        const QString message = fakes.errors.reports[0].message;
        QCOMPARE(fakes.errors.reports[0].title, window->windowTitle());
        QVERIFY2(message.startsWith(QDir::toNativeSeparators(path) + " kon niet"), qPrintable(message));
        QVERIFY2(message.contains(problem == "damaged" ? "De velden tonen de waarden zoals" : "standaardwaarden"),
                 qPrintable(message));
    }

    // Each dialog without edits reads its file again when another hand changes it, and says what.
    void dialogReadsOutsideChangeAgain_data() {
        QTest::addColumn<QString>("dialog");
        for (const char* dialog : {"frmIntNews", "frmFloatNews", "frmFloatTime", "frmMultiJingles"})
            QTest::newRow(dialog) << dialog;
    }
    void dialogReadsOutsideChangeAgain() {
        QFETCH(QString, dialog);
        const QString file = dialog == "frmIntNews" ? "news.ini" : "server.ini";
        TempProgramFolder folder;
        ResetProgramState();
        FakeServices fakes;
        fakes.waveOut.names = {"Kaart A", "Kaart B"};
        const std::unique_ptr<SettingsDialog> window([&]() -> SettingsDialog* {
            if (dialog == "frmIntNews") return new frmIntNews(folder.Path(), fakes.Get(), 0);
            if (dialog == "frmFloatNews") return new frmFloatNews(folder.Path(), fakes.Get());
            if (dialog == "frmFloatTime") return new frmFloatTime(folder.Path(), fakes.Get());
            return new frmMultiJingles(folder.Path(), fakes.Get());
        }());
        // A key the window shows as 0 (or no card) becomes 1 on disk.
        const QList<PendingValue> shown = window->statusLine->Edits().Now();
        const auto key = std::find_if(shown.begin(), shown.end(),
                                      [](const PendingValue& v) { return v.text == "0" || v.text == "-1"; });
        QVERIFY(key != shown.end());
        folder.Write(file, QString("[%1]\r\n%2=1\r\n").arg(key->section, key->key).toUtf8());
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(window.get(), &activate);
        QVERIFY2(window->statusLine->Text().contains(file + " opnieuw ingelezen: " + key->key + " (geen) → 1"),
                 qPrintable(window->statusLine->Text()));
        QVERIFY(window->statusLine->Edits().Now().contains(PendingValue{key->file, key->section, key->key, "1"}));
        QVERIFY(!window->statusLine->Edits().Dirty());
    }

    // A FIFO under the name data.mdb is named for what it is.
    void fifoAsGenreDatabase() {
        TempProgramFolder folder;
        QVERIFY(QDir().mkpath(folder.DatabaseFolder()));
        if (!MakeFifo(folder.DatabaseFolder() + "/data.mdb")) QSKIP("this system has no FIFOs");
        folder.Write("server.ini", "[Files]\nDatabasePath=" + folder.DatabaseFolder().toUtf8() + "\n");
        ResetProgramState();
        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        const QString tip = window.Automation().cobPanic->toolTip();
        QVERIFY2(tip.contains("FIFO") && !tip.contains("bestaat niet"), qPrintable(tip));
    }
};

QTEST_MAIN(SaveFaultsTest)
#include "tst_save_faults.moc"

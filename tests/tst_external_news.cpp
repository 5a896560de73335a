// Tab 10 ([ExtNews] of server.ini) and tab 12 (news.ini [Blokken], the news buttons).
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "windows/dialogs/frmIntNews.h"
#include "widgets/WeekHourGrid.h"
#include "windows/main_window/ExternalNews.h"
#include "windows/main_window/frmSetup.h"
#include "widgets/LedSpin.h"
#include "widgets/StateCheckBox.h"
#include "support/Fakes.h"
#include "support/TestFolder.h"
#include "text/TextTable.h"

using namespace quorvant;
using namespace quorvant::test;

namespace {
const QString kZeros = QString(24, '0');

// The lines of one section as the file holds them, header included, up to the next section.
QByteArray SectionBytes(const QByteArray& file, const QByteArray& header) {
    const qsizetype start = file.indexOf(header);
    if (start < 0) return {};
    qsizetype end = file.indexOf("\n[", start);
    end = end < 0 ? file.size() : end + 1;
    return file.mid(start, end - start);
}

// What the control of an [ExtNews] key shows, in the form the key is written.
QString Shown(ExternalNews& news, const QString& key) {
    if (key == "UseExtNews") return QString::number(news.chkUseExtNews->State());
    if (key == "NewsFeed") return QString::number(news.cobNewsFeed->currentIndex());
    if (key == "StopMode") return QString::number(news.chkStopMode->State());
    if (key == "TimeOut") return QString::number(news.ledNewsTimeOut->Value());
    if (key == "MinNews") return QString::number(news.ledMinNews->Value());
    return news.grid->EncodeDay(WeekHourGrid::DayKeys().indexOf(key));
}

void ProcessDeferredDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
}  // namespace

class ExternalNewsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void missingSectionGivesDefaultsAndSavesThemAll() {
        TempProgramFolder folder;
        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        ExternalNews& news = window.News();
        QCOMPARE(news.chkUseExtNews->State(), 0);
        QCOMPARE(news.chkStopMode->State(), 0);
        QCOMPARE(news.cobNewsFeed->currentIndex(), -1);
        QCOMPARE(news.cobNewsFeed->count(), 3);
        QCOMPARE(news.ledNewsTimeOut->Value(), 0);
        QCOMPARE(news.ledMinNews->Value(), 0);
        for (int day = 0; day < WeekHourGrid::kDays; ++day) QCOMPARE(news.grid->EncodeDay(day), kZeros);

        QVERIFY(window.cmdSave_Click());
        const QByteArray expected =
            "[ExtNews]\nUseExtNews=0\nNewsFeed=-1\nStopMode=0\nTimeOut=0\nMinNews=0\nMA=" + kZeros.toLatin1() +
            "\nDI=" + kZeros.toLatin1() + "\nWO=" + kZeros.toLatin1() + "\nDO=" + kZeros.toLatin1() +
            "\nVR=" + kZeros.toLatin1() + "\nZA=" + kZeros.toLatin1() + "\nZO=" + kZeros.toLatin1() + "\n";
        QCOMPARE(SectionBytes(folder.Read("server.ini"), "[ExtNews]"), expected);
        // The news folder is written even when empty.
        QCOMPARE(IniValueInFile(folder.File("news.ini"), "Blokken", "BlokkenPath"), QString(""));
    }

    void keyIsShownAndWrittenBack_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expected");  // shown, and written by the save
        QTest::newRow("UseExtNews 1") << "UseExtNews"
                                      << "1"
                                      << "1";
        QTest::newRow("UseExtNews grey") << "UseExtNews"
                                         << "2"
                                         << "2";
        QTest::newRow("UseExtNews 3 refused") << "UseExtNews"
                                              << "3"
                                              << "0";
        QTest::newRow("UseExtNews empty") << "UseExtNews"
                                          << ""
                                          << "0";
        QTest::newRow("StopMode 1") << "StopMode"
                                    << "1"
                                    << "1";
        QTest::newRow("StopMode word") << "StopMode"
                                       << "ja"
                                       << "0";
        QTest::newRow("NewsFeed 1 is Feed 2") << "NewsFeed"
                                              << "1"
                                              << "1";
        QTest::newRow("NewsFeed 2") << "NewsFeed"
                                    << "2"
                                    << "2";
        QTest::newRow("NewsFeed 3 outside") << "NewsFeed"
                                            << "3"
                                            << "-1";
        QTest::newRow("NewsFeed -1") << "NewsFeed"
                                     << "-1"
                                     << "-1";
        QTest::newRow("NewsFeed empty") << "NewsFeed"
                                        << ""
                                        << "-1";
        QTest::newRow("TimeOut 45") << "TimeOut"
                                    << "45"
                                    << "45";
        QTest::newRow("TimeOut beyond the spin kept") << "TimeOut"
                                                      << "1500"
                                                      << "1500";
        QTest::newRow("TimeOut blanks skipped") << "TimeOut"
                                                << "  "
                                                << "0";
        QTest::newRow("MinNews 12") << "MinNews"
                                    << "12"
                                    << "12";
        QTest::newRow("MinNews 2.5 half to even") << "MinNews"
                                                  << "2.5"
                                                  << "2";
        QTest::newRow("MA hours 6..9") << "MA"
                                       << "000000111100000000000000"
                                       << "000000111100000000000000";
        QTest::newRow("DI letter in hour 4") << "DI"
                                             << "1111x1111111111111111111"
                                             << "111101111111111111111111";
        QTest::newRow("WO 25 characters") << "WO" << QString(24, '1') + "1" << QString(24, '1');
        QTest::newRow("DO 23 characters") << "DO" << QString(23, '1') << kZeros;
        QTest::newRow("ZO grey kept") << "ZO"
                                      << "200000000000000000000002"
                                      << "200000000000000000000002";
    }
    void keyIsShownAndWrittenBack() {
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFETCH(QString, expected);
        TempProgramFolder folder;
        folder.Write("server.ini", ("[ExtNews]\n" + key + "=" + stored + "\n").toUtf8());
        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        QCOMPARE(Shown(window.News(), key), expected);
        if (key == "NewsFeed" && expected == "1") QCOMPARE(window.News().cobNewsFeed->currentText(), QString("Feed 2"));
        QVERIFY(window.cmdSave_Click());
        QCOMPARE(IniValueInFile(folder.File("server.ini"), "ExtNews", key), expected);
    }

    void badDayCharacterLeavesItsHourAsItWas() {
        TempProgramFolder folder;
        folder.Write("server.ini", "[ExtNews]\nVR=0000x0000000000000000001\n");
        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        ExternalNews& news = window.News();
        news.grid->Box(4, 4)->SetState(1);
        news.grid->Box(4, 5)->SetState(1);
        window.LeesIni();
        QCOMPARE(news.grid->EncodeDay(4), QString("000010000000000000000001"));
    }

    void newsFolder_data() {
        QTest::addColumn<QByteArray>("newsIni");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("written");
        QTest::newRow("blanks around") << QByteArray("[Blokken]\nBlokkenPath=  /srv/nieuws  \n") << "  /srv/nieuws  "
                                       << "/srv/nieuws";
        QTest::newRow("blanks inside kept")
            << QByteArray("[Blokken]\nBlokkenPath=/srv/mijn nieuws\n") << "/srv/mijn nieuws"
            << "/srv/mijn nieuws";
        QTest::newRow("empty value") << QByteArray("[Blokken]\nBlokkenPath=\n") << ""
                                     << "";
        QTest::newRow("no key") << QByteArray("[Blokken]\n") << ""
                                << "";
        QTest::newRow("no file") << QByteArray() << ""
                                 << "";
        QTest::newRow("other case") << QByteArray("[blokken]\nblokkenpath=/n\n") << "/n"
                                    << "/n";
    }
    void newsFolder() {
        QFETCH(QByteArray, newsIni);
        QFETCH(QString, shown);
        QFETCH(QString, written);
        TempProgramFolder folder;
        if (!newsIni.isNull()) folder.Write("news.ini", newsIni);
        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        QCOMPARE(window.News().txtNews->text(), shown);
        QVERIFY(window.cmdSave_Click());
        QCOMPARE(IniValueInFile(folder.File("news.ini"), "Blokken", "BlokkenPath"), written);
    }

    void scheduleSectionsSurviveTheMainWindowSave() {
        TempProgramFolder folder;
        const QByteArray before =
            "; nieuwsschema\r\n[NatNieuws]\r\nFile= nat.mp3\r\nOud=2\r\nRotate=0\r\nMA=111111111111111111111111\r\n"
            "Tijd=150\r\n\r\n[Blokken]\r\nBlokkenPath=  D:\\Nieuws  \r\nExtra=blijft\r\n[Item5]\r\nrotate=1.0\r\n"
            "ZO=2222\r\n";
        folder.Write("news.ini", before);
        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        QVERIFY(window.cmdSave_Click());
        QByteArray expected = before;
        expected.replace("BlokkenPath=  D:\\Nieuws  ", "BlokkenPath=D:\\Nieuws");
        QCOMPARE(folder.Read("news.ini"), expected);
    }

    void browseButtonFillsTheNewsFolder() {
        TempProgramFolder folder;
        FakeServices fakes;
        fakes.folders.answer = "/data/nieuws";
        frmSetup window(folder.Path(), fakes.Get());
        ExternalNews& news = window.News();
        QCOMPARE(news.cmdPath3->objectName(), QString("cmdPath(3)"));
        QCOMPARE(news.cmdPath3->toolTip(), QString("De locatie waar de nieuws-bestanden worden bewaard"));
        news.cmdPath3->click();
        QCOMPARE(fakes.folders.calls, 1);
        QCOMPARE(fakes.folders.lastPrompt, QString("Geef de locatie van de nieuwsbestanden op"));
        QCOMPARE(news.txtNews->text(), QString("/data/nieuws"));
        fakes.folders.answer.reset();
        news.cmdPath3->click();
        QCOMPARE(news.txtNews->text(), QString("/data/nieuws"));
    }

    void newsButtonOpensItsItemOnce() {
        TempProgramFolder folder;
        folder.Write("news.ini", "[Blokken]\nBlokkenPath=/n\n");
        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        ExternalNews& news = window.News();
        QVERIFY(!news.IntNews());

        news.cdmExtNews[4]->click();
        QPointer<frmIntNews> dialog = news.IntNews();
        QVERIFY(dialog);
        QCOMPARE(news.SelectedNewsItem, qint16(4));
        QCOMPARE(dialog->Item(), 4);
        QCOMPARE(dialog->windowTitle(), QString("Weerbericht"));
        QVERIFY(dialog->isWindow());
        QVERIFY(!dialog->isModal());
        dialog->txtNewsFile->setText("weer.mp3");

        // A second button only raises the open dialog; it keeps its item and its values.
        news.cdmExtNews[0]->click();
        QCOMPARE(news.SelectedNewsItem, qint16(0));
        QCOMPARE(news.IntNews(), dialog.data());
        QCOMPARE(dialog->Item(), 4);
        QCOMPARE(dialog->txtNewsFile->text(), QString("weer.mp3"));
        // Minimized, a button brings it back, still on its own item.
        dialog->showMinimized();
        news.cdmExtNews[1]->click();
        QCOMPARE(news.IntNews(), dialog.data());
        QVERIFY(!dialog->isMinimized());
        QCOMPARE(dialog->Item(), 4);
        QVERIFY(dialog->cmdSave_Click());
        QCOMPARE(IniValueInFile(folder.File("news.ini"), "Weer", "File"), QString("weer.mp3"));
        QVERIFY(IniValueInFile(folder.File("news.ini"), "NatNieuws", "File").isNull());
        QCOMPARE(IniValueInFile(folder.File("news.ini"), "Blokken", "BlokkenPath"), QString("/n"));

        // Closed, the next button opens its own item and reads the file again.
        dialog->cmdStop->click();
        ProcessDeferredDeletes();
        QVERIFY(!dialog);
        QVERIFY(!news.IntNews());
        news.cdmExtNews[4]->click();
        QCOMPARE(news.IntNews()->txtNewsFile->text(), QString("weer.mp3"));
    }
};

QTEST_MAIN(ExternalNewsTest)
#include "tst_external_news.moc"

// The news schedule dialog: one item's section of news.ini, loaded when it opens, saved on demand.
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "windows/dialogs/frmFloatNews.h"
#include "windows/dialogs/frmIntNews.h"
#include "widgets/WeekHourGrid.h"
#include "widgets/LedSpin.h"
#include "widgets/StateCheckBox.h"
#include "support/Fakes.h"
#include "support/TestFolder.h"
#include "text/TextTable.h"

using namespace quorvant;
using namespace quorvant::test;

namespace {
const QString kZeros = QString(24, '0');

// [Item2] (item 6) with every key, in the order the save writes them, between two foreign sections.
const QList<QPair<QString, QString>> kItemKeys = {
    {"File", "nieuws.mp3"},
    {"Oud", "12"},
    {"Rotate", "0"},
    {"MA", "000000111100000000000000"},
    {"DI", "000000000000000000000001"},
    {"WO", "100000000000000000000000"},
    {"DO", "000000000000111111000000"},
    {"VR", "222000000000000000000000"},
    {"ZA", "000000000000000000000000"},
    {"ZO", "111111111111111111111111"},
    {"Tijd", "300"},
};

QByteArray NewsIni(const QString& key = {}, const QString& value = {}) {
    QString text = "[Blokken]\nBlokkenPath=/srv/nieuws\n[Item2]\n";
    for (const auto& [name, stored] : kItemKeys) text += name + "=" + (name == key ? value : stored) + "\n";
    text += "[Weer]\nFile=weer.mp3\n";
    return text.toUtf8();
}

QString Shown(const frmIntNews& dialog, const QString& key) {
    if (key == "File") return dialog.txtNewsFile->text();
    if (key == "Oud") return QString::number(dialog.ledNewsOld->Value());
    if (key == "Rotate") return dialog.chkAutoRotate->isChecked() ? "1" : "0";
    if (key == "Tijd") return QString::number(dialog.ledMix->Value());
    return dialog.grid->EncodeDay(WeekHourGrid::DayKeys().indexOf(key));
}

QString Caption(int item) { return QString("Knop %1").arg(item); }

void ProcessDeferredDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
}  // namespace

class IntNewsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        ResetProgramState();
        LaadTaal(QString(QUORVANT_SOURCE_DIR) + "/resources");
    }

    void keyIsShownAndWrittenBack_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("written");
        QTest::newRow("File with blanks") << "File"
                                          << "  mijn nieuws.mp3  "
                                          << "  mijn nieuws.mp3  "
                                          << "mijn nieuws.mp3";
        // Longer than a text box holds by default: it must come back whole.
        const QString longFile = QString(40000, u'n') + ".mp3";
        QTest::newRow("File of 40004 characters") << "File" << longFile << longFile << longFile;
        QTest::newRow("File empty") << "File"
                                    << ""
                                    << ""
                                    << "";
        QTest::newRow("Oud empty gives 0") << "Oud"
                                           << ""
                                           << "0"
                                           << "0";
        QTest::newRow("Oud 100") << "Oud"
                                 << "100"
                                 << "100"
                                 << "100";
        QTest::newRow("Oud beyond the spin kept") << "Oud"
                                                  << "250"
                                                  << "250"
                                                  << "250";
        QTest::newRow("Oud word leaves 0") << "Oud"
                                           << "oud"
                                           << "0"
                                           << "0";
        QTest::newRow("Rotate 1") << "Rotate"
                                  << "1"
                                  << "1"
                                  << "1";
        QTest::newRow("Rotate 1.0") << "Rotate"
                                    << "1.0"
                                    << "1"
                                    << "1";
        QTest::newRow("Rotate 2") << "Rotate"
                                  << "2"
                                  << "0"
                                  << "0";
        QTest::newRow("Rotate 1.5") << "Rotate"
                                    << "1.5"
                                    << "0"
                                    << "0";
        QTest::newRow("Rotate empty") << "Rotate"
                                      << ""
                                      << "0"
                                      << "0";
        QTest::newRow("Rotate word") << "Rotate"
                                     << "ja"
                                     << "0"
                                     << "0";
        QTest::newRow("Tijd empty gives 150") << "Tijd"
                                              << ""
                                              << "150"
                                              << "150";
        QTest::newRow("Tijd 0 stays 0") << "Tijd"
                                        << "0"
                                        << "0"
                                        << "0";
        QTest::newRow("Tijd word leaves 0") << "Tijd"
                                            << "x"
                                            << "0"
                                            << "0";
        QTest::newRow("MA 23 characters clear the day") << "MA" << QString(23, '1') << kZeros << kZeros;
        QTest::newRow("MA 30 characters: first 24")
            << "MA" << QString(24, '1') + "000000" << QString(24, '1') << QString(24, '1');
        QTest::newRow("MA missing hours") << "MA"
                                          << "" << kZeros << kZeros;
        QTest::newRow("ZA grey kept") << "ZA"
                                      << "020000000000000000000020"
                                      << "020000000000000000000020"
                                      << "020000000000000000000020";
        QTest::newRow("ZO letter counts as 0") << "ZO"
                                               << "1111x1111111111111111111"
                                               << "111101111111111111111111"
                                               << "111101111111111111111111";
        QTest::newRow("ZO digit 3 counts as 0") << "ZO"
                                                << "311111111111111111111111"
                                                << "011111111111111111111111"
                                                << "011111111111111111111111";
    }
    void keyIsShownAndWrittenBack() {
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QFETCH(QString, written);
        TempProgramFolder folder;
        folder.Write("news.ini", NewsIni(key, stored));
        FakeServices fakes;
        frmIntNews dialog(folder.Path(), fakes.Get(), 6, nullptr, Caption);
        QCOMPARE(Shown(dialog, key), shown);
        // A value the load could not use does not stop the keys after it.
        QCOMPARE(Shown(dialog, "Tijd"), key == "Tijd" ? shown : QString("300"));
        QVERIFY(dialog.cmdSave_Click());
        // Everything else, [Blokken] and the other items included, stays byte for byte.
        QCOMPARE(folder.Read("news.ini"), NewsIni(key, written));
        QVERIFY(fakes.errors.reports.isEmpty());
    }

    void emptySectionGivesDefaultsAndSavesAllKeys() {
        TempProgramFolder folder;
        folder.Write("news.ini", "[Blokken]\nBlokkenPath=/n\n[Weer]\n[Item1]\nFile=x\n");
        FakeServices fakes;
        frmIntNews dialog(folder.Path(), fakes.Get(), 4, nullptr, Caption);
        QCOMPARE(dialog.txtNewsFile->text(), QString());
        QCOMPARE(dialog.ledNewsOld->Value(), 0);
        QCOMPARE(dialog.ledMix->Value(), 150);
        QVERIFY(!dialog.chkAutoRotate->isChecked());
        for (int day = 0; day < WeekHourGrid::kDays; ++day) QCOMPARE(dialog.grid->EncodeDay(day), kZeros);
        QVERIFY(dialog.cmdSave_Click());
        QByteArray days;
        for (const QString& day : WeekHourGrid::DayKeys()) days += day.toLatin1() + "=" + kZeros.toLatin1() + "\n";
        QCOMPARE(folder.Read("news.ini"),
                 "[Blokken]\nBlokkenPath=/n\n[Weer]\nFile=\nOud=0\nRotate=0\n" + days + "Tijd=150\n[Item1]\nFile=x\n");
        // Still open; a second save writes the same.
        const QByteArray once = folder.Read("news.ini");
        QVERIFY(dialog.cmdSave_Click());
        QCOMPARE(folder.Read("news.ini"), once);
    }

    void itemChoosesSectionTitleAndExtras_data() {
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("section");
        QTest::addColumn<bool>("autoRotate");
        QTest::addColumn<bool>("floatButton");
        QTest::newRow("0 NatNieuws") << 0 << "NatNieuws" << false << false;
        QTest::newRow("1 NatSport") << 1 << "NatSport" << false << false;
        QTest::newRow("2 RegNieuws") << 2 << "RegNieuws" << false << false;
        QTest::newRow("3 RegSport") << 3 << "RegSport" << false << false;
        QTest::newRow("4 Weer") << 4 << "Weer" << false << false;
        QTest::newRow("5 Item1") << 5 << "Item1" << true << false;
        QTest::newRow("8 Item4") << 8 << "Item4" << true << false;
        QTest::newRow("9 Item5") << 9 << "Item5" << true << true;
    }
    void itemChoosesSectionTitleAndExtras() {
        QFETCH(int, item);
        QFETCH(QString, section);
        QFETCH(bool, autoRotate);
        QFETCH(bool, floatButton);
        TempProgramFolder folder;
        folder.Write("news.ini", ("[" + section + "]\nFile=eigen.mp3\nRotate=1\n").toUtf8());
        FakeServices fakes;
        frmIntNews dialog(folder.Path(), fakes.Get(), qint16(item), nullptr, Caption);
        QCOMPARE(dialog.Item(), item);
        QCOMPARE(dialog.windowTitle(), Caption(item));
        QCOMPARE(dialog.txtNewsFile->text(), QString("eigen.mp3"));
        QCOMPARE(!dialog.chkAutoRotate->isHidden(), autoRotate);
        QCOMPARE(!dialog.cmdFloat->isHidden(), floatButton);
        // Rotate is read and written for every item, also where the box is hidden.
        QVERIFY(dialog.chkAutoRotate->isChecked());
        dialog.txtNewsFile->setText("nieuw.mp3");
        QVERIFY(dialog.cmdSave_Click());
        QCOMPARE(IniValueInFile(folder.File("news.ini"), section, "Rotate"), QString("1"));
        QCOMPARE(IniValueInFile(folder.File("news.ini"), section, "File"), QString("nieuw.mp3"));
    }

    void noItemMeansNoSectionAndNoSave() {
        TempProgramFolder folder;
        folder.Write("news.ini", "File=los\nTijd=5\n[NatNieuws]\nFile=a\nTijd=7\n");
        FakeServices fakes;
        frmIntNews dialog(folder.Path(), fakes.Get(), 10, nullptr, Caption);
        QCOMPARE(dialog.Item(), -1);
        QCOMPARE(dialog.windowTitle(), QString());
        // The load still runs; with no section every key reads empty and shows its default.
        QCOMPARE(dialog.txtNewsFile->text(), QString());
        QCOMPARE(dialog.ledMix->Value(), 150);
        QVERIFY(!dialog.cmdSave->isEnabled());
        QVERIFY(!dialog.cmdSave_Click());
        QCOMPARE(folder.Read("news.ini"), QByteArray("File=los\nTijd=5\n[NatNieuws]\nFile=a\nTijd=7\n"));
    }

    void leaveWritesNothing() {
        TempProgramFolder folder;
        folder.Write("news.ini", NewsIni());
        FakeServices fakes;
        QPointer<frmIntNews> dialog = new frmIntNews(folder.Path(), fakes.Get(), 6, nullptr, Caption);
        dialog->txtNewsFile->setText("anders.mp3");
        dialog->grid->ToggleDayRow(2);
        dialog->cmdStop->click();
        ProcessDeferredDeletes();
        QVERIFY(!dialog);
        QCOMPARE(folder.Read("news.ini"), NewsIni());
    }

    void failedSaveIsReportedAndKeepsTheValues() {
        TempProgramFolder folder;
        // A folder where the file should be: nothing can be written there.
        QVERIFY(QDir().mkpath(folder.File("news.ini")));
        FakeServices fakes;
        frmIntNews dialog(folder.Path(), fakes.Get(), 2, nullptr, Caption);
        QCOMPARE(fakes.errors.reports.size(), 1);  // told at opening that the file cannot be read
        fakes.errors.reports.clear();
        dialog.txtNewsFile->setText("regio.mp3");
        QVERIFY(!dialog.cmdSave_Click());
        QCOMPARE(fakes.errors.reports.size(), 1);
        QCOMPARE(fakes.errors.reports[0].parent, &dialog);
        QVERIFY(fakes.errors.reports[0].message.contains("news.ini"));
        QCOMPARE(dialog.txtNewsFile->text(), QString("regio.mp3"));
    }

    void floatButtonOpensOneFloatingNewsDialog() {
        TempProgramFolder folder;
        FakeServices fakes;
        QWidget owner;
        QPointer<frmIntNews> dialog = new frmIntNews(folder.Path(), fakes.Get(), 9, &owner, Caption);
        dialog->show();
        dialog->cmdFloat->click();
        QPointer<QWidget> floating = dialog->FloatNews();
        QVERIFY(qobject_cast<frmFloatNews*>(floating.data()));
        QVERIFY(floating->isWindow());
        QVERIFY(floating->isVisible());
        QVERIFY(dialog->isVisible());
        dialog->cmdFloat->click();
        QCOMPARE(dialog->FloatNews(), floating.data());
        // A minimized one comes back too.
        floating->showMinimized();
        QVERIFY(floating->isMinimized());
        dialog->cmdFloat->click();
        QCOMPARE(dialog->FloatNews(), floating.data());
        QVERIFY(!floating->isMinimized());
        // Leaving the schedule does not take the floating news with it.
        dialog->cmdStop->click();
        ProcessDeferredDeletes();
        QVERIFY(!dialog);
        QVERIFY(floating);
        // A schedule opened later brings the same one forward.
        QPointer<frmIntNews> again = new frmIntNews(folder.Path(), fakes.Get(), 9, &owner, Caption);
        again->cmdFloat->click();
        QCOMPARE(again->FloatNews(), floating.data());
    }
};

QTEST_MAIN(IntNewsTest)
#include "tst_int_news.moc"

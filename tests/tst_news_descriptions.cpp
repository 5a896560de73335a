// Captions of the news buttons from commonsettings.ini [Desc] in the database folder.
#include <QPushButton>
#include <QtTest>

#include "windows/dialogs/frmIntNews.h"
#include "windows/main_window/ExternalNews.h"
#include "windows/main_window/frmSetup.h"
#include "support/Fakes.h"
#include "support/TestFolder.h"

using namespace quorvant;
using namespace quorvant::test;

namespace {
// The texts of the language file in button order (national sport before regional news).
const QStringList kFallbacks = {"Nationaal Nieuws", "Nationaal Sportnieuws",
                                "Regionaal Nieuws", "Regionaal Sportnieuws",
                                "Weerbericht",      "Item 1",
                                "Item 2",           "Item 3",
                                "Item 4",           "Item 5"};

QStringList With(int button, const QString& caption) {
    QStringList captions = kFallbacks;
    captions[button] = caption;
    return captions;
}

QStringList Captions(frmSetup& window) {
    QStringList captions;
    for (QPushButton* button : window.News().cdmExtNews) captions << button->text();
    return captions;
}

QByteArray ServerIniFor(const TempProgramFolder& folder) {
    return ("[Files]\nDatabasePath=" + folder.DatabaseFolder() + "\n").toUtf8();
}
}  // namespace

class NewsDescriptionsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void captions_data() {
        QTest::addColumn<QByteArray>("commonSettings");  // null: no file
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("no file") << QByteArray() << kFallbacks;
        QTest::newRow("no section Desc") << QByteArray("[Other]\nNatNews=x\n") << kFallbacks;
        QTest::newRow("only Item3") << QByteArray("[Desc]\nItem3=Verkeer\n") << With(7, "Verkeer");
        QTest::newRow("NatSport") << QByteArray("[Desc]\nNatSport=Sport Vlaanderen\n") << With(1, "Sport Vlaanderen");
        QTest::newRow("single blank is a caption") << QByteArray("[Desc]\nWeather= \n") << With(4, " ");
        QTest::newRow("blanks kept") << QByteArray("[Desc]\nRegNews=  Regio  \n") << With(2, "  Regio  ");
        QTest::newRow("empty value falls back") << QByteArray("[Desc]\nItem5=\n") << kFallbacks;
        QTest::newRow("case of names") << QByteArray("[desc]\nnatnews=NN\n") << With(0, "NN");
        QTest::newRow("all ten") << QByteArray(
                                        "[Desc]\nNatNews=a\nNatSport=b\nRegNews=c\nRegSport=d\nWeather=e\nItem1=f\n"
                                        "Item2=g\nItem3=h\nItem4=i\nItem5=j\n")
                                 << QStringList{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"};
    }
    void captions() {
        QFETCH(QByteArray, commonSettings);
        QFETCH(QStringList, expected);
        TempProgramFolder folder;
        folder.Write("server.ini", ServerIniFor(folder));
        if (!commonSettings.isNull()) folder.Write("db/commonsettings.ini", commonSettings);
        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        QCOMPARE(Captions(window), expected);
    }

    void readFromTheDatabaseFolderOnlyAndNeverWritten() {
        TempProgramFolder folder;
        folder.Write("server.ini", ServerIniFor(folder));
        const QByteArray common = "[Desc]\r\nItem1=Eigen item\r\n";
        folder.Write("db/commonsettings.ini", common);
        // Not where the program lies.
        folder.Write("commonsettings.ini", "[Desc]\nItem2=fout\n");
        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        QCOMPARE(Captions(window), With(5, "Eigen item"));
        QVERIFY(window.cmdSave_Click());
        QCOMPARE(folder.Read("db/commonsettings.ini"), common);
    }

    // The texts built into the program stand in for a missing language file.
    void withoutLanguageFileAndDescriptionsTheBuiltInCaptionsShow() {
        TempProgramFolder folder(false);
        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        QCOMPARE(Captions(window), QStringList({"Nationaal Nieuws", "Nationaal Sportnieuws", "Regionaal Nieuws",
                                                "Regionaal Sportnieuws", "Weerbericht", "Item 1", "Item 2", "Item 3",
                                                "Item 4", "Item 5"}));
    }

    void scheduleTakesItsTitleFromTheButton() {
        TempProgramFolder folder;
        folder.Write("server.ini", ServerIniFor(folder));
        folder.Write("db/commonsettings.ini", "[Desc]\nNatSport=Sport Vlaanderen\n");
        FakeServices fakes;
        frmSetup window(folder.Path(), fakes.Get());
        window.News().cdmExtNews[1]->click();
        QVERIFY(window.News().IntNews());
        QCOMPARE(window.News().IntNews()->windowTitle(), QString("Sport Vlaanderen"));
    }
};

QTEST_MAIN(NewsDescriptionsTest)
#include "tst_news_descriptions.moc"

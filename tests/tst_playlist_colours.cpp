// [Colors]: the twelve playlist colours on tab 4.

#include <QPushButton>
#include <QSet>
#include <QtTest>

#include "windows/main_window/PlaylistColours.h"
#include "windows/main_window/frmSetup.h"
#include "widgets/ColourPanel.h"
#include "support/WindowFixture.h"

using namespace quorvant;
using namespace quorvant::test;
using Colour = PlaylistColours::Colour;

namespace {

constexpr qint32 kRed = 255;
constexpr qint32 kGreen = 65280;
constexpr qint32 kBlue = 16711680;
constexpr qint32 kWhite = 16777215;

struct Setup : WindowFixture {
    using WindowFixture::WindowFixture;
    PlaylistColours& colours() { return window->Colours(); }
    QString Saved(const QString& key) const { return WindowFixture::Saved("Colors", key); }
    // The colour a panel shows for one of the twelve colours.
    qint32 Painted(Colour colour) {
        ColourPanel* panel = colours().Panel(colour);
        return colour % 2 == 0 ? panel->BackColour() : panel->TextColour();
    }
};

}  // namespace

class TestPlaylistColours : public QObject {
    Q_OBJECT

private slots:
    void noSectionIsBlackAndWritesZerosInWriteOrder();
    void storedValues_data();
    void storedValues();
    void untouchedSectionSurvivesByteForByte();
    void pickedColourIsPaintedAndSaved();
    void cancelChangesNothing();
    void cancelAfterConfirmElsewhereChangesNothing();
};

void TestPlaylistColours::noSectionIsBlackAndWritesZerosInWriteOrder() {
    Setup s("[program]\nDebugger=0\n");
    QCOMPARE(s.fakes.colours.flags, 4);
    for (int i = 0; i < PlaylistColours::kColours; ++i) {
        const auto colour = static_cast<Colour>(i);
        QCOMPARE(s.colours().Slot(colour), 0);
        QCOMPARE(s.Painted(colour), 0);
    }
    QCOMPARE(s.colours().panMuziek->Caption(), QString("Muziek"));
    QVERIFY(s.window->cmdSave_Click());
    const QStringList expected = {"MusBack=0",  "MusTxt=0",    "JingBack=0", "JingTxt=0",
                                  "RecBack=0", "RecTxt=0",   "EventBack=0", "EventTxt=0", "TijdBack=0",
                                  "TijdTxt=0", "PresBack=0", "PresTxt=0"};
    QCOMPARE(SectionLines(s.folder.Read("server.ini"), "Colors"), expected);
    QVERIFY(FileLines(s.folder.Read("server.ini")).contains("[Colors]"));
}

void TestPlaylistColours::storedValues_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<qint32>("colour");
    QTest::addColumn<QString>("written");
    QTest::newRow("white background") << "MusBack" << QByteArray("16777215") << kWhite << "16777215";
    QTest::newRow("black text") << "MusTxt" << QByteArray("0") << 0 << "0";
    QTest::newRow("negative kept") << "RecBack" << QByteArray("-1") << -1 << "-1";
    QTest::newRow("above white kept") << "TijdTxt" << QByteArray("33554431") << 33554431 << "33554431";
    QTest::newRow("32-bit top") << "PresTxt" << QByteArray("2147483647") << 2147483647 << "2147483647";
    QTest::newRow("blanks around") << "EventBack" << QByteArray(" 255 ") << kRed << "255";
    QTest::newRow("word paints black") << "JingBack" << QByteArray("rood") << 0 << "0";
    QTest::newRow("beyond 32 bits") << "JingTxt" << QByteArray("4294967295") << 0 << "0";
    QTest::newRow("empty") << "PresBack" << QByteArray("") << 0 << "0";
}

void TestPlaylistColours::storedValues() {
    QFETCH(QString, key);
    QFETCH(QByteArray, stored);
    QFETCH(qint32, colour);
    QFETCH(QString, written);
    const QStringList keys = {"MusBack", "MusTxt", "JingBack", "JingTxt", "PresBack",  "PresTxt",
                              "RecBack", "RecTxt", "TijdBack", "TijdTxt", "EventBack", "EventTxt"};
    const auto which = static_cast<Colour>(keys.indexOf(key));
    Setup s("[Colors]\n" + key.toLatin1() + "=" + stored + "\n");
    QCOMPARE(s.colours().Slot(which), colour);
    QCOMPARE(s.Painted(which), colour);
    QVERIFY(s.window->cmdSave_Click());
    QCOMPARE(s.Saved(key), written);
}

void TestPlaylistColours::untouchedSectionSurvivesByteForByte() {
    // Stored in read order with a comment: the save replaces values in place.
    const QByteArray section =
        "[Colors]\r\nMusBack=16777215\r\nMusTxt=0\r\nJingBack=65535\r\nJingTxt=-5\r\n; presentatie\r\n"
        "PresBack=12632256\r\nPresTxt=255\r\nRecBack=65280\r\nRecTxt=16711680\r\nTijdBack=0\r\n"
        "TijdTxt=16777215\r\nEventBack=8421504\r\nEventTxt=99999999\r\n";
    Setup s("[program]\r\nDebugger=1\r\n" + section + "[InterPC]\r\nnetworkRDS=1\r\n");
    QCOMPARE(s.colours().panMuziek->BackColour(), kWhite);
    QCOMPARE(s.colours().panEvents->TextColour(), 99999999);
    QVERIFY(s.window->cmdSave_Click());
    QCOMPARE(SectionLines(s.folder.Read("server.ini"), "Colors"), SectionLines(section, "Colors"));
    QVERIFY(s.folder.Read("server.ini").contains(section));
}

void TestPlaylistColours::pickedColourIsPaintedAndSaved() {
    Setup s("[Colors]\nJingTxt=255\n");
    s.fakes.colours.answers = {kBlue};
    s.colours().Button(PlaylistColours::JingTxt)->click();
    QCOMPARE(s.fakes.colours.calls, 1);
    QCOMPARE(s.colours().panJingle->TextColour(), kBlue);
    QCOMPARE(s.colours().panJingle->BackColour(), 0);
    QCOMPARE(s.colours().Slot(PlaylistColours::JingTxt), kBlue);
    QVERIFY(s.window->cmdSave_Click());
    QCOMPARE(s.Saved("JingTxt"), QString("16711680"));
    QCOMPARE(s.Saved("JingBack"), QString("0"));
}

void TestPlaylistColours::cancelChangesNothing() {
    // The chooser's colour is black here: Cancel must not paint it over the stored colour.
    const QByteArray file = "[Colors]\nRecBack=65280\n";
    Setup s(file);
    s.fakes.colours.answers = {std::nullopt};
    s.colours().Button(PlaylistColours::RecBack)->click();
    QCOMPARE(s.fakes.colours.calls, 1);
    QCOMPARE(s.colours().panReclame->BackColour(), kGreen);
    QCOMPARE(s.colours().Slot(PlaylistColours::RecBack), kGreen);
    QVERIFY(s.window->cmdSave_Click());
    QCOMPARE(s.Saved("RecBack"), QString("65280"));
}

void TestPlaylistColours::cancelAfterConfirmElsewhereChangesNothing() {
    Setup s("[Colors]\nEventTxt=65280\n");
    s.fakes.colours.answers = {kRed, std::nullopt};
    s.colours().Button(PlaylistColours::MusBack)->click();
    s.colours().Button(PlaylistColours::EventTxt)->click();
    QCOMPARE(s.fakes.colours.calls, 2);
    // The chooser keeps the colour confirmed last for its next opening.
    QCOMPARE(s.fakes.colours.currentAtOpening.at(1), kRed);
    QCOMPARE(s.colours().panMuziek->BackColour(), kRed);
    QCOMPARE(s.colours().panEvents->TextColour(), kGreen);
    QCOMPARE(s.colours().Slot(PlaylistColours::EventTxt), kGreen);
    QVERIFY(s.window->cmdSave_Click());
    QCOMPARE(s.Saved("MusBack"), QString("255"));
    QCOMPARE(s.Saved("EventTxt"), QString("65280"));
}

QTEST_MAIN(TestPlaylistColours)
#include "tst_playlist_colours.moc"

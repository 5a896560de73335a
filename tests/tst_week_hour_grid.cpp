// The week-hour grid: day strings in and out, and the day and hour label shortcuts.
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

#include "widgets/WeekHourGrid.h"
#include "widgets/StateCheckBox.h"

using namespace quorvant;
using Bad = WeekHourGrid::BadCharacter;

Q_DECLARE_METATYPE(quorvant::WeekHourGrid::BadCharacter)

namespace {
const QStringList kNames = {"chkMA", "chkDI", "chkWO", "chkDO", "chkVR", "chkZA", "chkZO"};

QString Repeat(QChar c, int n) { return QString(n, c); }

// Sets every box of the grid from one state per day, e.g. "0120000" (day 0 off, day 1 on, ...).
void SetColumn(WeekHourGrid& grid, int hour, const QString& states) {
    for (int day = 0; day < WeekHourGrid::kDays; ++day) grid.Box(day, hour)->SetState(states[day].digitValue());
}

QString Column(const WeekHourGrid& grid, int hour) {
    QString states;
    for (int day = 0; day < WeekHourGrid::kDays; ++day) states += QString::number(grid.Box(day, hour)->State());
    return states;
}
}  // namespace

class WeekHourGridTest : public QObject {
    Q_OBJECT

private slots:
    void decodeThenEncode_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("encoded");
        const QString zeros = Repeat('0', 24);
        QTest::newRow("empty") << "" << zeros;
        QTest::newRow("hours 6..9") << "000000111100000000000000"
                                    << "000000111100000000000000";
        QTest::newRow("grey kept") << "210000000000000000000012"
                                   << "210000000000000000000012";
        QTest::newRow("23 characters clear the row") << Repeat('1', 23) << zeros;
        QTest::newRow("25 characters: first 24") << Repeat('1', 24) + "0" << Repeat('1', 24);
        QTest::newRow("30 characters: first 24") << "0" + Repeat('1', 23) + "222222"
                                                 << "0" + Repeat('1', 23);
    }
    void decodeThenEncode() {
        QFETCH(QString, stored);
        QFETCH(QString, encoded);
        for (Bad bad : {Bad::Skip, Bad::Zero}) {
            WeekHourGrid grid(kNames, "lblDag", "Label35");
            // A short text clears what was there before.
            grid.DecodeDay(3, Repeat('1', 24), bad);
            grid.DecodeDay(3, stored, bad);
            QCOMPARE(grid.EncodeDay(3), encoded);
            QCOMPARE(grid.EncodeDay(2), Repeat('0', 24));
        }
    }

    void badCharacters_data() {
        QTest::addColumn<QString>("character");
        QTest::addColumn<Bad>("bad");
        QTest::addColumn<int>("hourFourAfter");
        for (const QString& c : {QString("x"), QString(" "), QString("3"), QString("9"), QString("-"), QString(".")}) {
            QTest::addRow("'%s' skipped", qPrintable(c)) << c << Bad::Skip << 1;
            QTest::addRow("'%s' as zero", qPrintable(c)) << c << Bad::Zero << 0;
        }
    }
    void badCharacters() {
        QFETCH(QString, character);
        QFETCH(Bad, bad);
        QFETCH(int, hourFourAfter);
        WeekHourGrid grid(kNames, "lblDag", "Label35");
        grid.DecodeDay(0, Repeat('1', 24), bad);
        // Only hour 4 is bad; the others come from their own characters.
        grid.DecodeDay(0, "2020" + character + "2222222222222222222", bad);
        QCOMPARE(grid.Box(0, 4)->State(), hourFourAfter);
        QCOMPARE(grid.EncodeDay(0).remove(4, 1), QString("20202222222222222222222"));
    }

    void toggleHourColumn_data() {
        QTest::addColumn<QString>("before");  // states of the column, Monday first
        QTest::addColumn<QString>("after");
        QTest::newRow("Monday off, Tuesday on: all on") << "0100000"
                                                        << "1111111";
        QTest::newRow("Monday on, others off: all off") << "1000000"
                                                        << "0000000";
        QTest::newRow("Monday on, others on: all off") << "1111111"
                                                       << "0000000";
        QTest::newRow("Monday grey: all on") << "2000002"
                                             << "1111111";
        QTest::newRow("Monday off, rest grey: all on") << "0222222"
                                                       << "1111111";
    }
    void toggleHourColumn() {
        QFETCH(QString, before);
        QFETCH(QString, after);
        WeekHourGrid grid(kNames, "lblDag", "Label35");
        SetColumn(grid, 7, before);
        SetColumn(grid, 8, before);
        grid.HourLabel(7)->click();
        QCOMPARE(Column(grid, 7), after);
        QCOMPARE(Column(grid, 8), before);
    }

    void hourColumnTwiceTurnsItOffAgain() {
        WeekHourGrid grid(kNames, "lblDag", "Label35");
        SetColumn(grid, 7, "0100000");
        grid.ToggleHourColumn(7);
        grid.ToggleHourColumn(7);
        QCOMPARE(Column(grid, 7), QString("0000000"));
    }

    void toggleDayRow_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("hour 0 off: all on") << "0" + Repeat('1', 23) << Repeat('1', 24);
        QTest::newRow("hour 0 on: all off") << "1" + Repeat('0', 23) << Repeat('0', 24);
        QTest::newRow("hour 0 grey: all on") << "2" + Repeat('2', 23) << Repeat('1', 24);
    }
    void toggleDayRow() {
        QFETCH(QString, before);
        QFETCH(QString, after);
        WeekHourGrid grid(kNames, "lblDag", "Label35");
        grid.DecodeDay(5, before, Bad::Skip);
        grid.DecodeDay(4, before, Bad::Skip);
        grid.DayLabel(5)->click();
        QCOMPARE(grid.EncodeDay(5), after);
        QCOMPARE(grid.EncodeDay(4), before);
    }

    void daysOutsideTheWeekDoNothing() {
        WeekHourGrid grid(kNames, "lblDag", "Label35");
        grid.ToggleDayRow(7);
        grid.ToggleDayRow(-1);
        grid.ToggleHourColumn(24);
        grid.DecodeDay(7, Repeat('1', 24), Bad::Skip);
        QCOMPARE(grid.EncodeDay(7), QString());
        for (int day = 0; day < WeekHourGrid::kDays; ++day) QCOMPARE(grid.EncodeDay(day), Repeat('0', 24));
    }

    // The keyboard: the grid is one Tab stop; keys are applied in turn to whatever has focus.
    void keyboard_data() {
        QTest::addColumn<QString>("keys");       // R L U D H(ome) E(nd) S(pace) T(ab) B(acktab)
        QTest::addColumn<QString>("focused");    // accessible name or caption of the focus after the keys
        QTest::addColumn<QString>("monday");     // Monday's day string after the keys
        QTest::addColumn<QString>("tuesday");
        QTest::newRow("Tab lands on the first box") << "T" << "maandag 0 uur" << Repeat('0', 24) << Repeat('0', 24);
        QTest::newRow("a second Tab leaves the grid") << "TT" << "na" << Repeat('0', 24) << Repeat('0', 24);
        QTest::newRow("arrows and Space") << "TRRDS" << "dinsdag 2 uur" << Repeat('0', 24)
                                          << "001" + Repeat('0', 21);
        QTest::newRow("Space twice") << "TRSS" << "maandag 1 uur" << Repeat('0', 24) << Repeat('0', 24);
        QTest::newRow("back into the grid where it was left") << "TRRTBS" << "maandag 2 uur"
                                                              << "001" + Repeat('0', 21) << Repeat('0', 24);
        QTest::newRow("Shift+Tab from the grid") << "TRB" << "voor" << Repeat('0', 24) << Repeat('0', 24);
        QTest::newRow("left to the day label toggles the row") << "TDLS" << "DI" << Repeat('0', 24)
                                                               << Repeat('1', 24);
        QTest::newRow("up to the hour label toggles the column") << "TRRRUS" << "3" << "0001" + Repeat('0', 20)
                                                                 << "0001" + Repeat('0', 20);
        QTest::newRow("edges stop") << "TLUULL" << "MA" << Repeat('0', 24) << Repeat('0', 24);
        QTest::newRow("End and Home") << "TESHR" << "maandag 0 uur" << Repeat('0', 23) + "1" << Repeat('0', 24);
    }
    void keyboard() {
        QFETCH(QString, keys);
        QFETCH(QString, focused);
        QFETCH(QString, monday);
        QFETCH(QString, tuesday);
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* before = new QLineEdit(&window);
        before->setAccessibleName("voor");
        auto* grid = new WeekHourGrid(kNames, "lblDag", "Label35", &window);
        auto* after = new QPushButton("na", &window);
        layout->addWidget(before);
        layout->addWidget(grid);
        layout->addWidget(after);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        before->setFocus();
        for (QChar key : keys) {
            QWidget* target = QApplication::focusWidget();
            QVERIFY(target);
            switch (key.unicode()) {
                case 'R': QTest::keyClick(target, Qt::Key_Right); break;
                case 'L': QTest::keyClick(target, Qt::Key_Left); break;
                case 'U': QTest::keyClick(target, Qt::Key_Up); break;
                case 'D': QTest::keyClick(target, Qt::Key_Down); break;
                case 'H': QTest::keyClick(target, Qt::Key_Home); break;
                case 'E': QTest::keyClick(target, Qt::Key_End); break;
                case 'S': QTest::keyClick(target, Qt::Key_Space); break;
                case 'T': QTest::keyClick(target, Qt::Key_Tab); break;
                case 'B': QTest::keyClick(target, Qt::Key_Backtab, Qt::ShiftModifier); break;
            }
        }
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        const auto* button = qobject_cast<QAbstractButton*>(focus);
        const QString name = !focus->accessibleName().isEmpty() ? focus->accessibleName()
                             : button                         ? button->text()
                                                              : QString();
        QCOMPARE(name, focused);
        QCOMPARE(grid->EncodeDay(0), monday);
        QCOMPARE(grid->EncodeDay(1), tuesday);
        // The focused cell inside the grid is framed in the highlight colour, the others are not.
        if (focus->parentWidget() != grid) return;
        const QImage picture = grid->grab().toImage();
        const QColor highlight = grid->palette().color(QPalette::Highlight);
        auto framed = [&](QWidget* cell) {
            const QRect r = cell->geometry().adjusted(-2, -2, 1, 1);
            int hits = 0;
            for (int x = r.left(); x <= r.right(); ++x)
                if (picture.pixelColor(x, r.top()) == highlight) ++hits;
            return hits > r.width() / 2;
        };
        QVERIFY(framed(focus));
        QVERIFY(!framed(grid->Box(6, 23)));
    }
};

QTEST_MAIN(WeekHourGridTest)
#include "tst_week_hour_grid.moc"

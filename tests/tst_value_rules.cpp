// The value rules by which stored text becomes a control value.
#include <QTemporaryDir>
#include <QtTest>
#include <stdexcept>

#include "binding/Binding.h"
#include "settings/ValueRules.h"

using namespace quorvant;

Q_DECLARE_METATYPE(std::optional<qint32>)

namespace {
const std::optional<qint32> kFails;
}

class TestValueRules : public QObject {
    Q_OBJECT

private slots:
    void wholeNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<qint32>>("as16");
        QTest::addColumn<std::optional<qint32>>("as32");
        using V = std::optional<qint32>;
        QTest::newRow("plain") << "42" << V(42) << V(42);
        QTest::newRow("blanks around") << " 3 " << V(3) << V(3);
        QTest::newRow("tab before") << "\t7" << V(7) << V(7);
        QTest::newRow("minus") << "-12" << V(-12) << V(-12);
        QTest::newRow("plus") << "+12" << V(12) << V(12);
        QTest::newRow("leading zeros") << "007" << V(7) << V(7);
        QTest::newRow("half to even down") << "2.5" << V(2) << V(2);
        QTest::newRow("half to even up") << "3.5" << V(4) << V(4);
        QTest::newRow("negative half") << "-2.5" << V(-2) << V(-2);
        QTest::newRow("zero and a half") << "0.5" << V(0) << V(0);
        QTest::newRow("just above half") << "2.5000001" << V(3) << V(3);
        QTest::newRow("below half") << "2.49999" << V(2) << V(2);
        QTest::newRow("fraction only") << ".7" << V(1) << V(1);
        QTest::newRow("trailing point") << "5." << V(5) << V(5);
        QTest::newRow("16-bit top") << "32767" << V(32767) << V(32767);
        QTest::newRow("16-bit bottom") << "-32768" << V(-32768) << V(-32768);
        QTest::newRow("rounds out of 16-bit") << "32767.5" << kFails << V(32768);
        QTest::newRow("40000") << "40000" << kFails << V(40000);
        QTest::newRow("32-bit top") << "2147483647" << kFails << V(2147483647);
        QTest::newRow("32-bit bottom") << "-2147483648" << kFails << V(-2147483647 - 1);
        QTest::newRow("past 32-bit") << "2147483648" << kFails << kFails;
        QTest::newRow("huge") << "99999999999999999999" << kFails << kFails;
        QTest::newRow("exponent") << "1e3" << kFails << kFails;
        QTest::newRow("hexadecimal") << "0x10" << kFails << kFails;
        QTest::newRow("decimal comma") << "1,5" << kFails << kFails;
        QTest::newRow("empty") << "" << kFails << kFails;
        QTest::newRow("blanks only") << "  " << kFails << kFails;
        QTest::newRow("sign only") << "-" << kFails << kFails;
        QTest::newRow("point only") << "." << kFails << kFails;
        QTest::newRow("blank after sign") << "- 5" << kFails << kFails;
        QTest::newRow("word") << "aan" << kFails << kFails;
        QTest::newRow("trailing text") << "12px" << kFails << kFails;
        QTest::newRow("two points") << "1.2.3" << kFails << kFails;
        QTest::newRow("arabic-indic digits") << QString::fromUtf8("\u0663") << kFails << kFails;
    }
    void wholeNumber() {
        QFETCH(QString, text);
        QFETCH(std::optional<qint32>, as16);
        QFETCH(std::optional<qint32>, as32);
        QCOMPARE(WholeNumber(text, IntWidth::Bits16), as16);
        QCOMPARE(WholeNumber(text, IntWidth::Bits32), as32);
        QCOMPARE(Colour(text), as32);
    }

    void emptyDefault_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<qint32>>("expected");
        using V = std::optional<qint32>;
        QTest::newRow("empty gives the default") << "" << V(25);
        QTest::newRow("blank, 3, blank") << " 3 " << V(3);
        QTest::newRow("blanks are not empty and fail") << "   " << kFails;
        QTest::newRow("word fails, no default") << "x" << kFails;
        QTest::newRow("zero is a value") << "0" << V(0);
    }
    void emptyDefault() {
        QFETCH(QString, text);
        QFETCH(std::optional<qint32>, expected);
        QCOMPARE(EmptyDefault(text, 25, IntWidth::Bits16), expected);
    }

    void oneMeansOn_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("on");
        QTest::newRow("1") << "1" << true;
        QTest::newRow("1.0") << "1.0" << true;
        QTest::newRow("blanks around 1") << " 1 " << true;
        QTest::newRow("+1") << "+1" << true;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("2") << "2" << false;
        QTest::newRow("-1") << "-1" << false;
        QTest::newRow("rounds to 1 but is not 1") << "1.4" << false;
        QTest::newRow("0.9") << "0.9" << false;
        QTest::newRow("word") << "Ja" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("blanks") << "  " << false;
    }
    void oneMeansOn() {
        QFETCH(QString, text);
        QFETCH(bool, on);
        QCOMPARE(OneMeansOn(text), on);
    }

    void checkState_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");  // -1: refused
        QTest::newRow("off") << "0" << 0;
        QTest::newRow("on") << "1" << 1;
        QTest::newRow("grey") << "2" << 2;
        QTest::newRow("3 refused") << "3" << -1;
        QTest::newRow("-1 refused") << "-1" << -1;
        QTest::newRow("1.5 rounds to 2") << "1.5" << 2;
        QTest::newRow("empty fails") << "" << -1;
        QTest::newRow("past 16 bits") << "65537" << -1;
    }
    void checkState() {
        QFETCH(QString, text);
        QFETCH(int, expected);
        const std::optional<int> state = CheckState(text);
        QCOMPARE(state.value_or(-1), expected);
    }

    void listPosition_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::addColumn<std::optional<qint32>>("expected");
        using V = std::optional<qint32>;
        QTest::newRow("first") << "0" << 3 << V(0);
        QTest::newRow("last") << "2" << 3 << V(2);
        QTest::newRow("no selection") << "-1" << 3 << V(-1);
        QTest::newRow("past the end") << "3" << 3 << kFails;
        QTest::newRow("below -1") << "-2" << 3 << kFails;
        QTest::newRow("empty list, no selection") << "-1" << 0 << V(-1);
        QTest::newRow("empty list, position 0") << "0" << 0 << kFails;
        QTest::newRow("not a number") << "x" << 3 << kFails;
    }
    void listPosition() {
        QFETCH(QString, text);
        QFETCH(int, count);
        QFETCH(std::optional<qint32>, expected);
        const std::optional<int> position = ListPosition(text, count);
        QCOMPARE(position ? std::optional<qint32>(*position) : kFails, expected);
    }

    // The form alone, whatever the size: what tells "not a number" from "out of range".
    void numberForm_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("form");
        QTest::newRow("beyond 32 bits") << "99999999999" << true;
        QTest::newRow("blanks and fraction") << " \t-3.5 " << true;
        QTest::newRow("trailing point") << "5." << true;
        QTest::newRow("fraction only") << ".5" << true;
        QTest::newRow("point alone") << "." << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("exponent") << "1e3" << false;
        QTest::newRow("comma") << "1,5" << false;
        QTest::newRow("other digits") << QString::fromUtf8("\u0663") << false;
        QTest::newRow("blank inside") << "1 2" << false;
    }
    void numberForm() {
        QFETCH(QString, text);
        QFETCH(bool, form);
        QCOMPARE(HasNumberForm(text), form);
    }

    void trims_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("spaces");
        QTest::addColumn<QString>("spacesAndTabs");
        QTest::newRow("spaces") << "  a b  "
                                << "a b"
                                << "a b";
        QTest::newRow("tabs outside") << "\t a \t"
                                      << "\t a \t"
                                      << "a";
        QTest::newRow("spaces outside tabs") << " \ta\t "
                                             << "\ta\t"
                                             << "a";
        QTest::newRow("only blanks") << " \t "
                                     << "\t"
                                     << "";
        QTest::newRow("line break stays") << "a\n"
                                          << "a\n"
                                          << "a\n";
    }
    void trims() {
        QFETCH(QString, text);
        QFETCH(QString, spaces);
        QFETCH(QString, spacesAndTabs);
        QCOMPARE(TrimSpaces(text), spaces);
        QCOMPARE(TrimSpacesAndTabs(text).toString(), spacesAndTabs);
    }

    // A write order names keys; one that misses or repeats a key is refused before anything is written.
    void writeOrderByName_data() {
        QTest::addColumn<QStringList>("order");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("read order") << QStringList{} << QByteArray("[S]\nA=1\nB=2\nC=3\n");
        QTest::newRow("named order") << QStringList{"C", "A", "B"} << QByteArray("[S]\nC=3\nA=1\nB=2\n");
        QTest::newRow("a key left out") << QStringList{"C", "A"} << QByteArray();
        QTest::newRow("a key twice") << QStringList{"C", "A", "A"} << QByteArray();
        QTest::newRow("an unknown key") << QStringList{"C", "A", "D"} << QByteArray();
    }
    void writeOrderByName() {
        QFETCH(QStringList, order);
        QFETCH(QByteArray, written);
        QTemporaryDir dir;
        IniAccessor ini;
        ini.SetFile(dir.filePath("x.ini"));
        const schema::Key keys[] = {schema::Entry(schema::File::Server, "S", "A", schema::Rule::Text),
                                    schema::Entry(schema::File::Server, "S", "B", schema::Rule::Text),
                                    schema::Entry(schema::File::Server, "S", "C", schema::Rule::Text)};
        QList<Binding> bindings;
        for (const schema::Key& key : keys)
            bindings.append(Binding{&key, {}, [&key]() -> IniValue { return qint16(*key.name - 'A' + 1); }});
        QList<const Binding*> rows;
        for (const Binding& binding : bindings) rows.append(&binding);
        if (order.isEmpty()) order = QStringList{"A", "B", "C"};
        ini.SetSection("S");
        if (written.isEmpty()) {
            QVERIFY_THROWS_EXCEPTION(std::logic_error, WriteInOrder(ini, rows, order));
            QVERIFY(!QFile::exists(dir.filePath("x.ini")));
            return;
        }
        WriteInOrder(ini, rows, order);
        QFile file(dir.filePath("x.ini"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().replace("\r\n", "\n"), written);
    }
};

QTEST_APPLESS_MAIN(TestValueRules)
#include "tst_value_rules.moc"

#include <QEventLoop>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <optional>

#include "platform/GenreDatabase.h"
#include "platform/mdb/GenreProtocol.h"
#include "windows/main_window/AutomationTiming.h"
#include "platform/mdb/GenreReader.h"
#include "support/TestFolder.h"

using namespace quorvant;

Q_DECLARE_METATYPE(std::vector<quorvant::GenreValue>)
Q_DECLARE_METATYPE(quorvant::GenreReadError)

namespace {

const QString kData = QStringLiteral(QUORVANT_TEST_DATA "/genres/");
const QString kHelper = QStringLiteral(QUORVANT_BUILD_DIR "/quorvant-genres");
const QString kFakeHelper = QStringLiteral(QUORVANT_BUILD_DIR "/tests/helper_genres_fake");

// The expected order of data.mdb and data-2003.mdb (NULL and "" are both empty).
const QStringList kDataOrder = {"",        "",     " Leading blank", "80s Hits",   "Ambient",    "Chanson",
                                "Électro", "Jazz", "jazz fusion",    "Kleinkunst", "Levenslied", "Pop",
                                "Pop",     "rock"};

// Waits for the answer of one request; the bound only keeps a broken build from hanging the run.
// Why there is no list, in the words the page shows.
QString Reason(const GenreList& list) { return AutomationTiming::GenreFailureText(list); }

std::optional<GenreList> Fetch(GenreSource& source, const QString& mdbPath) {
    std::optional<GenreList> result;
    QEventLoop loop;
    source.Request(mdbPath, [&](const GenreList& list) {
        result = list;
        loop.quit();
    });
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    if (!result) loop.exec();
    return result;
}

}  // namespace

class TestGenres : public QObject {
    Q_OBJECT

private slots:
    // The stored values, in table order, with NULL kept apart from "".
    void readerKeepsNullApartFromEmpty() {
        const GenreReadResult read = ReadGenreValues(kData + "data.mdb");
        QCOMPARE(read.error, GenreReadError::None);
        const std::vector<GenreValue> expected = {
            "rock", "Kleinkunst", "Pop",        std::nullopt, "Électro", "80s Hits",       "jazz fusion",
            "",     "Ambient",    "Levenslied", "Pop",        "Jazz",    " Leading blank", "Chanson"};
        QCOMPARE(read.values, expected);
    }

    void readerErrors_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<GenreReadError>("error");
        QTest::newRow("no table") << "data-nogenres.mdb" << GenreReadError::NoTable;
        QTest::newRow("missing file") << "no-such.mdb" << GenreReadError::NoFile;
        QTest::newRow("folder") << "" << GenreReadError::NoFile;
    }
    void readerErrors() {
        QFETCH(QString, file);
        QFETCH(GenreReadError, error);
        QCOMPARE(ReadGenreValues(kData + file).error, error);
    }

    void sortGenres_data() {
        QTest::addColumn<std::vector<GenreValue>>("values");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("case ignored") << std::vector<GenreValue>{"b", "A", "c", "B"} << QStringList{"A", "b", "B", "c"};
        QTest::newRow("accents with base letter")
            << std::vector<GenreValue>{"Zouk", "Ecole", "Éclair", "eclair", "Eclipse", "Dub"}
            << QStringList{"Dub", "eclair", "Éclair", "Eclipse", "Ecole", "Zouk"};
        QTest::newRow("blank, punctuation, digits, letters")
            << std::vector<GenreValue>{"abc", "9", "10", "!x", " z", "Ä"}
            << QStringList{" z", "!x", "10", "9", "Ä", "abc"};
        QTest::newRow("numbers compare as text") << std::vector<GenreValue>{"Genre 9", "Genre 10", "Genre 100"}
                                                 << QStringList{"Genre 10", "Genre 100", "Genre 9"};
        QTest::newRow("hyphen and apostrophe keep words together")
            << std::vector<GenreValue>{"cop", "coop", "coa", "co-op", "Dont", "Donald", "Don't"}
            << QStringList{"coa", "co-op", "coop", "cop", "Donald", "Don't", "Dont"};
        QTest::newRow("equal keys keep table order")
            << std::vector<GenreValue>{"POP", "pop", "Pop", "Jazz"} << QStringList{"Jazz", "POP", "pop", "Pop"};
        // A control character weighs nothing, like "", so only the NULL rule puts NULL before it.
        QTest::newRow("null before everything") << std::vector<GenreValue>{"a", QString(QChar(1)), std::nullopt, ""}
                                                << QStringList{"", QString(QChar(1)), "", "a"};
        QTest::newRow("empty") << std::vector<GenreValue>{} << QStringList{};
    }
    void sortGenres() {
        QFETCH(std::vector<GenreValue>, values);
        QFETCH(QStringList, expected);
        QCOMPARE(SortGenres(values), expected);
    }

    void protocolRoundTrip() {
        const QStringList genres = {"", "a\\b", "two\nlines", "cr\r", "\\n literal", "Électro ♫", "\\"};
        const auto answer = genre_protocol::Decode(genre_protocol::EncodeList(genres));
        QVERIFY(answer && answer->ok);
        QCOMPARE(answer->genres, genres);
    }

    void protocolRejects_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("nothing") << QByteArray();
        QTest::newRow("no line end") << QByteArray("OK 1\na");
        QTest::newRow("too few lines") << QByteArray("OK 2\na\n");
        QTest::newRow("too many lines") << QByteArray("OK 1\na\nb\n");
        QTest::newRow("bad count") << QByteArray("OK x\n");
        QTest::newRow("signed count") << QByteArray("OK +0\n");
        QTest::newRow("bad escape") << QByteArray("OK 1\na\\q\n");
        QTest::newRow("trailing backslash") << QByteArray("OK 1\na\\\n");
        QTest::newRow("bad UTF-8") << QByteArray("OK 1\n\xff\xfe\n");
        QTest::newRow("error without word") << QByteArray("ERROR \n");
        QTest::newRow("error with more") << QByteArray("ERROR damaged\nx\n");
        QTest::newRow("other") << QByteArray("Segmentation fault\n");
    }
    void protocolRejects() {
        QFETCH(QByteArray, data);
        QVERIFY(!genre_protocol::Decode(data));
    }

    // Every fixture through the real helper program, as the window reads it.
    void helper_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("error");  // start of the reason; empty for success
        QTest::newRow("Access 2000") << "data.mdb" << kDataOrder << "";
        QTest::newRow("Access 2003") << "data-2003.mdb" << kDataOrder << "";
        QTest::newRow("empty table") << "data-empty.mdb" << QStringList{} << "";
        QTest::newRow("lower-case names") << "data-lowercase.mdb" << QStringList{"A", "b", "c"} << "";
        QTest::newRow("no table") << "data-nogenres.mdb" << QStringList{} << "Tabel Genres ontbreekt in ";
        QTest::newRow("truncated") << "data-truncated.mdb" << QStringList{} << "De genre-databank is beschadigd";
        QTest::newRow("garbage") << "data-garbage.mdb" << QStringList{} << "De genre-databank is beschadigd";
        QTest::newRow("missing file") << "no-such.mdb" << QStringList{} << "Genre-databank niet gevonden: ";
    }
    void helper() {
        QFETCH(QString, file);
        QFETCH(QStringList, expected);
        QFETCH(QString, error);
        ProcessGenreSource source(kHelper);
        const auto list = Fetch(source, kData + file);
        QVERIFY(list);
        QCOMPARE(list->genres, expected);
        if (error.isEmpty()) {
            QCOMPARE(Reason(*list), QString());
        } else {
            QVERIFY2(Reason(*list).startsWith(error), qPrintable(Reason(*list)));
            QVERIFY2(Reason(*list).endsWith(kData + file), qPrintable(Reason(*list)));
        }
    }

    void helperLargeTable() {
        ProcessGenreSource source(kHelper);
        const auto list = Fetch(source, kData + "data-large.mdb");
        QVERIFY(list);
        QCOMPARE(Reason(*list), QString());
        QCOMPARE(list->genres.size(), 20000);
        for (int i = 0; i < 20000; ++i) {
            QCOMPARE(list->genres[i], QStringLiteral("Genre %1").arg(i + 1, 5, 10, QLatin1Char('0')));
        }
    }

    // A file cut off after whole pages: libmdb alone would read an empty table.
    void helperCutAtPage() {
        QTemporaryDir dir;
        const QString path = dir.filePath("data.mdb");
        test::WriteFile(path, test::ReadFile(kData + "data.mdb").first(24 * 4096 + 100));
        ProcessGenreSource source(kHelper);
        const auto list = Fetch(source, path);
        QVERIFY(list);
        QVERIFY(list->genres.isEmpty());
        QVERIFY2(Reason(*list).startsWith("De genre-databank is beschadigd"), qPrintable(Reason(*list)));
    }

    // Helpers that misbehave: each ends in an empty list and a reason, answered once.
    void brokenHelper_data() {
        QTest::addColumn<QString>("helper");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("timeLimitMs");
        QTest::addColumn<QString>("error");
        QTest::newRow("hangs") << kFakeHelper << "hang.mdb" << 300
                               << "De genre-databank antwoordt niet (afgebroken na 0,3 s)";
        QTest::newRow("crashes") << kFakeHelper << "crash.mdb" << 30000
                                 << "De genre-databank is beschadigd (het leesprogramma brak af)";
        QTest::newRow("garbage") << kFakeHelper << "garbage.mdb" << 30000 << "Onverwacht antwoord";
        QTest::newRow("silent error") << kFakeHelper << "silent.mdb" << 30000 << "Onverwacht antwoord";
        QTest::newRow("floods") << kFakeHelper << "flood.mdb" << 60000 << "Onverwacht antwoord";
        QTest::newRow("missing helper") << QString(QUORVANT_BUILD_DIR "/no-such-helper") << "hang.mdb" << 30000
                                        << "Het leesprogramma van de genre-databank ontbreekt";
    }
    void brokenHelper() {
        QFETCH(QString, helper);
        QFETCH(QString, file);
        QFETCH(int, timeLimitMs);
        QFETCH(QString, error);
        QTemporaryDir dir;
        test::WriteFile(dir.filePath(file), "x");
        ProcessGenreSource source(helper, timeLimitMs);
        int calls = 0;
        GenreList result;
        QEventLoop loop;
        source.Request(dir.filePath(file), [&](const GenreList& list) {
            ++calls;
            result = list;
            loop.quit();
        });
        QCOMPARE(calls, 0);  // never from inside Request
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        loop.exec();
        QCOMPARE(calls, 1);
        QVERIFY(result.genres.isEmpty());
        QVERIFY2(Reason(result).startsWith(error), qPrintable(Reason(result)));
        QTest::qWait(200);  // the killed process's end must not answer a second time
        QCOMPARE(calls, 1);
    }

    void missingFileAnswersLater() {
        ProcessGenreSource source(kHelper);
        int calls = 0;
        source.Request(kData + "no-such-folder/data.mdb", [&](const GenreList&) { ++calls; });
        QCOMPARE(calls, 0);
        QTRY_COMPARE(calls, 1);
    }

    void noAnswerAfterDestruction_data() {
        QTest::addColumn<QString>("helper");
        QTest::addColumn<QString>("file");
        QTest::newRow("running") << kFakeHelper << "hang.mdb";
        QTest::newRow("answer posted") << kHelper << "no-such.mdb";
    }
    void noAnswerAfterDestruction() {
        QFETCH(QString, helper);
        QFETCH(QString, file);
        QTemporaryDir dir;
        if (file == "hang.mdb") test::WriteFile(dir.filePath(file), "x");
        int calls = 0;
        {
            ProcessGenreSource source(helper, 60000);
            source.Request(dir.filePath(file), [&](const GenreList&) { ++calls; });
        }
        QTest::qWait(200);
        QCOMPARE(calls, 0);
    }

    void requestsAreIndependent() {
        ProcessGenreSource source(kHelper);
        std::optional<GenreList> first, second;
        source.Request(kData + "data-lowercase.mdb", [&](const GenreList& list) { first = list; });
        source.Request(kData + "data-nogenres.mdb", [&](const GenreList& list) { second = list; });
        QTRY_VERIFY_WITH_TIMEOUT(first && second, 60000);
        QCOMPARE(first->genres, (QStringList{"A", "b", "c"}));
        QVERIFY(Reason(*second).startsWith("Tabel Genres ontbreekt"));
    }
};

QTEST_GUILESS_MAIN(TestGenres)
#include "tst_genres.moc"

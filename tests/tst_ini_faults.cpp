// Settings files that earlier versions damaged on a save where nothing was changed, and the
// engine's answer: keep every other key and line, or refuse and leave the file alone.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "fuzz/IniInvariant.h"
#include "settings/AtomicFile.h"
#include "support/SystemFiles.h"
#include "support/TestFolder.h"
#include "settings/IniAccessor.h"
#include "settings/PathChecks.h"
#include "text/Messages.h"

using namespace quorvant;
using namespace quorvant::test;

namespace {

// One save of key=value pairs into `section`; the failure, if any.
std::optional<IniError> Save(IniAccessor& ini, const QString& section, const QList<QPair<QString, QString>>& pairs,
                             bool overwriteChanged = false) {
    try {
        IniSave save(ini);
        ini.SetSection(section);
        for (const auto& [key, value] : pairs) {
            ini.SetKey(key);
            ini.WriteValue(value);
        }
        save.Commit(overwriteChanged);
    } catch (const IniError& error) {
        return error;
    }
    return std::nullopt;
}

using Pairs = QList<QPair<QString, QString>>;

}  // namespace

Q_DECLARE_METATYPE(Pairs)

class TestIniFaults : public QObject {
    Q_OBJECT

private slots:
    void init() { SetLockWaitMs(5000); }

    // Each row: a file, one save into [a], and either the failure it must give (the file then
    // stays as it was) or what must read back afterwards.
    void reproducers_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<Pairs>("writes");
        QTest::addColumn<int>("failure");  // -1: accepted
        QTest::addColumn<Pairs>("reads");  // [a] key -> value after the save
        const int accepted = -1;
        QTest::newRow("UTF-16LE, stray byte in a line")
            << QByteArray::fromHex("fffe5b0061005d000d000a006b003d003100003200"
                                   "0d000a005b0062005d000d000a0078003d006b00650065007000"
                                   "0d000a00")
            << Pairs{{"k", "0"}} << int(IniFailure::Undecodable) << Pairs{};
        QTest::newRow("UTF-16LE, stray byte at the end")
            << QByteArray::fromHex("fffe5b0061005d0041") << Pairs{{"k", "v"}} << int(IniFailure::Undecodable)
            << Pairs{};
        QTest::newRow("U+FEFF leading a value is kept")
            << QByteArray("[a]\nk=\xEF\xBB\xBFv\n") << Pairs{{"n", "1"}} << accepted
            << Pairs{{"k", QString(QChar(0xFEFF)) + "v"}, {"n", "1"}};
        QTest::newRow("U+FEFF leading a key name")
            << QByteArray("[a]\nk=v\n") << Pairs{{QString(QChar(0xFEFF)) + "k", "1"}} << accepted
            << Pairs{{QString(QChar(0xFEFF)) + "k", "1"}, {"k", "v"}};
        QTest::newRow("U+FEFF value written into a file with a byte-order mark")
            << QByteArray("\xEF\xBB\xBF[a]\r\nk=v\r\n") << Pairs{{"k", QString(QChar(0xFEFF)) + "w"}} << accepted
            << Pairs{{"k", QString(QChar(0xFEFF)) + "w"}};
        QTest::newRow("Windows-1252 that would turn into UTF-8")
            << QByteArray("[a]\nx=\xC3\xA9\ny=\xE9\n") << Pairs{{"y", "e"}} << int(IniFailure::EncodingWouldChange)
            << Pairs{{"x", QString::fromUtf8("Ã©")}, {"y", QString::fromUtf8("é")}};
        QTest::newRow("Windows-1252 that stays 1252")
            << QByteArray("[a]\nx=\xC3\xA9\ny=\xE9\n") << Pairs{{"y", QString::fromUtf8("è")}} << accepted
            << Pairs{{"x", QString::fromUtf8("Ã©")}, {"y", QString::fromUtf8("è")}};
        QTest::newRow("Windows-1252 that becomes plain ASCII")
            << QByteArray("[a]\ny=\xE9\n") << Pairs{{"y", "e"}} << accepted << Pairs{{"y", "e"}};
        QTest::newRow("lone CR ending the file")
            << QByteArray("[a]\nk=v\r") << Pairs{{"n", "1"}} << accepted << Pairs{{"k", "v\r"}, {"n", "1"}};
        QTest::newRow("lone CR ending a CRLF file")
            << QByteArray("[a]\r\nk=v\r") << Pairs{{"n", "1"}} << accepted << Pairs{{"k", "v\r"}, {"n", "1"}};
        QTest::newRow("lone CR inside a value that is replaced")
            << QByteArray("[a]\nk=1\rx=keep\r\n") << Pairs{{"k", "0"}} << int(IniFailure::LoneCarriageReturn)
            << Pairs{{"k", "1\rx=keep"}};
        QTest::newRow("lone CR inside another key's value")
            << QByteArray("[a]\nk=1\rx=keep\r\nm=2\r\n") << Pairs{{"m", "3"}} << accepted
            << Pairs{{"k", "1\rx=keep"}, {"m", "3"}};
        QTest::newRow("value that would make the key line a section header")
            << QByteArray("[a]\n[k=x\n") << Pairs{{"[k", "]"}} << int(IniFailure::LineWouldChange)
            << Pairs{{"[k", "x"}};
        QTest::newRow("key added before a later section, saved twice")
            << QByteArray("[a]\nk=1\n[b]\nx=2") << Pairs{{"n", "3"}} << accepted << Pairs{{"n", "3"}, {"k", "1"}};
        QTest::newRow("key twice, the second with a lone CR: its removal refused whole")
            << QByteArray("[a]\nk=1\nk=2\rx\n") << Pairs{{"k", "3"}} << accepted << Pairs{{"k", "3"}};
        QTest::newRow("lone CR inside a value written back unchanged")
            << QByteArray("[a]\nk=1\rx=keep\r\n") << Pairs{{"k", "1\rx=keep"}} << accepted
            << Pairs{{"k", "1\rx=keep"}};
        const QByteArray loneSurrogate("\xFF\xFE[\0a\0]\0\n\0k\0=\0\x00\xD8\n\0", 18);
        QTest::newRow("lone surrogate read from the file, written back")
            << loneSurrogate << Pairs{{"k", QString(QChar(0xD800))}} << accepted << Pairs{{"k", QString(QChar(0xD800))}};
        QTest::newRow("lone surrogate read from the file, text added")
            << loneSurrogate << Pairs{{"k", QString(QChar(0xD800)) + "x"}} << accepted
            << Pairs{{"k", QString(QChar(0xD800)) + "x"}};
        QTest::newRow("lone surrogate added to one read from the file")
            << loneSurrogate << Pairs{{"k", QString(2, QChar(0xD800))}} << int(IniFailure::Unencodable)
            << Pairs{{"k", QString(QChar(0xD800))}};
        QTest::newRow("unpaired surrogate names its key")
            << QByteArray("\xFF\xFE[\0a\0]\0\n\0k\0=\0v\0\n\0", 18) << Pairs{{"k", QString(QChar(0xD800))}}
            << int(IniFailure::Unencodable) << Pairs{{"k", "v"}};
    }
    void reproducers() {
        QFETCH(QByteArray, before);
        QFETCH(Pairs, writes);
        QFETCH(int, failure);
        QFETCH(Pairs, reads);
        QTemporaryDir dir;
        const QString file = dir.filePath("server.ini");
        WriteFile(file, before);
        IniAccessor ini;
        ini.SetFile(file);
        const std::optional<IniError> error = Save(ini, "a", writes);
        if (failure >= 0) {
            QVERIFY2(error, "save accepted");
            QCOMPARE(int(error->Failure()), failure);
            QCOMPARE(error->File(), file);
            QCOMPARE(ReadFile(file), before);
            if (error->Failure() == IniFailure::Unencodable) {
                QCOMPARE(error->Details().key, writes.first().first);
                QVERIFY(msg::FailureReason(*error).contains("[a] k"));
            }
        } else {
            QVERIFY2(!error, error ? qPrintable(msg::FailureReason(*error)) : "");
        }
        for (const auto& [key, value] : reads) QCOMPARE(ReadKey(file, "a", key), value);
        QCOMPARE(EntriesBesideHistory(dir.path()), QStringList{"server.ini"});

        // The same through the document alone keeps the promise, line by line.
        QList<check::Write> documentWrites;
        for (const auto& [key, value] : writes) documentWrites.append({"a", key, value});
        bool refused = false;
        const QString broken = check::SaveKeepsTheRest(before, documentWrites, &refused);
        QVERIFY2(broken.isEmpty(), qPrintable(broken));
        QCOMPARE(refused, failure >= 0);
    }

    // Every file of the fuzzing corpus and the fixtures, with a few writes each.
    void corpusKeepsThePromise() {
        QStringList files;
        for (const QString& root : {QStringLiteral(QUORVANT_SOURCE_DIR "/tests/fuzz/corpus"),
                                    QStringLiteral(QUORVANT_TEST_DATA "/untouched")}) {
            QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) files << it.next();
        }
        QVERIFY(files.size() > 10);
        const QList<QList<check::Write>> saves = {
            {{"a", "k", "0"}},
            {{"Faders", "PresLevel", "95"}, {"Colors", "Back", QString::fromUtf8("é")}},
            {{"Files", "LogPath", "/var/log"}, {"new", "x", ""}, {"a", "k", "]"}},
            {{"Faders", "PresLevel", {}, true}, {"Colors", "Back", "1"}, {"new", "x", "2"}},
        };
        for (const QString& path : files) {
            const QByteArray bytes = ReadFile(path);
            const QString misread = check::ReadsLikeAPlainReader(bytes);
            QVERIFY2(misread.isEmpty(), qPrintable(path + ": " + misread));
            for (int i = 0; i < saves.size(); ++i) {
                bool refused = false;
                const QString broken = check::SaveKeepsTheRest(bytes, saves[i], &refused);
                QVERIFY2(broken.isEmpty(), qPrintable(path + ": " + broken));
                // The server's own files take plain writes; a refusal there would be a fault, not safety.
                if (path.contains("/untouched/") && i != 2) QVERIFY2(!refused, qPrintable(path));
            }
        }
    }

    // Temporary files that a killed save left behind go at the next save; other files stay.
    void staleTempFilesRemoved() {
        QTemporaryDir dir;
        const QString file = dir.filePath("server.ini");
        WriteFile(file, "[a]\nk=1\n");
        WriteFile(dir.filePath(".server.ini.Ab12Cd"), QByteArray(4096, 'x'));
        WriteFile(dir.filePath(".server.ini.zzzzzz"), "old");
        WriteFile(dir.filePath(".server.ini.toolong1"), "not ours");
        WriteFile(dir.filePath(".news.ini.Ab12Cd"), "another file's");
        WriteFile(dir.filePath("server.ini.Ab12Cd"), "no dot");
        IniAccessor ini;
        ini.SetFile(file);
        QVERIFY(!Save(ini, "a", {{"k", "2"}}));
        QCOMPARE(EntriesBesideHistory(dir.path()),
                 (QStringList{".news.ini.Ab12Cd", ".server.ini.toolong1", "server.ini", "server.ini.Ab12Cd"}));
        QCOMPARE(ReadFile(file), QByteArray("[a]\nk=2\n"));
    }

    // A file without any write permission bit is left alone, also by root.
    void fileWithoutWriteBitsKept() {
        QTemporaryDir dir;
        const QString file = dir.filePath("server.ini");
        const QByteArray before("[a]\nk=1\n");
        WriteFile(file, before);
        QVERIFY(SetPermissions(file, 0444));
        IniAccessor ini;
        ini.SetFile(file);
        const std::optional<IniError> error = Save(ini, "a", {{"k", "2"}});
        QVERIFY(error);
        QCOMPARE(error->Failure(), IniFailure::FileReadOnly);
        QCOMPARE(ReadFile(file), before);
        QCOMPARE(FolderEntries(dir.path()), QStringList{"server.ini"});
    }

    // Reasons are Dutch for the common system errors and say what a non-file is.
    void reasons_data() {
        QTest::addColumn<int>("failure");
        QTest::addColumn<int>("errorNumber");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no permission to read") << int(IniFailure::ReadFailed) << EACCES << 0
                                               << "Geen leesrechten op het bestand";
        QTest::newRow("disk full") << int(IniFailure::WriteFailed) << ENOSPC << 0 << "De schijf is vol";
        QTest::newRow("read-only file system") << int(IniFailure::WriteFailed) << EROFS << 0
                                               << "Geen schrijfrechten in de map (alleen-lezen bestandssysteem)";
        QTest::newRow("disk error") << int(IniFailure::ReadFailed) << EIO << 0 << "Lees- of schrijffout van de schijf";
        QTest::newRow("FIFO") << int(IniFailure::NotRegularFile) << 0 << int(FileKind::Fifo)
                              << "Dit is geen gewoon bestand maar een FIFO (named pipe)";
        QTest::newRow("device") << int(IniFailure::NotRegularFile) << 0 << int(FileKind::CharDevice)
                                << "Dit is geen gewoon bestand maar een apparaat (tekenapparaat)";
    }
    void reasons() {
        QFETCH(int, failure);
        QFETCH(int, errorNumber);
        QFETCH(int, kind);
        QFETCH(QString, reason);
        IniErrorDetails details;
        details.errorNumber = errorNumber;
        details.kind = FileKind(kind);
        QCOMPARE(msg::FailureReason(IniError("f", IniFailure(failure), details)), reason);
    }

    // What start-up is told about a file it could not read.
    void loadProblems() {
        QTemporaryDir dir;
        IniAccessor ini;
        ini.SetFile(dir.filePath("missing.ini"));
        QVERIFY(!ini.LoadProblem());
        const QString fifo = dir.filePath("fifo.ini");
        if (!MakeFifo(fifo)) QSKIP("this system has no FIFOs");
        ini.SetFile(fifo);
        QVERIFY(ini.LoadProblem());
        QCOMPARE(ini.LoadProblem()->Details().kind, FileKind::Fifo);
        QCOMPARE(KindOf(fifo), FileKind::Fifo);
        QCOMPARE(KindOf("/dev/null"), FileKind::CharDevice);
        const QString odd = dir.filePath("odd.ini");
        WriteFile(odd, QByteArray::fromHex("fffe5b0061005d0041"));
        ini.SetFile(odd);
        QVERIFY(ini.LoadProblem());
        QCOMPARE(ini.LoadProblem()->Failure(), IniFailure::Undecodable);
        QVERIFY(msg::NotRead(*ini.LoadProblem()).contains("odd.ini"));
        const QString sound = dir.filePath("sound.ini");
        WriteFile(sound, "[a]\nk=1\n");
        ini.SetFile(sound);
        QVERIFY(!ini.LoadProblem());
    }

    // Another program changed keys between the window's read and its save: those the save would
    // set back are named and only overwritten when allowed; other changes merge without a word.
    void changedElsewhere() {
        QTemporaryDir dir;
        const QString file = dir.filePath("server.ini");
        WriteFile(file, "[Faders]\nPresLevel=80\nSabam=1\nSpeed=5\nOther=a\n");
        IniAccessor ini;
        ini.SetFile(file);
        ini.SetSection("Faders");
        QMap<QString, QString> shown;
        for (const QString key : {"PresLevel", "Sabam", "Speed"}) {
            ini.SetKey(key);
            shown[key] = ini.ReadValue();
        }
        WriteFile(file, "[Faders]\nPresLevel=95\nSabam=0\nSpeed=5\nOther=b\n");
        const Pairs writes{{"PresLevel", shown["PresLevel"]}, {"Sabam", shown["Sabam"]}, {"Speed", "6"}};
        const std::optional<IniError> error = Save(ini, "Faders", writes);
        QVERIFY(error);
        QCOMPARE(error->Failure(), IniFailure::ChangedElsewhere);
        QCOMPARE(error->Details().keys, (QStringList{"PresLevel", "Sabam"}));
        QVERIFY(msg::ChangedElsewhereQuestion(*error).startsWith(
            file + " is intussen door een ander programma gewijzigd: PresLevel, Sabam.\n\n"));
        QCOMPARE(ReadFile(file), QByteArray("[Faders]\nPresLevel=95\nSabam=0\nSpeed=5\nOther=b\n"));
        // Asked and allowed.
        QVERIFY(!Save(ini, "Faders", writes, /*overwriteChanged=*/true));
        QCOMPARE(ReadFile(file), QByteArray("[Faders]\nPresLevel=80\nSabam=1\nSpeed=6\nOther=b\n"));
        // Unrelated changes, or the same value on both sides, need no question.
        WriteFile(file, "[Faders]\nPresLevel=80\nSabam=1\nSpeed=7\nOther=c\n");
        QVERIFY(!Save(ini, "Faders", {{"PresLevel", "80"}, {"Speed", "7"}}));
        QCOMPARE(ReadFile(file), QByteArray("[Faders]\nPresLevel=80\nSabam=1\nSpeed=7\nOther=c\n"));
        // Per key and three-way: the save leaves PresLevel as it read it (the disk's 95 stays), changes
        // Sabam (written), and Speed, which the other program changed too (named with both values).
        WriteFile(file, "[Faders]\nPresLevel=95\nSabam=1\nSpeed=5\nOther=d\n");
        const auto merge = [&](ChangedOnDisk changed) {
            IniSave save(ini);
            for (const auto& [key, value] : Pairs{{"PresLevel", "80"}, {"Sabam", "0"}, {"Speed", "8"}}) {
                ini.SetKey(key);
                ini.WriteValue(value);
            }
            save.Commit(changed);
        };
        try {
            merge(ChangedOnDisk::Refuse);
            QFAIL("saved over the other program's keys");
        } catch (const IniError& refused) {
            QCOMPARE(refused.Details().keys, (QStringList{"PresLevel", "Speed"}));
            QCOMPARE(refused.Details().both, (QList<BothChanged>{{"Faders", "Speed", "7", "5", "8"}}));
        }
        merge(ChangedOnDisk::KeepTheirs);
        QCOMPARE(ReadFile(file), QByteArray("[Faders]\nPresLevel=95\nSabam=0\nSpeed=8\nOther=d\n"));
    }
};

QTEST_GUILESS_MAIN(TestIniFaults)
#include "tst_ini_faults.moc"

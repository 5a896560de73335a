// quorvant-ini, run as a separate process the way scripts run it.
#include <QProcess>
#include <QStringConverter>
#include <QTemporaryDir>
#include <QTest>

#include "support/TestFolder.h"

using namespace quorvant::test;

namespace {
const bool kOnWindows = QSysInfo::kernelType() == "winnt";
const QString kTool = QStringLiteral(QUORVANT_BUILD_DIR "/quorvant-ini");

struct Result {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

Result RunTool(const QStringList& arguments, const QByteArray& input = {}, const QString& program = kTool) {
    QProcess process;
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000)) process.kill();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            QString::fromUtf8(process.readAllStandardError())};
}

// The file as stored in one of the encodings and line-ending styles the server's files come in.
QByteArray Encoded(QString text, const QString& encoding, const QByteArray& eol) {
    text.replace("\n", QString::fromLatin1(eol));
    if (encoding == "UTF-8") return text.toUtf8();
    if (encoding == "UTF-8 BOM") return "\xEF\xBB\xBF" + text.toUtf8();
    if (encoding == "Windows-1252") return text.toLatin1();  // the texts below only use Latin-1
    QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    return utf16(text);
}

const QString kFile =
    "; settings of the server\n"
    "[Files]\n"
    "DatabasePath=C:\\db\n"
    "LogPath = /var/log/x \n"
    "\n"
    "[Faders]\n"
    "PresLevel=80\n"
    "Naam=café\n"
    "naam=second entry\n"
    "[faders]\n"
    "Hidden=1\n";
}  // namespace

class IniToolTest : public QObject {
    Q_OBJECT

private slots:
    void editsKeepEverythingElse_data() {
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QByteArray>("eol");
        for (const QString encoding : {"UTF-8", "UTF-8 BOM", "Windows-1252", "UTF-16LE"})
            for (const QByteArray& eol : {QByteArray("\r\n"), QByteArray("\n")})
                QTest::newRow(qPrintable(encoding + (eol == "\n" ? " LF" : " CRLF"))) << encoding << eol;
    }
    void editsKeepEverythingElse() {
        QFETCH(QString, encoding);
        QFETCH(QByteArray, eol);
        struct Case {
            QStringList arguments;
            QByteArray input;
            int exitCode;
            QString out;       // printed, for reads
            QString expected;  // the file afterwards, for writes; empty: unchanged
        };
        QString deleted = kFile;
        deleted.replace("LogPath = /var/log/x \n", "");
        const std::vector<Case> cases = {
            {{"get", "FADERS", " presLevel "}, {}, 0, "80\n", {}},
            {{"get", "Faders", "Naam"}, {}, 0, "café\n", {}},
            {{"get", "Files", "LogPath"}, {}, 0, " /var/log/x \n", {}},
            {{"get", "Faders", "Hidden"}, {}, 1, "", {}},  // the repeated section does not count
            {{"get", "Nowhere", "PresLevel"}, {}, 1, "", {}},
            {{"list"}, {}, 0, "Files\nFaders\n", {}},
            {{"list", "faders"}, {}, 0, "PresLevel=80\nNaam=café\n", {}},
            {{"list", "Colors"}, {}, 1, "", {}},
            {{"set", "faders", "PRESLEVEL", "95"}, {}, 0, "", QString(kFile).replace("PresLevel=80", "PresLevel=95")},
            {{"--new", "set", "Faders", "Mix", "été"}, {}, 0, "", QString(kFile).replace("naam=second entry\n", "naam=second entry\nMix=été\n")},
            {{"set", "Colors", "Back1", "", "--new"}, {}, 0, "", kFile + "[Colors]\nBack1=\n"},
            // Options stand anywhere; after "--" nothing is one.
            {{"set", "Faders", "Naam", "--", "--x"}, {}, 0, "", QString(kFile).replace("Naam=café", "Naam=--x")},
            {{"get", "Faders", "--json", "PresLevel"}, {}, 0, "{\"key\":\"PresLevel\",\"section\":\"Faders\",\"value\":\"80\"}\n", {}},
            {{"list", "--json"}, {}, 0, "{\"section\":\"Files\"}\n{\"section\":\"Faders\"}\n", {}},
            {{"--dry-run", "set", "Faders", "PresLevel", "80", "--exit-code"}, {}, 0, "", {}},
            {{"del", "files", "logpath"}, {}, 0, "", deleted},
            // Every entry of the key goes; the next new key goes after the last one left.
            {{"--new", "apply"}, "del Faders Naam\nset Faders Mix 1\n", 0, "",
             QString(kFile).replace("Naam=café\nnaam=second entry\n", "Mix=1\n")},
            {{"del", "Faders", "Hidden"}, {}, 1, "", {}},
            {{"--force", "set", "Faders", "PresLevel", "9999"}, {}, 0, "", QString(kFile).replace("=80", "=9999")},
            // C:\db is judged only where it is a path of this machine.
            {{"check"}, {}, kOnWindows ? 4 : 0,
             kOnWindows ? "FILE: [Files] DatabasePath=C:\\db: the folder C:\\db does not exist on this machine\n" : "", {}},
            // What would change, as a unified diff of the file (FILE is its path); nothing written.
            {{"--dry-run", "set", "Faders", "PresLevel", "95"}, {}, 0,
             "--- FILE\n+++ FILE\n@@ -4,8 +4,8 @@\n LogPath = /var/log/x \n \n [Faders]\n-PresLevel=80\n+PresLevel=95\n"
             " Naam=café\n naam=second entry\n [faders]\n Hidden=1\n",
             {}},
            {{"--dry-run", "apply", "--new", "--exit-code"}, "del Files LogPath\nset New k v\n", 1,
             "--- FILE\n+++ FILE\n@@ -1,7 +1,6 @@\n ; settings of the server\n [Files]\n DatabasePath=C:\\db\n-LogPath = /var/log/x \n"
             " \n [Faders]\n PresLevel=80\n@@ -9,3 +8,5 @@\n naam=second entry\n [faders]\n Hidden=1\n+[New]\n+k=v\n",
             {}},
            {{"--dry-run", "del", "Faders", "Hidden"}, {}, 1, "", {}},
            {{"--new", "apply"},
             "# from the studio script\r\nset Faders PresLevel 95\r\n\r\ndel Files LogPath\r\n"
             "set \"Float TS\" \"Start Hour\"  padded \r\n",
             0, "",
             QString(deleted).replace("PresLevel=80", "PresLevel=95") + "[Float TS]\nStart Hour= padded \n"},
        };
        for (const Case& c : cases) {
            const QString what = c.arguments.join(' ') + " " + QString::fromUtf8(c.input);
            QTemporaryDir dir;
            const QString file = dir.path() + "/server.ini";
            const QByteArray before = Encoded(kFile, encoding, eol);
            WriteFile(file, before);
            QStringList call = c.arguments;
            call.insert(c.arguments.constFirst().startsWith("--") ? 1 : 0, file);
            const Result result = RunTool(call, c.input);
            QVERIFY2(result.exitCode == c.exitCode, qPrintable(what + ": " + result.err));
            QCOMPARE(QString::fromUtf8(result.out), QString(c.out).replace("FILE", file));
            QCOMPARE(ReadFile(file), c.expected.isEmpty() ? before : Encoded(c.expected, encoding, eol));
            QCOMPARE(EntriesBesideHistory(dir.path()), QStringList{"server.ini"});
        }
    }

    void refusedWritesNothing_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("message");  // part of the message
        QTest::newRow("line break") << QStringList{"set", "Faders", "PresLevel", "9\n5"} << QByteArray()
                                    << "the value of [Faders] PresLevel contains a line break";
        QTest::newRow("carriage return") << QStringList{"set", "Faders", "Mix", "a\rb"} << QByteArray()
                                         << "[Faders] Mix contains a line break";
        QTest::newRow("not in Windows-1252") << QStringList{"set", "Faders", "Mix", "Ω"} << QByteArray()
                                             << "[Faders] Mix cannot be stored: the character \"Ω\" (U+03a9)";
        QTest::newRow("empty key") << QStringList{"set", "Faders", " ", "1"} << QByteArray() << "key name";
        QTest::newRow("key with =") << QStringList{"set", "Faders", "a=b", "1"} << QByteArray() << "\"a=b\"";
        QTest::newRow("key like a comment") << QStringList{"set", "Faders", ";x", "1"} << QByteArray() << "\";x\"";
        QTest::newRow("empty section") << QStringList{"set", "", "Mix", "1"} << QByteArray() << "section name";
        QTest::newRow("apply: one bad line, nothing stored")
            << QStringList{"apply"} << QByteArray("set Faders PresLevel 95\ndel Files LogPath\nset Faders Mix Ω\n")
            << "line 3: [Faders] Mix cannot be stored";
        QTest::newRow("apply: unknown command") << QStringList{"apply"} << QByteArray("set Faders PresLevel 95\nput a b c\n")
                                                << "line 2: expected";
        QTest::newRow("apply: no value") << QStringList{"apply"} << QByteArray("set Faders PresLevel\n")
                                         << "line 1: no value for [Faders] PresLevel";
        QTest::newRow("apply: open quote") << QStringList{"apply"} << QByteArray("set \"Faders PresLevel 1\n")
                                           << "line 1";
        QTest::newRow("apply: not UTF-8") << QStringList{"apply"} << QByteArray("set Faders Mix \xE9\n")
                                          << "line 1: not valid UTF-8";
        QTest::newRow("usage: unknown command") << QStringList{"put", "a", "b"} << QByteArray() << "unknown command";
        QTest::newRow("usage: missing value") << QStringList{"set", "a", "b"} << QByteArray() << "usage:";
        QTest::newRow("usage: unknown option") << QStringList{"--forse"} << QByteArray() << "unknown option";
        QTest::newRow("usage: restore without a version") << QStringList{"restore"} << QByteArray() << "usage:";
        QTest::newRow("usage: restore of no number") << QStringList{"restore", "last"} << QByteArray()
                                                     << "'last' is no version number";
        QTest::newRow("usage: diff of three") << QStringList{"diff", "1", "2", "3"} << QByteArray() << "usage:";
        QTest::newRow("schema: rule cannot read it") << QStringList{"set", "faders", "PresLevel", "abc"} << QByteArray()
                                                     << "[faders] PresLevel: \"abc\" is not a whole number from 0 to 999";
        QTest::newRow("schema: outside the limits") << QStringList{"set", "Faders", "PresLevel", "9999999"} << QByteArray()
                                                    << "9999999 is outside 0 to 999; nothing was changed (--force";
        QTest::newRow("apply: schema refusal names file and line")
            << QStringList{"apply"} << QByteArray("set Faders PresLevel 95\nset program Slave 2\n")
            << "server.ini: standard input, line 2: [program] Slave: 2 is outside 0 to 1";
        QTest::newRow("apply: NUL in a value") << QStringList{"apply"} << QByteArray("set A k a\0b\n", 11)
                                               << "[A] k: contains a NUL character";
        QTest::newRow("section name starting with [") << QStringList{"set", "[x", "k", "1"} << QByteArray()
                                                       << "starts with \"[\"";
        // A slip of the keyboard would add a section or key the server never reads.
        QTest::newRow("typo: section") << QStringList{"set", "Fader", "PresLevel", "95"} << QByteArray()
                                       << "the section [Fader] is known neither to the schema nor to the file; did "
                                          "you mean [Faders]? (--new adds it)";
        QTest::newRow("typo: key") << QStringList{"set", "faders", "PresLevl", "95"} << QByteArray()
                                   << "did you mean [Faders] PresLevel?";
        QTest::newRow("typo: apply") << QStringList{"--dry-run", "apply"} << QByteArray("set Faders PresLevel 95\nset Fles LogPath x\n")
                                     << "line 2: the section [Fles] is known neither";
        QTest::newRow("--exit-code on get") << QStringList{"get", "Faders", "PresLevel", "--exit-code"} << QByteArray()
                                            << "--exit-code applies to diff";
        QTest::newRow("--json on set") << QStringList{"--json", "set", "Faders", "PresLevel", "1"} << QByteArray()
                                       << "--json applies to";
        QTest::newRow("value not UTF-8") << QStringList{"set", "Faders", "Mix", "@ff"} << QByteArray()
                                         << "the value of [Faders] Mix is not valid UTF-8";
    }
    void refusedWritesNothing() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString file = dir.path() + "/server.ini";
        const QByteArray before = Encoded(kFile, "Windows-1252", "\r\n");
        WriteFile(file, before);
        const QStringList call = arguments.constFirst() == "--forse" ? arguments : QStringList{file} + arguments;
        // Bytes that are no UTF-8 reach the tool only through a shell.
        if (arguments.constLast() == "@ff" && kOnWindows)
            QSKIP("Windows hands arguments over as UTF-16: bytes that are no UTF-8 cannot reach the tool");
        const Result result = arguments.constLast() != "@ff"
                                  ? RunTool(call, input)
                                  : RunTool({"-c", "exec \"$0\" \"$@\" \"$(printf 'a\\377b')\"", kTool, file, "set", "Faders", "Mix"},
                                            {}, "/bin/sh");
        QCOMPARE(result.exitCode, 2);
        QVERIFY2(result.err.contains(message), qPrintable(result.err));
        QCOMPARE(ReadFile(file), before);
    }

    void fileErrorsNameTheFile() {
        QTemporaryDir dir;
        const QString missing = dir.path() + "/missing.ini";
        Result result = RunTool({missing, "get", "Files", "LogPath"});
        QCOMPARE(result.exitCode, 3);
        QVERIFY2(result.err.contains(missing) && result.err.contains("no such file"), qPrintable(result.err));
        result = RunTool({missing, "del", "Files", "LogPath"});
        QCOMPARE(result.exitCode, 3);
        const QString noFolder = dir.path() + "/none/server.ini";
        result = RunTool({noFolder, "set", "Files", "LogPath", "x"});
        QCOMPARE(result.exitCode, 3);
        QVERIFY2(result.err.contains(noFolder) && result.err.contains("cannot save: the folder does not exist"),
                 qPrintable(result.err));
        result = RunTool({dir.path(), "list"});
        QCOMPARE(result.exitCode, 3);
        QVERIFY2(result.err.contains("not a regular file"), qPrintable(result.err));
        // A UTF-16 file with a byte too many cannot be read truthfully: no value is printed as if it were.
        const QString damaged = dir.path() + "/damaged.ini";
        const QByteArray damagedBytes = Utf16LeWithBom("[a]\r\nk=1\r\n") + "A";
        WriteFile(damaged, damagedBytes);
        for (const QStringList& args : {QStringList{damaged, "get", "a", "k"}, QStringList{damaged, "list"},
                                        QStringList{damaged, "set", "a", "k", "2"}}) {
            result = RunTool(args);
            QCOMPARE(result.exitCode, 3);
            QVERIFY2(result.err.contains(damaged) && result.out.isEmpty(), qPrintable(result.err));
        }
        QCOMPARE(ReadFile(damaged), damagedBytes);
        // Output that cannot be written is a failure, not a success (Windows has no full device).
        if (!kOnWindows) {
            result = RunTool({"-c", "exec \"$0\" \"$@\" > /dev/full", kTool, damaged + "x", "set", "a", "k", "1", "--new"}, {}, "/bin/sh");
            QCOMPARE(result.exitCode, 0);
            result = RunTool({"-c", "exec \"$0\" \"$@\" > /dev/full", kTool, damaged + "x", "get", "a", "k"}, {}, "/bin/sh");
            QCOMPARE(result.exitCode, 3);
            QVERIFY2(result.err.contains("standard output"), qPrintable(result.err));
        }
        // The history of no regular file is no history.
        for (const QString& path : {missing, dir.path(), QString("/dev/zero")})
            for (const QStringList& command : {QStringList{"history"}, QStringList{"restore", "1"}}) {
                result = RunTool(QStringList{path} + command);
                QCOMPARE(result.exitCode, 3);
                QVERIFY2(result.err.contains(path + ": cannot read: ") && !result.err.contains("version"),
                         qPrintable(result.err));
            }
        // A missing file is created by set, as the window's save creates it (a file of no known kind: all is new).
        result = RunTool({missing, "set", "Files", "LogPath", "x", "--new"});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(ReadFile(missing), QByteArray("[Files]\nLogPath=x\n"));
    }

    void helpAndVersion() {
        Result result = RunTool({"--version"});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.startsWith("quorvant-ini "));
        result = RunTool({"--help"});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.contains("apply"));
        result = RunTool({});
        QCOMPARE(result.exitCode, 2);
    }

    // Two scripts at once: each save re-reads the file under the folder lock, so both land.
    void concurrentSetsBothLand() {
        QTemporaryDir dir;
        const QString file = dir.path() + "/server.ini";
        WriteFile(file, Encoded(kFile, "UTF-8", "\r\n"));
        for (int round = 0; round < 20; ++round) {
            QProcess first;
            QProcess second;
            const QString a = QString::number(round);
            first.start(kTool, {file, "--new", "set", "Faders", "First", a});
            second.start(kTool, {file, "--new", "set", "Files", "Second", a});
            QVERIFY(first.waitForFinished(30000) && second.waitForFinished(30000));
            QCOMPARE(first.exitCode(), 0);
            QCOMPARE(second.exitCode(), 0);
            QCOMPARE(IniValueInFile(file, "Faders", "First"), a);
            QCOMPARE(IniValueInFile(file, "Files", "Second"), a);
        }
        QCOMPARE(IniValueInFile(file, "Faders", "PresLevel"), QString("80"));
    }
};

QTEST_MAIN(IniToolTest)
#include "tst_ini_tool.moc"

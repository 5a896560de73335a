// The settings accessor on real files: what it keeps, what it writes, and that a failing save
// leaves the file as it was.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <atomic>

#include "settings/AtomicFile.h"
#include "settings/History.h"
#include "support/SystemFiles.h"
#include "support/TestFolder.h"
#include "settings/IniAccessor.h"
#include "settings/PathChecks.h"
#include "text/Messages.h"

using namespace quorvant;
using namespace quorvant::test;

namespace {

void Write(const QString& file, const QString& section, const QString& key, const QString& value) {
    IniAccessor ini;
    ini.SetFile(file);
    ini.SetSection(section);
    ini.SetKey(key);
    ini.WriteValue(value);
}

QString HelperPath() { return QStringLiteral(QUORVANT_BUILD_DIR "/tests/helper_ini_writer" QUORVANT_EXE_SUFFIX); }

// Runs the second-writer program; returns its exit code and puts its stdout in `output`.
int RunHelper(const QStringList& args, QString* output = nullptr, const QString& program = HelperPath()) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000)) return -1;
    if (output) *output = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

const QByteArray kForeign =
    "; server settings, edited by hand\r\n"
    "Orphan=before any section\r\n"
    "\r\n"
    "[Files]\r\n"
    "  DatabasePath = C:\\Valdor\\db  \r\n"
    "Unknown=\"quoted\" ; not a comment\r\n"
    "this line is odd\r\n"
    "\r\n"
    "; trailing comment of Files\r\n"
    "[Vendor Extra]\n"
    "Colour=Blauw\n"
    "\t\n"
    "[files]\r\n"
    "DatabasePath=second block\r\n";

// Writes k=2 into [A] of `file` as a user without privileges and returns the failure's reason.
// Root ignores permission bits, so then the write runs in a child process that became "nobody";
// the helper is copied into `dir` (opened up to `dirMode`) where that user may run it.
QString WriteWithoutPrivileges(QTemporaryDir& dir, unsigned dirMode, const QString& file) {
    QString reason;
    if (RunningAsRoot()) {
        if (!SetPermissions(dir.path(), dirMode)) return "chmod failed";
        const QString helper = dir.filePath("helper");
        if (!QFile::copy(HelperPath(), helper)) return "helper not copied";
        if (RunHelper({"--uid", "65534", file, "A", "k=2"}, &reason, helper) != 2) reason += " (exit code)";
        QFile::remove(helper);
    } else {
        try {
            Write(file, "A", "k", "2");
        } catch (const IniError& error) {
            reason = msg::FailureReason(error);
        }
    }
    return reason;
}

}  // namespace

class TestIniAccessor : public QObject {
    Q_OBJECT

private slots:
    void init() { SetLockWaitMs(5000); }

    void readValues_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const QByteArray f = kForeign;
        QTest::newRow("blanks around key, value as stored") << f << "FILES"
                                                            << "databasepath"
                                                            << " C:\\Valdor\\db  ";
        QTest::newRow("quotes and semicolons kept") << f << "Files"
                                                    << "Unknown"
                                                    << "\"quoted\" ; not a comment";
        QTest::newRow("duplicate section: first block") << f << "files"
                                                        << "DatabasePath"
                                                        << " C:\\Valdor\\db  ";
        QTest::newRow("key before any section is in none") << f << ""
                                                           << "Orphan"
                                                           << "";
        QTest::newRow("section with blanks and lf endings") << f << "vendor extra"
                                                            << "colour"
                                                            << "Blauw";
        QTest::newRow("missing key") << f << "Files"
                                     << "Nope"
                                     << "";
        QTest::newRow("missing section") << f << "Nope"
                                         << "DatabasePath"
                                         << "";
        QTest::newRow("blanks around section line and name") << QByteArray("  [  Faders ]  \nLevel=3\n") << "faders"
                                                             << "level"
                                                             << "3";
        QTest::newRow("first of duplicate keys") << QByteArray("[A]\nk=1\nK=2\n") << "a"
                                                 << "k"
                                                 << "1";
        QTest::newRow("everything after the first equals") << QByteArray("[A]\nk==a=b\n") << "A"
                                                           << "k"
                                                           << "=a=b";
        QTest::newRow("comment line is no key") << QByteArray("[A]\n;k=1\n  ; k=2\n") << "A"
                                                << "k"
                                                << "";
        QTest::newRow("no line ending at end") << QByteArray("[A]\r\nk=last") << "A"
                                               << "k"
                                               << "last";
        QTest::newRow("lone CR is content") << QByteArray("[A]\nk=a\rb\n") << "A"
                                            << "k"
                                            << "a\rb";
        QTest::newRow("bracket line with text after is no section") << QByteArray("[A]\nk=1\n[B] x\nk=2\n") << "A"
                                                                    << "k"
                                                                    << "1";
    }
    void readValues() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString file = dir.filePath("server.ini");
        WriteFile(file, bytes);
        QCOMPARE(ReadKey(file, section, key), expected);
    }

    // A key with nothing after "=" and a missing key are the same to the program.
    void emptyValueReadsLikeMissingKey() {
        QTemporaryDir dir;
        const QString file = dir.filePath("server.ini");
        WriteFile(file, "[program]\nAutoLogin=\n");
        QCOMPARE(ReadKey(file, "program", "AutoLogin"), ReadKey(file, "program", "Missing"));
        QVERIFY(ReadKey(file, "program", "AutoLogin").isEmpty());
        QVERIFY(ReadKey(dir.filePath("absent.ini"), "program", "AutoLogin").isEmpty());
        QVERIFY(ReadKey(dir.path(), "program", "AutoLogin").isEmpty());  // a folder, not a file
    }

    // Something other than a file under the name: reads are empty, writes refused, nothing hangs.
    void notAFile() {
        QTemporaryDir dir;
        const QString fifo = dir.filePath("server.ini");
        if (!MakeFifo(fifo)) QSKIP("this system has no FIFOs");
        QVERIFY(ReadKey(fifo, "A", "k").isEmpty());
        QVERIFY_THROWS_EXCEPTION(IniError, Write(fifo, "A", "k", "1"));
        QVERIFY_THROWS_EXCEPTION(IniError, Write(dir.path(), "A", "k", "1"));
        QCOMPARE(FolderEntries(dir.path()), QStringList{"server.ini"});
    }

    void writeValues_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("read AutoLogin, write Autologin: one entry, file spelling kept")
            << QByteArray("[program]\r\nAutoLogin=1\r\nX=2\r\n") << "program"
            << "Autologin"
            << "0" << QByteArray("[program]\r\nAutoLogin=0\r\nX=2\r\n");
        QTest::newRow("new key with the written spelling after the last key")
            << QByteArray("[A]\nx=1\n\n; about B\n[B]\ny=2\n") << "a"
            << "NewKey"
            << "v" << QByteArray("[A]\nx=1\nNewKey=v\n\n; about B\n[B]\ny=2\n");
        QTest::newRow("new key into a section without keys") << QByteArray("[A]\n[B]\ny=2\n") << "A"
                                                             << "k"
                                                             << "1" << QByteArray("[A]\nk=1\n[B]\ny=2\n");
        QTest::newRow("new section at the end") << QByteArray("[A]\r\nx=1\r\n") << "Colors"
                                                << "Back"
                                                << "255" << QByteArray("[A]\r\nx=1\r\n[Colors]\r\nBack=255\r\n");
        QTest::newRow("no line ending at the end stays so") << QByteArray("[A]\nx=1") << "A"
                                                            << "y"
                                                            << "2" << QByteArray("[A]\nx=1\ny=2");
        QTest::newRow("mixed endings kept per line") << QByteArray("[A]\r\nx=1\ny=2\r\n") << "A"
                                                     << "x"
                                                     << "5" << QByteArray("[A]\r\nx=5\ny=2\r\n");
        QTest::newRow("only the value part is replaced") << QByteArray("[A]\n  Key = old value \n") << "a"
                                                         << "KEY"
                                                         << " new" << QByteArray("[A]\n  Key = new\n");
        QTest::newRow("empty text is stored") << QByteArray("[A]\nk=1\n") << "A"
                                              << "k"
                                              << "" << QByteArray("[A]\nk=\n");
        QTest::newRow("duplicates: the first is written") << QByteArray("[A]\nk=1\nk=2\n[a]\nk=3\n") << "A"
                                                          << "k"
                                                          << "9" << QByteArray("[A]\nk=9\nk=2\n[a]\nk=3\n");
        QTest::newRow("foreign content kept byte for byte")
            << kForeign << "Files"
            << "DatabasePath"
            << "D:\\db" << QByteArray(kForeign).replace("DatabasePath = C:\\Valdor\\db  ", "DatabasePath =D:\\db");
        QTest::newRow("unchanged value leaves the file as it is") << kForeign << "vendor extra"
                                                                  << "colour"
                                                                  << "Blauw" << kForeign;
    }
    void writeValues() {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        QTemporaryDir dir;
        const QString file = dir.filePath("server.ini");
        WriteFile(file, before);
        ReadKey(file, section, key);  // the parse is cached; the write must still be right
        Write(file, section, key, value);
        QCOMPARE(ReadFile(file), after);
        QCOMPARE(ReadKey(file, section, key), value);
        QCOMPARE(EntriesBesideHistory(dir.path()), QStringList{"server.ini"});
    }

    void missingFileIsCreatedByFirstWrite() {
        QTemporaryDir dir;
        const QString file = dir.filePath("news.ini");
        IniAccessor ini;
        ini.SetFile(file);
        ini.SetSection("Blokken");
        ini.SetKey("Aantal");
        QVERIFY(!QFileInfo::exists(file));  // selecting and reading touch nothing on disk
        QVERIFY(ini.ReadValue().isEmpty());
        ini.WriteValue(qint16(-3));
        ini.SetKey("Max");
        ini.WriteValue(qint32(2147483647));
        QCOMPARE(ReadFile(file), QByteArray("[Blokken]\nAantal=-3\nMax=2147483647\n"));
        QCOMPARE(PermissionsOf(file) & 0777, 0666 & ~CurrentUmask());
    }

    void encodings_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("stored");    // value of [S] name as read
        QTest::addColumn<QByteArray>("after");  // after writing "Zoë €" to [S] name and "1" to [S] new
        QTest::newRow("UTF-8") << QByteArray("[S]\nname=Caf\xC3\xA9\n") << QString::fromUtf8("Café")
                               << QByteArray("[S]\nname=Zo\xC3\xAB \xE2\x82\xAC\nnew=1\n");
        QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF[S]\r\nname=Caf\xC3\xA9\r\n")
                                        << QString::fromUtf8("Café")
                                        << QByteArray("\xEF\xBB\xBF[S]\r\nname=Zo\xC3\xAB \xE2\x82\xAC\r\nnew=1\r\n");
        QTest::newRow("Windows-1252") << QByteArray("[S]\nname=Caf\xE9 \x80\n; \x81\x8D\x8F\x90\x9D kept\n")
                                      << QString::fromUtf8("Café €")
                                      << QByteArray("[S]\nname=Zo\xEB \x80\nnew=1\n; \x81\x8D\x8F\x90\x9D kept\n");
        QTest::newRow("UTF-16LE with BOM")
            << Utf16LeWithBom(QString::fromUtf8("[S]\r\nname=Café\r\n")) << QString::fromUtf8("Café")
            << Utf16LeWithBom(QString::fromUtf8("[S]\r\nname=Zoë €\r\nnew=1\r\n"));
    }
    void encodings() {
        QFETCH(QByteArray, before);
        QFETCH(QString, stored);
        QFETCH(QByteArray, after);
        QTemporaryDir dir;
        const QString file = dir.filePath("server.ini");
        WriteFile(file, before);
        QCOMPARE(ReadKey(file, "S", "name"), stored);
        IniAccessor ini;
        ini.SetFile(file);
        ini.SetSection("S");
        IniSave save(ini);
        ini.SetKey("name");
        ini.WriteValue(QString::fromUtf8("Zoë €"));
        ini.SetKey("new");
        ini.WriteValue(qint16(1));
        save.Commit();
        QCOMPARE(ReadFile(file), after);
        QCOMPARE(ReadKey(file, "S", "name"), QString::fromUtf8("Zoë €"));
    }

    // Whatever cannot be stored faithfully is refused, and the file is left alone.
    void refusedWrites_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("reasonPart");
        QTest::newRow("Greek letter in a 1252 file")
            << QByteArray("[S]\nname=Caf\xE9\n") << "name" << QString::fromUtf8("Ωmega") << "Windows-1252";
        QTest::newRow("new key name not in 1252") << QByteArray("[S]\nname=Caf\xE9\n") << QString::fromUtf8("名") << "1"
                                                  << "Windows-1252";
        QTest::newRow("line break in a value") << QByteArray("[S]\nname=x\n") << "name"
                                               << "a\n[Other]\nb=1"
                                               << "regeleinde";
        QTest::newRow("equals sign in a key name") << QByteArray("[S]\nname=x\n") << "a=b"
                                                   << "1"
                                                   << "sleutelnaam";
        QTest::newRow("unpaired surrogate")
            << QByteArray("[S]\nname=x\n") << "name" << QString(QChar(0xD800)) << "codering";
    }
    void refusedWrites() {
        QFETCH(QByteArray, before);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, reasonPart);
        QTemporaryDir dir;
        const QString file = dir.filePath("server.ini");
        WriteFile(file, before);
        IniAccessor ini;
        ini.SetFile(file);
        ini.SetSection("S");
        ini.SetKey(key);
        try {
            ini.WriteValue(value);
            QFAIL("write accepted");
        } catch (const IniError& error) {
            QCOMPARE(error.File(), file);
            QVERIFY2(msg::FailureReason(error).contains(reasonPart), qPrintable(msg::FailureReason(error)));
        }
        // Inside a save the write is refused at once and the save stores nothing.
        {
            IniSave save(ini);
            ini.SetKey("other");
            ini.WriteValue(QStringLiteral("ok"));
            ini.SetKey(key);
            QVERIFY_THROWS_EXCEPTION(IniError, ini.WriteValue(value));
        }
        QVERIFY(!ini.InSave());
        QCOMPARE(ReadFile(file), before);
        QCOMPARE(FolderEntries(dir.path()), QStringList{"server.ini"});
    }

    void saveIsOneTransaction() {
        QTemporaryDir dir;
        const QString file = dir.filePath("server.ini");
        const QByteArray before("[Faders]\nPresLevel=10\n");
        WriteFile(file, before);
        IniAccessor ini;
        ini.SetFile(file);
        ini.SetSection("Faders");
        {
            IniSave save(ini);
            ini.SetKey("PresLevel");
            ini.WriteValue(qint32(20));
            ini.SetKey("PresSpeed");
            ini.WriteValue(qint32(5));
            QCOMPARE(ini.ReadValue(), QString("5"));  // reads see the save so far
            ini.SetKey("presLEVEL");
            QCOMPARE(ini.ReadValue(), QString("20"));
            QCOMPARE(ReadFile(file), before);                                // nothing on disk yet
            QCOMPARE(ReadKey(file, "Faders", "PresLevel"), QString("10"));   // nor for other accessors
            QVERIFY_THROWS_EXCEPTION(std::logic_error, ini.BeginSave());  // saves do not nest
            QVERIFY(ini.InSave());
            save.Commit();
        }
        QCOMPARE(ReadFile(file), QByteArray("[Faders]\nPresLevel=20\nPresSpeed=5\n"));

        // Leaving a save by an exception drops its writes.
        try {
            IniSave save(ini);
            ini.SetKey("PresLevel");
            ini.WriteValue(qint32(30));
            throw std::runtime_error("window failed");
        } catch (const std::runtime_error&) {
        }
        QVERIFY(!ini.InSave());
        QCOMPARE(ini.ReadValue(), QString("20"));
        QCOMPARE(ReadFile(file), QByteArray("[Faders]\nPresLevel=20\nPresSpeed=5\n"));
    }

    // One save may write to two files (the main window writes server.ini and news.ini).
    void saveOverTwoFiles() {
        QTemporaryDir dir;
        IniAccessor ini;
        IniSave save(ini);
        ini.SetFile(dir.filePath("server.ini"));
        ini.SetSection("ExtNews");
        ini.SetKey("Pad");
        ini.WriteValue(QStringLiteral("/news"));
        ini.SetFile(dir.filePath("news.ini"));
        ini.SetSection("Blokken");
        ini.SetKey("Pad");
        QVERIFY(ini.ReadValue().isEmpty());  // the other file's write is not this file's
        ini.WriteValue(qint16(2));
        save.Commit();
        QCOMPARE(ReadFile(dir.filePath("server.ini")), QByteArray("[ExtNews]\nPad=/news\n"));
        QCOMPARE(ReadFile(dir.filePath("news.ini")), QByteArray("[Blokken]\nPad=2\n"));
    }

    // What another writer stored between our load and our save survives the save.
    void editBetweenLoadAndSaveKept() {
        QTemporaryDir dir;
        const QString file = dir.filePath("server.ini");
        WriteFile(file, "[program]\nAutoLogin=1\n");
        IniAccessor ini;
        ini.SetFile(file);
        ini.SetSection("program");
        ini.SetKey("AutoLogin");
        QCOMPARE(ini.ReadValue(), QString("1"));
        IniSave save(ini);
        ini.SetKey("Autologin");
        ini.WriteValue(qint16(0));
        // A text editor rewrites the file in place meanwhile, and another window writes a key.
        WriteFile(file, "; edited\n[program]\nAutoLogin=1\nByEditor=yes\n");
        Write(file, "Float", "Aan", "1");
        QCOMPARE(ini.ReadValue(), QString("0"));
        save.Commit();
        QCOMPARE(ReadFile(file), QByteArray("; edited\n[program]\nAutoLogin=0\nByEditor=yes\n[Float]\nAan=1\n"));
    }

    // A read after someone else changed the file sees the change.
    void changedFileIsParsedAgain() {
        QTemporaryDir dir;
        const QString file = dir.filePath("server.ini");
        WriteFile(file, "[A]\nk=1\n");
        IniAccessor ini;
        ini.SetFile(file);
        ini.SetSection("A");
        ini.SetKey("k");
        QCOMPARE(ini.ReadValue(), QString("1"));
        WriteFile(file, "[A]\nk=22\n");
        QCOMPARE(ini.ReadValue(), QString("22"));
        QFile::remove(file);
        QCOMPARE(ini.ReadValue(), QString());
    }

    void twoProcessesSaveAtOnce() {
        QTemporaryDir dir;
        const QString file = dir.filePath("server.ini");
        WriteFile(file, "[Shared]\nKeep=me\n");
        QVERIFY2(QFileInfo::exists(HelperPath()), "helper_ini_writer is not built");
        // Every write of both is its own read-modify-replace, so they constantly race.
        QStringList argsA{file, "Shared"}, argsB{file, "Shared"};
        for (int i = 0; i < 40; ++i) {
            argsA << QStringLiteral("A%1=%1").arg(i);
            argsB << QStringLiteral("B%1=%1").arg(i);
        }
        QProcess a, b;
        a.start(HelperPath(), argsA);
        b.start(HelperPath(), argsB);
        QVERIFY(a.waitForFinished(120000));
        QVERIFY(b.waitForFinished(120000));
        QCOMPARE(a.exitCode(), 0);
        QCOMPARE(b.exitCode(), 0);
        for (int i = 0; i < 40; ++i) {
            QCOMPARE(ReadKey(file, "Shared", QStringLiteral("A%1").arg(i)), QString::number(i));
            QCOMPARE(ReadKey(file, "Shared", QStringLiteral("B%1").arg(i)), QString::number(i));
        }
        QCOMPARE(ReadKey(file, "Shared", "Keep"), QString("me"));
        QCOMPARE(EntriesBesideHistory(dir.path()), QStringList{"server.ini"});
    }

    void symlinkStaysSymlink() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("real"));
        const QString target = dir.filePath("real/server.ini");
        const QString link = dir.filePath("server.ini");
        WriteFile(target, "[A]\nk=1\n");
        if (!QFile::link("real/server.ini", link) || !QFileInfo(link).isSymLink()) QSKIP("no symbolic links here");
        Write(link, "A", "k", "2");
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(ReadFile(target), QByteArray("[A]\nk=2\n"));
        QCOMPARE(EntriesBesideHistory(dir.filePath("real")), QStringList{"server.ini"});
    }

    void permissionsKept() {
        QTemporaryDir dir;
        const QString file = dir.filePath("server.ini");
        WriteFile(file, "[A]\nk=1\n");
        // Permission bits on Linux, the attributes on Windows.
        const bool bits = SetPermissions(file, 0640);
        const bool hidden = MarkHidden(file);
        QVERIFY(bits || hidden);
        Write(file, "A", "k", "2");
        QCOMPARE(ReadFile(file), QByteArray("[A]\nk=2\n"));
        if (bits) QCOMPARE(PermissionsOf(file) & 07777, 0640u);
        if (hidden) QVERIFY(IsHidden(file));
    }

    void missingFolderFails() {
        QTemporaryDir dir;
        const QString file = dir.filePath("gone/server.ini");
        try {
            Write(file, "A", "k", "1");
            QFAIL("write accepted");
        } catch (const IniError& error) {
            QCOMPARE(msg::FailureReason(error), QString("De map bestaat niet"));
        }
        QVERIFY(FolderEntries(dir.path()).isEmpty());
        QVERIFY(!FolderExists(dir.filePath("gone")));
    }

    // Root ignores permission bits, so the write runs in a child process that became "nobody".
    void readOnlyFolderFails() {
        QTemporaryDir dir;
        const QString folder = dir.filePath("ro");
        QVERIFY(QDir(dir.path()).mkdir("ro"));
        const QString file = folder + "/server.ini";
        const QByteArray before("[A]\nk=1\n");
        WriteFile(file, before);
        if (!SetPermissions(folder, 0555)) QSKIP("folders have no permission bits here");
        QCOMPARE(WriteWithoutPrivileges(dir, 0755, file), QString("Geen schrijfrechten in de map"));
        QCOMPARE(ReadFile(file), before);
        QCOMPARE(FolderEntries(folder), QStringList{"server.ini"});
        SetPermissions(folder, 0755);
    }

    // A read-only file in a folder that may be written to is not replaced behind its owner's back.
    void readOnlyFileFails() {
        QTemporaryDir dir;
        const QString file = dir.filePath("server.ini");
        const QByteArray before("[A]\nk=1\n");
        WriteFile(file, before);
        QVERIFY(SetPermissions(file, 0444));
        QCOMPARE(WriteWithoutPrivileges(dir, 0777, file), QString("Geen schrijfrechten op het bestand"));
        QCOMPARE(ReadFile(file), before);
        QCOMPARE(FolderEntries(dir.path()), QStringList{"server.ini"});
    }

    // A full disk, made with a file-size limit on the writing process.
    void fullDiskFails() {
        if (!HasFileSizeLimits()) QSKIP("no file-size limits to make a full disk with here");
        QTemporaryDir dir;
        const QString file = dir.filePath("server.ini");
        QByteArray before("[Files]\n");
        for (int i = 0; i < 400; ++i) before += QByteArray("Key") + QByteArray::number(i) + "=some value\n";
        WriteFile(file, before);
        QString reason;
        QCOMPARE(RunHelper({"--fsize", "2048", "--save", file, "Files", "Key1=other", "New=1"}, &reason), 2);
        QVERIFY2(!reason.isEmpty(), "no reason given");
        QCOMPARE(ReadFile(file), before);
        QCOMPARE(FolderEntries(dir.path()), QStringList{"server.ini"});
    }

    void lockedFileFails() {
        QTemporaryDir dir;
        const QString file = dir.filePath("server.ini");
        const QByteArray before("[A]\nk=1\n");
        WriteFile(file, before);
        // Another copy of the program holds the file for its save.
        ForeignLock other(dir.path());
        QVERIFY(other.Held());
        SetLockWaitMs(100);
        // The waiting program gets called back while it waits, and only then.
        int calls = 0;
        const SaveContext counting{{}, [&calls] { ++calls; }};
        const auto restore = qScopeGuard([] { SetLockWaitMs(5000); });
        const auto write = [&](const QString& value, const SaveContext& context) {
            IniAccessor ini;
            ini.SetFile(file);
            ini.SetSection("A");
            ini.SetKey("k");
            IniSave save(ini);
            ini.WriteValue(value);
            save.Commit(false, context);
        };
        try {
            write("2", counting);
            QFAIL("write accepted");
        } catch (const IniError& error) {
            QCOMPARE(msg::FailureReason(error), QString("Het bestand is in gebruik door een ander programma"));
        }
        QVERIFY(calls > 0);
        QCOMPARE(ReadFile(file), before);
        // The other writer finishes while we wait: the save goes through.
        SetLockWaitMs(5000);
        calls = 0;
        write("2", {{}, [&] {
                        if (++calls == 3) other.Release();
                    }});
        QCOMPARE(calls, 3);
        QCOMPARE(ReadFile(file), QByteArray("[A]\nk=2\n"));
        calls = 0;
        write("3", counting);  // free: no waiting
        QCOMPARE(calls, 0);
    }

    // A save committed on a worker thread, as a window does to stay free: its context (the hook,
    // the history's action) goes along as a parameter, and other accessors read meanwhile.
    void commitOnAnotherThread() {
        QTemporaryDir dir;
        const QString file = dir.filePath("server.ini");
        WriteFile(file, "[A]\nk=1\n");
        ForeignLock other(dir.path());
        QVERIFY(other.Held());
        IniAccessor ini;
        ini.SetFile(file);
        ini.SetSection("A");
        ini.SetKey("k");
        QCOMPARE(ini.ReadValue(), QString("1"));
        ini.BeginSave();
        ini.WriteValue(QStringLiteral("2"));
        std::atomic<bool> waiting = false;
        std::optional<IniError> failure;
        std::unique_ptr<QThread> worker(QThread::create([&] {
            try {
                ini.CommitSave(false, {QStringLiteral("restore of version 7"), [&waiting] { waiting = true; }});
            } catch (const IniError& error) {
                failure = error;
            }
        }));
        worker->start();
        while (!waiting && !worker->isFinished()) QThread::msleep(1);
        QCOMPARE(ReadKey(file, "A", "k"), QString("1"));
        other.Release();
        QVERIFY(worker->wait(10000));
        QVERIFY2(!failure, failure ? qPrintable(msg::FailureReason(*failure)) : "");
        QCOMPARE(ReadFile(file), QByteArray("[A]\nk=2\n"));
        QCOMPARE(ini.ReadValue(), QString("2"));
        QCOMPARE(history::VersionsOf(file).versions.last().action, QString("restore of version 7"));
    }

    void pathChecks() {
        QTemporaryDir dir;
        const QString file = JoinPath(dir.path(), "data.mdb");
        WriteFile(file, "x");
        QVERIFY(FolderExists(dir.path()));
        QVERIFY(!FolderExists(file));
        QVERIFY(FileExists(file));
        QVERIFY(!FileExists(dir.path()));
        QVERIFY(!FileExists(JoinPath(dir.path(), "none")));
        QVERIFY(!FolderExists(QString()));
    }
};

QTEST_GUILESS_MAIN(TestIniAccessor)
#include "tst_ini_accessor.moc"

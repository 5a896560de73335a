// The settings history: versions put back byte for byte in every encoding, by the window and by
// quorvant-ini; retention at its limits; a damaged or unwritable history never stops a save.
#include <QJsonDocument>
#include <QLabel>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include "settings/History.h"
#include "settings/IniAccessor.h"
#include "settings/IniDocument.h"
#include "settings/KeyChanges.h"
#include "support/Fakes.h"
#include "support/SystemFiles.h"
#include "support/TestFolder.h"
#include "support/WindowFixture.h"
#include "text/Messages.h"
#include "windows/dialogs/frmHistory.h"
#include "windows/shared/StatusLine.h"

using namespace quorvant;
using namespace quorvant::test;

namespace {

const QString kTool = QStringLiteral(QUORVANT_BUILD_DIR "/quorvant-ini");

int RunTool(const QStringList& arguments, QString* err = nullptr, const QString& asUser = {}, const QByteArray& input = {}) {
    QProcess process;
    if (asUser.isEmpty())
        process.start(kTool, arguments);
    else
        process.start("setpriv",
                      QStringList{"--reuid=" + asUser, "--regid=" + asUser, "--clear-groups", kTool} + arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000)) return -1;
    if (err) *err = QString::fromUtf8(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

void Save(const QString& file, const QString& section, const QString& key, const std::optional<QString>& value) {
    IniAccessor ini;
    ini.SetFile(file);
    ini.SetSection(section);
    ini.SetKey(key);
    if (value)
        ini.WriteValue(*value);
    else
        ini.DeleteKey();
}

QList<qint64> Ids(const QString& file) {
    QList<qint64> ids;
    for (const history::Version& version : history::VersionsOf(file).versions) ids << version.id;
    return ids;
}

// Selects a version in the history window, once it has read its list (and, when given, one of its
// changes by key name).
void Choose(frmHistory& window, qint64 id, const QString& key = {}) {
    QTRY_VERIFY(!window.Reading());
    for (int i = 0; i < window.lstVersions->topLevelItemCount(); ++i)
        if (window.lstVersions->topLevelItem(i)->text(2) == QString::number(id))
            window.lstVersions->setCurrentItem(window.lstVersions->topLevelItem(i));
    if (key.isEmpty()) return;
    window.lstChanges->clearSelection();
    for (int i = 0; i < window.lstChanges->topLevelItemCount(); ++i)
        if (window.lstChanges->topLevelItem(i)->text(1) == key) window.lstChanges->topLevelItem(i)->setSelected(true);
}

}  // namespace

class HistoryTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { history::SetClock({}); }

    // Two saves, then version 2's LogPath and all of version 1 put back: exactly the old bytes.
    void restoreRoundTrip_data() {
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<bool>("byTool");
        for (const char* encoding : {"UTF-8", "Windows-1252", "UTF-16LE"}) {
            QTest::newRow(qPrintable(QString("%1, window").arg(encoding))) << encoding << false;
            QTest::newRow(qPrintable(QString("%1, quorvant-ini").arg(encoding))) << encoding << true;
        }
    }
    void restoreRoundTrip() {
        QFETCH(QString, encoding);
        QFETCH(bool, byTool);
        const auto encoded = [&](const QString& text) {
            return encoding == "UTF-8"      ? text.toUtf8()
                   : encoding == "UTF-16LE" ? Utf16LeWithBom(text)
                                            : text.toLatin1();
        };
        const QString v1 = "; café\r\n[Faders]\r\nPresLevel=80\r\nNaam=één\r\n[Files]\r\nLogPath=C:\\log\r\n";
        TempProgramFolder folder;
        const QString file = folder.File("server.ini");
        WriteFile(file, encoded(v1));
        Save(file, "Faders", "PresLevel", "95");
        Save(file, "faders", "naam", "twee");
        Save(file, "Files", "LogPath", std::nullopt);
        QCOMPARE(Ids(file), (QList<qint64>{1, 2, 3}));

        FakeServices fakes;
        fakes.errors.answer = true;  // "Terugzetten"
        ResetProgramState();
        frmHistory window({file}, fakes.Get(), nullptr);
        const auto restore = [&](qint64 id, const QString& key) {
            if (byTool) {
                QString err;
                const QStringList keyArgs = key.isEmpty() ? QStringList() : QStringList{"Files", key};
                QCOMPARE(RunTool(QStringList{file, "restore", QString::number(id)} + keyArgs, &err), 0);
                QVERIFY2(err.isEmpty(), qPrintable(err));
                return;
            }
            window.Reload();
            Choose(window, id, key);
            QVERIFY(key.isEmpty() ? window.cmdRestoreVersion_Click() : window.cmdRestoreValue_Click());
            QVERIFY(fakes.errors.reports.isEmpty());
        };
        restore(3, "LogPath");
        QCOMPARE(ReadFile(file), encoded(QString(v1).replace("=80", "=95").replace("één", "twee")));
        // The window asked first, showing the change: now absent, after the restore the old path.
        if (!byTool)
            QVERIFY2(fakes.errors.questions.value(0).message.contains("[Files] LogPath") &&
                         fakes.errors.questions.value(0).message.contains(QString::fromUtf8("(geen) \u2192 C:\\log")),
                     qPrintable(fakes.errors.questions.value(0).message));
        if (!byTool)
            QVERIFY2(window.lblStatus->text().startsWith("server.ini: waarde [Files] LogPath uit versie 3 teruggezet ("),
                     qPrintable(window.lblStatus->text()));
        restore(1, {});
        QCOMPARE(ReadFile(file), encoded(v1));

        // Each restore is a save in the history too, and gave back exactly what it replaced.
        const QList<history::Version> versions = history::VersionsOf(file).versions;
        QCOMPARE(versions.size(), 5);
        QCOMPARE(versions[3].action, history::ValueRestoreAction(3, {{"Files", "LogPath"}}));
        QCOMPARE(msg::HistoryAction(versions[3].action), QString("waarde [Files] LogPath uit versie 3 teruggezet"));
        QCOMPARE(versions.last().action, history::RestoreAction(1));
        QCOMPARE(msg::HistoryAction(versions.last().action), QString("versie 1 teruggezet"));
        QCOMPARE(history::ReadContent(versions.last()),
                 encoded(QString(v1).replace("=80", "=95").replace("één", "twee")));
        QCOMPARE(history::ReadContent(versions.first()), encoded(v1));
        QCOMPARE(EntriesBesideHistory(folder.Path()), (QStringList{"db", "quorvant.lng", "server.ini"}));
    }

    // A restore over what another program changed since the window showed the file asks first.
    void restoreAsksAboutChangesSinceShown() {
        TempProgramFolder folder;
        const QString file = folder.File("server.ini");
        WriteFile(file, "[Faders]\nPresLevel=80\n");
        Save(file, "Faders", "PresLevel", "95");
        FakeServices fakes;
        frmHistory window({file}, fakes.Get(), nullptr);
        Choose(window, 1, "PresLevel");
        const QByteArray changed = "[Faders]\nPresLevel=70\n";
        WriteFile(file, changed);  // another program, not through the history
        QVERIFY(!window.cmdRestoreValue_Click());
        QVERIFY(!window.cmdRestoreVersion_Click());
        // Both restores asked first, and were cancelled there: no save question followed.
        QCOMPARE(fakes.errors.choices.size(), 0);
        QCOMPARE(fakes.errors.questions.size(), 2);
        QVERIFY(fakes.errors.questions[1].message.contains("[Faders] PresLevel"));
        // Each restore shows what it changes from the file as it is now, and that it changed since.
        for (const auto& question : fakes.errors.questions)
            QVERIFY2(question.message.contains(QString::fromUtf8("70 \u2192 80")) &&
                         question.message.contains("gewijzigd sinds dit venster het las"),
                     qPrintable(question.message));
        QCOMPARE(ReadFile(file), changed);
        fakes.errors.answer = true;
        QVERIFY(window.cmdRestoreVersion_Click());
        QCOMPARE(ReadFile(file), QByteArray("[Faders]\nPresLevel=80\n"));
        QCOMPARE(history::ReadContent(history::VersionsOf(file).versions.last()), changed);
    }

    // What scripts read: one line per version from its number, the changes with the windows' words.
    void toolPrintsHistoryAndDiff() {
        QTemporaryDir dir;
        const QString file = dir.filePath("server.ini");
        WriteFile(file, "[Faders]\nPresLevel=80\nMine=a\n");
        QCOMPARE(RunTool({file, "set", "Faders", "PresLevel", "95"}), 0);
        QCOMPARE(RunTool({file, "del", "Faders", "Mine"}), 0);
        QProcess tool;
        QString why;  // how the last run ended, for a failure's message
        const auto output = [&](const QStringList& arguments) {
            tool.start(kTool, QStringList{file} + arguments);
            const bool finished = tool.waitForFinished(30000);
            why = QString("finished %1, exit %2, error %3, stderr: %4")
                      .arg(finished).arg(tool.exitCode()).arg(tool.error())
                      .arg(QString::fromUtf8(tool.readAllStandardError()));
            return QString::fromUtf8(tool.readAllStandardOutput());
        };
        const QStringList lines = output({"history"}).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].startsWith("1\t") && lines[0].contains("\tquorvant-ini ") &&
                     lines[0].endsWith("\tsave\t1 key(s) changed"),
                 qPrintable(lines[0]));
        QVERIFY(lines[1].startsWith("2\t"));
        QCOMPARE(output({"diff"}), QString("[Faders] Mine\n- a\n"));
        QCOMPARE(output({"diff", "1", "2"}),
                 QString("[Faders] PresLevel  (Automatisatie: Presentatie-niveau)\n- 80\n+ 95\n"));
        output({"diff", "7"});
        QCOMPARE(tool.exitCode(), 1);

        // For scripts: JSON lines that parse back whatever the values hold, and exit codes like git diff's.
        QList<QJsonObject> objects;
        for (const QString& line : output({"--json", "history"}).split('\n', Qt::SkipEmptyParts))
            objects << QJsonDocument::fromJson(line.toUtf8()).object();
        QCOMPARE(objects.size(), 2);
        QCOMPARE(objects[0]["version"].toInt(), 1);
        QCOMPARE(objects[0]["changed"].toInt(), 1);
        QVERIFY(objects[0]["account"].isNull() && objects[0]["action"] == "save");
        const QJsonObject change = QJsonDocument::fromJson(output({"diff", "1", "--json", "2"}).toUtf8()).object();
        QCOMPARE(change["before"].toString(), QString("80"));
        QCOMPARE(change["page"].toString(), QString("Automatisatie"));
        output({"diff", "--exit-code", "1", "2"});
        QCOMPARE(tool.exitCode(), 1);
        output({"diff", "--exit-code", "2", "2"});
        QCOMPARE(tool.exitCode(), 0);
        // A dry run of a restore prints the diff it would make and writes nothing, not even a version.
        const QByteArray before = ReadFile(file);
        QCOMPARE(output({"--dry-run", "restore", "1", "--exit-code"}),
                 QString("--- %1\n+++ %1\n@@ -1,2 +1,3 @@\n [Faders]\n-PresLevel=95\n+PresLevel=80\n+Mine=a\n").arg(file));
        QCOMPARE(tool.exitCode(), 1);
        QCOMPARE(output({"--dry-run", "restore", "2", "Faders", "Mine"}).count('\n'), 6);
        QCOMPARE(ReadFile(file), before);
        QCOMPARE(Ids(file).size(), 2);

        // Header fields are anyone's text: no terminal control reaches the screen raw.
        const history::Version first = history::VersionsOf(file).versions.value(0);
        QByteArray entry = ReadFile(first.entry);
        WriteFile(first.entry, entry.replace("\nUser: ", "\nUser: \x1b]0;owned\x07\r"));
        const QString listed = output({"history"});
        QVERIFY2(listed.contains("\\x1b]0;owned\\x07\\x0d") && !listed.contains(QChar(0x1b)), qPrintable(listed + why));
        FakeServices fakes;
        frmHistory window({file}, fakes.Get(), nullptr);
        Choose(window, 1);
        QVERIFY(window.lstVersions->currentItem()->text(3).startsWith("\\x1b]0;owned"));
    }

    // However many files the history folder holds that are no versions: one line each way.
    void manySkippedFilesOneLine() {
        QTemporaryDir dir;
        const QString file = dir.filePath("server.ini");
        WriteFile(file, "[a]\nk=0\n");
        Save(file, "a", "k", "1");
        for (int i = 0; i < 40; ++i) WriteFile(dir.filePath(history::FolderName() + QString("/notes-%1.txt").arg(i)), "x");
        QString err;
        QCOMPARE(RunTool({file, "history"}, &err), 0);
        QCOMPARE(err.count('\n'), 1);
        QVERIFY2(err.contains("skipped 40 file(s)") && err.contains("and 37 more"), qPrintable(err));
        FakeServices fakes;
        frmHistory window({file}, fakes.Get(), nullptr);
        window.show();
        const QSize size = window.size();
        QTRY_VERIFY(!window.Reading());
        QCOMPARE(window.lblStatus->text(), QString("40 bestanden in de geschiedenismap overgeslagen"));
        QVERIFY(window.lblStatus->toolTip().contains("notes-"));
        QCOMPARE(window.size(), size);
    }

    // Root saving someone else's file leaves a history that owner can go on with; under sudo the
    // version names who called it.
    void rootSavesAnotherUsersFile() {
        if (!RunningAsRoot()) QSKIP("needs root");
        QTemporaryDir dir;
        SetPermissions(dir.path(), 0777);
        const QString file = dir.filePath("server.ini");
        WriteFile(file, "[a]\nk=0\n");
        QVERIFY(GiveTo(file, 65534));
        QProcess sudo;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("SUDO_USER", "alice");
        sudo.setProcessEnvironment(environment);
        sudo.start(kTool, {file, "set", "a", "k", "1"});
        QVERIFY(sudo.waitForFinished(30000) && sudo.exitCode() == 0);
        const history::Version version = history::VersionsOf(file).versions.value(0);
        QCOMPARE(version.user, QString("alice"));
        QCOMPARE(version.account, QString("root"));
        for (const QString& path : {history::FolderOf(file), version.entry}) QCOMPARE(OwnerOf(path), 65534u);
        QString err;
        QCOMPARE(RunTool({file, "set", "a", "k", "2"}, &err, "65534"), 0);
        QVERIFY2(err.isEmpty(), qPrintable(err));
        QCOMPARE(Ids(file), (QList<qint64>{1, 2}));
        // A history folder of a third account is not written, not even by root.
        QVERIFY(GiveTo(history::FolderOf(file), 1234));
        QCOMPARE(RunTool({file, "set", "a", "k", "3"}, &err), 0);
        QVERIFY2(err.contains("a folder of another user than the file's owner"), qPrintable(err));
        QCOMPARE(IniValueInFile(file, "a", "k"), QString("3"));
    }

    // The keys that read otherwise between two versions, however far apart and however the lines moved.
    void changesBetweenVersions_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QStringList>("changes");
        const QByteArray file = "k0=x\n[a]\nk=1\nj=2\n[b]\nk=1\n";
        QTest::newRow("a value") << file << QByteArray(file).replace("j=2", "j=3") << QStringList{"[a] j: 2 > 3"};
        QTest::newRow("a key added and one gone")
            << file << QByteArray(file).replace("j=2\n", "").replace("[b]\nk=1", "[b]\nk=1\nn=5")
            << QStringList{"[a] j: 2 > -", "[b] n: - > 5"};
        QTest::newRow("two lines joined") << file << QByteArray(file).replace("k=1\nj=2", "k=1j=2")
                                          << QStringList{"[a] k: 1 > 1j=2", "[a] j: 2 > -"};
        QTest::newRow("an earlier entry of the same key")
            << file << QByteArray(file).replace("[b]\n", "[b]\nK=7\n") << QStringList{"[b] K: 1 > 7"};
        QTest::newRow("a section renamed") << file << QByteArray(file).replace("[a]", "[c]")
                                           << QStringList{"[c] k: - > 1", "[c] j: - > 2", "[a] k: 1 > -", "[a] j: 2 > -"};
        QTest::newRow("above the first section, and line ends") << file << QByteArray(file).replace("x\n", "y\r\n")
                                                                << QStringList{};
        QByteArray many = "[s]\n";
        for (int i = 0; i < 300; ++i) many += "k" + QByteArray::number(i) + "=" + QByteArray::number(i) + "\n";
        QTest::newRow("far apart") << many << QByteArray(many).replace("k1=1\n", "k1=x\n").replace("k299=299", "k299=y")
                                   << QStringList{"[s] k1: 1 > x", "[s] k299: 299 > y"};
    }
    void changesBetweenVersions() {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(QStringList, changes);
        QStringList found;
        for (const KeyChange& change : KeyChanges(IniDocument(before), IniDocument(after)))
            found << QString("[%1] %2: %3 > %4").arg(change.section, change.key, change.before.value_or("-"), change.after.value_or("-"));
        QCOMPARE(found, changes);
    }

    // Versions of 1.0.1 did not record their changes, and a save of many long values records only
    // how many: both are worked out from the versions themselves, where the window and history ask.
    void changesNotRecorded() {
        QTemporaryDir dir;
        const QString file = dir.filePath("server.ini");
        QByteArray many = "[a]\nk=0\n";
        for (int i = 0; i < 3000; ++i) many += "v" + QByteArray::number(i) + "=" + QByteArray(20, 'x') + "\n";
        WriteFile(file, many);
        Save(file, "a", "k", "1");
        QCOMPARE(RunTool({file, "apply"}, nullptr, {}, QByteArray(many).replace("[a]\nk=0\n", "").replace("v", "set a v").replace("=", " ").replace("xxxx", "yyyy")), 0);
        const QList<history::Version> versions = history::VersionsOf(file).versions;
        QCOMPARE(versions.size(), 2);
        QCOMPARE(versions[1].changed, 3000);
        QVERIFY(!versions[1].changes);
        // As 1.0.1 wrote version 1: no changes in its header.
        QByteArray entry = ReadFile(versions[0].entry);
        const qsizetype end = entry.indexOf("\n\n");
        QList<QByteArray> lines = entry.left(end).split('\n');
        lines.removeIf([](const QByteArray& line) { return line.startsWith("Change"); });
        WriteFile(versions[0].entry, lines.join('\n') + entry.mid(end));
        history::ChangeReader reader(file, history::VersionsOf(file).versions);
        QCOMPARE(reader.Versions()[0].changed, -1);
        QCOMPARE(reader.ChangesOf(0), (QList<KeyChange>{{"a", "k", "0", "1"}}));
        QCOMPARE(reader.ChangesOf(1)->size(), 3000);
        QProcess tool;
        tool.start(kTool, {file, "history"});
        QVERIFY(tool.waitForFinished(30000));
        const QString listed = QString::fromUtf8(tool.readAllStandardOutput());
        QVERIFY2(listed.contains("\t1 key(s) changed\n") && listed.contains("\t3000 key(s) changed\n"), qPrintable(listed));
        FakeServices fakes;
        frmHistory window({file}, fakes.Get(), nullptr);
        Choose(window, 1);
        QTRY_COMPARE(window.lstChanges->topLevelItemCount(), 1);
    }

    // Saves at the given ages (days ago), then one now: which versions stay.
    void retentionAtTheLimits_data() {
        QTest::addColumn<QList<QPoint>>("saves");  // (how many, days ago)
        QTest::addColumn<int>("payload");          // bytes of the file's one value
        QTest::addColumn<QList<qint64>>("dropped");
        QTest::addColumn<int>("others");           // small versions of news.ini saved before
        QTest::newRow("201 old versions: the newest 200 stay")
            << QList<QPoint>{{201, 100}} << 10 << QList<qint64>{1, 2} << 0;
        // However young: the count is the bound, so a save costs the same whatever the history holds.
        QTest::newRow("250 versions within 90 days: the newest 200 stay")
            << QList<QPoint>{{250, 1}} << 10 << [] { QList<qint64> ids; for (qint64 id = 1; id <= 51; ++id) ids << id; return ids; }() << 0;
        // Nine versions of 6 MB are over 50 MB: the oldest goes, though young and few.
        QTest::newRow("over 50 MB: oldest first") << QList<QPoint>{{8, 1}} << 6 * 1024 * 1024 << QList<qint64>{1} << 0;
        // The big file gives way; the older, smaller news.ini keeps every version.
        QTest::newRow("one big file leaves another's history")
            << QList<QPoint>{{8, 1}} << 6 * 1024 * 1024 << QList<qint64>{1} << 30;
        QTest::newRow("one version over 50 MB stays") << QList<QPoint>{} << 51 * 1024 * 1024 << QList<qint64>{} << 0;
    }
    void retentionAtTheLimits() {
        QFETCH(QList<QPoint>, saves);
        QFETCH(int, payload);
        QFETCH(QList<qint64>, dropped);
        QFETCH(int, others);
        QTemporaryDir dir;
        const QString file = dir.filePath("server.ini");
        const QString news = dir.filePath("news.ini");
        WriteFile(file, "[a]\nk=" + QByteArray(payload, 'x') + "\n");
        QList<history::Notice> notices;
        const history::NoticeSink previous =
            history::SetNoticeSink([&](const history::Notice& notice) { notices << notice; });
        const QDateTime now = QDateTime::currentDateTimeUtc();
        history::SetClock([&] { return now.addDays(-2); });
        for (int i = 0; i < others; ++i) Save(news, "a", "n", QString::number(i));
        qint64 saved = 0;
        for (const QPoint& group : saves)
            for (int i = 0; i < group.x(); ++i) {
                history::SetClock([&] { return now.addDays(-group.y()); });
                Save(file, "a", "n", QString::number(++saved));
            }
        history::SetClock({});
        Save(file, "a", "n", "now");
        history::SetNoticeSink(previous);

        QList<qint64> expected;
        for (qint64 id = 1; id <= saved + 1; ++id)
            if (!dropped.contains(id)) expected << id;
        QCOMPARE(Ids(file), expected);
        QCOMPARE(Ids(news).size(), std::max(others - 1, 0));
        QList<qint64> told;
        QStringList single;
        for (const history::Notice& notice : notices) {
            for (const history::Version& version : notice.dropped) {
                told << version.id;
                QCOMPARE(version.name, QString("server.ini"));
            }
            single += notice.single;
        }
        QCOMPARE(told, dropped);
        // A file larger than the folder may grow says that its history holds one version.
        QCOMPARE(single.contains("server.ini"), payload > 50 * 1024 * 1024);
    }

    // Skipped with a reason, never in the way of a save or of the versions that are sound.
    void damagedOrUnwritableHistory_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<int>("problem");   // history::Problem::Kind, -1: none
        QTest::addColumn<int>("versions");  // listed after the second save
        using Kind = history::Problem::Kind;
        QTest::newRow("foreign file") << "foreign" << int(Kind::Foreign) << 2;
        QTest::newRow("folder named as a version") << "folder" << int(Kind::Foreign) << 2;
        QTest::newRow("version cut short") << "truncate" << int(Kind::Damaged) << 1;
        QTest::newRow("version's content changed") << "flip" << int(Kind::Damaged) << 2;
        QTest::newRow("version without header") << "header" << int(Kind::Damaged) << 1;
        QTest::newRow("history folder is a file") << "file" << int(Kind::NotAFolder) << 0;
        // 18 digits: once the next number had 19, which no name could hold.
        QTest::newRow("number past the last") << "18 digits" << int(Kind::Foreign) << 2;
        QTest::newRow("size that overflows") << "size" << int(Kind::Damaged) << 1;
        QTest::newRow("last number used") << "last number" << int(Kind::Damaged) << 1;
        QTest::newRow("history folder is a symlink") << "symlink" << int(Kind::Link) << 0;
        QTest::newRow("history folder without write permission") << "read-only" << -1 << 1;
    }
    void damagedOrUnwritableHistory() {
        QFETCH(QString, damage);
        QFETCH(int, problem);
        QFETCH(int, versions);
        QTemporaryDir dir;
        const QString file = dir.filePath("server.ini");
        const QString folder = dir.filePath(history::FolderName());
        WriteFile(file, "[a]\nk=0\n");
        Save(file, "a", "k", "1");
        const QString first = history::VersionsOf(file).versions.value(0).entry;
        QByteArray entry = ReadFile(first);
        if (damage == "foreign") WriteFile(folder + "/notes.txt", "kept by hand");
        if (damage == "folder") QDir().mkpath(folder + "/server.ini.v000009.20240101T000000Z");
        if (damage == "truncate") WriteFile(first, entry.chopped(2));
        if (damage == "flip") WriteFile(first, entry.replace("k=0", "k=7"));
        if (damage == "header") WriteFile(first, entry.mid(entry.indexOf("\n\n") + 2));
        if (damage == "18 digits") WriteFile(folder + "/server.ini.v999999999999999999.20250101T000000Z", entry);
        if (damage == "size") WriteFile(first, QByteArray(entry).replace("Size: 8", "Size: 9223372036854775807"));
        if (damage == "last number") WriteFile(folder + "/server.ini.v999999999.20250101T000000Z", entry);
        QTemporaryDir outside;
        if (damage == "symlink") {
            QDir(folder).removeRecursively();
            if (!QFile::link(outside.path(), folder) || !QFileInfo(folder).isSymLink()) QSKIP("no symbolic links here");
        }
        if (damage == "file") {
            QDir(folder).removeRecursively();
            WriteFile(folder, "not a folder");
        }
        if (damage == "read-only") {
            SetPermissions(dir.path(), 0777);
            SetPermissions(file, 0666);
            if (!SetPermissions(folder, 0555)) QSKIP("folders have no permission bits here");
        }
        QList<history::Notice> notices;
        const history::NoticeSink previous =
            history::SetNoticeSink([&](const history::Notice& notice) { notices << notice; });
        // Root may write anywhere: the save without permission is made as "nobody" (quorvant-ini).
        const bool asNobody = damage == "read-only" && RunningAsRoot();
        if (asNobody) {
            QString err;
            QCOMPARE(RunTool({file, "set", "a", "k", "2"}, &err, "65534"), 0);
            QVERIFY2(err.contains("server.ini was saved, but its history could not be written") &&
                         err.contains("no permission to write in the folder"),
                     qPrintable(err));
        } else {
            Save(file, "a", "k", "2");
        }
        history::SetNoticeSink(previous);
        QCOMPARE(IniValueInFile(file, "a", "k"), QString("2"));

        const history::Listing listing = history::VersionsOf(file);
        std::optional<QByteArray> last;
        QList<int> kinds;
        for (const history::Problem& p : listing.problems) kinds << int(p.kind);
        for (const history::Version& version : listing.versions) {
            history::Problem p;
            last = history::ReadContent(version, &p);
            if (!last) kinds << int(p.kind);
        }
        QCOMPARE(kinds, problem < 0 ? QList<int>{} : QList<int>{problem});
        QCOMPARE(listing.versions.size(), versions);
        const bool notRecorded = damage == "file" || damage == "read-only" || damage == "last number" ||
                                 damage == "symlink";
        // The last sound version is the one the second save replaced, whatever became of the first.
        if (versions > 0) QCOMPARE(last, QByteArray(notRecorded ? "[a]\nk=0\n" : "[a]\nk=1\n"));
        // Nothing is read from or written outside the program folder.
        QCOMPARE(FolderEntries(outside.path()), QStringList());
        // Two saves in one second are two versions.
        if (damage == "18 digits") {
            Save(file, "a", "k", "3");
            QCOMPARE(Ids(file), (QList<qint64>{1, 2, 3}));
        }
        QCOMPARE(notices.size(), notRecorded && !asNobody ? 1 : 0);
        if (!notices.isEmpty()) QCOMPARE(notices[0].kind, history::Notice::Kind::NotRecorded);
    }

    // A save's notice and another window's restore reach the status line of the main window.
    void statusLinesHearTheHistory() {
        WindowFixture fixture("[Faders]\r\nPresLevel=80\r\n");
        const QString file = fixture.folder.File("server.ini");
        WriteFile(fixture.folder.File(history::FolderName()), "not a folder");
        QVERIFY(fixture.window->cmdSave_Click());
        QTRY_VERIFY(fixture.window->statusLine->Text().contains("geschiedenis kon niet worden bijgewerkt"));

        QFile::remove(fixture.folder.File(history::FolderName()));
        Save(file, "Faders", "PresLevel", "81");
        Save(file, "Faders", "PresLevel", "82");
        frmHistory window({file}, fixture.fakes.Get(), nullptr);
        Choose(window, 2);
        fixture.fakes.errors.answer = true;
        QVERIFY(window.cmdRestoreVersion_Click());
        QCOMPARE(IniValueInFile(file, "Faders", "PresLevel"), QString("81"));
        // (80 or 82 before: the file system may tell of the two saves first.)
        QVERIFY2(fixture.window->statusLine->Text().contains(QRegularExpression(
                     "server.ini opnieuw ingelezen: PresLevel 8[02] → 81 \\(quorvant, versie 2 teruggezet, ")),
                 qPrintable(fixture.window->statusLine->Text()));
        // The main window read the restored file: its save keeps it, without a question.
        const qsizetype asked = fixture.fakes.errors.questions.size();
        QVERIFY(fixture.window->cmdSave_Click());
        QCOMPARE(fixture.fakes.errors.choices.size(), 0);
        QCOMPARE(fixture.fakes.errors.questions.size(), asked);
        QCOMPARE(IniValueInFile(file, "Faders", "PresLevel"), QString("81"));
        QVERIFY(!fixture.window->statusLine->Text().contains("ingelezen"));
    }
};

QTEST_MAIN(HistoryTest)
#include "tst_history.moc"

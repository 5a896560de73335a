// The cost of the settings history on a save: the sample server.ini (about 2 KB), one key changed
// per save through the accessor as the window saves, in three folders whose saves take turns:
//   without  - the history cannot be written there (".quorvant-history" is a file), so the save
//              does only the two failing calls that find out; the nearest thing to no history
//   fresh    - the history is written, into a folder that starts empty (and ends with SAVES versions)
//   full     - the history is written, into a folder that starts with 200 versions
// Prints the median wall and CPU time of a save in each, and the ratios to "without".
// Then what reading the history costs against reading the file: a 1 MB server.ini with 52
// versions (what 50 MB holds), `quorvant-ini FILE get`, `history` and `diff FIRST LAST` (median of 11 runs each), the same
// with the versions' headers as 1.0.1 wrote them (no recorded changes), and the history window:
// until it is shown, and until its list is read.
//   history_bench [SAVES] [FOLDER]   (default 300 saves each, in a temporary folder under /tmp;
//                                     give a folder on the disk that matters: fsync dominates)
#include <time.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "settings/History.h"
#include "settings/IniAccessor.h"
#include "windows/dialogs/frmHistory.h"

using namespace quorvant;

namespace {

double CpuMs() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Case {
    const char* name;
    QString file;
    std::vector<double> wall;
    std::vector<double> cpu;
    int round = 0;
};

void SaveOnce(Case& c) {
    IniAccessor ini;
    ini.SetFile(c.file);
    ini.SetSection("Faders");
    ini.SetKey("PresLevel");
    const auto start = std::chrono::steady_clock::now();
    const double cpu = CpuMs();
    IniSave save(ini);
    ini.WriteValue(QString::number(50 + c.round++ % 40));
    save.Commit();
    c.cpu.push_back(CpuMs() - cpu);
    c.wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
}

double ToolMs(const QStringList& arguments) {
    std::vector<double> runs;
    for (int i = 0; i < 11; ++i) {
        QProcess tool;
        tool.setStandardOutputFile(QProcess::nullDevice());
        tool.setStandardErrorFile(QProcess::nullDevice());
        QElapsedTimer clock;
        clock.start();
        tool.start(HISTORY_BENCH_TOOL, arguments);
        tool.waitForFinished(-1);
        runs.push_back(clock.nsecsElapsed() / 1e6);
    }
    return Median(runs);
}

// A 1 MB server.ini of the sample's keys and many sections more, saved `versions` times.
QString MakeLargeHistory(const QString& folder, const QByteArray& sample, int versions) {
    QDir().mkpath(folder);
    QByteArray bytes = sample;
    for (int s = 0; bytes.size() < 1024 * 1024; ++s) {
        bytes += "\n[Schedule" + QByteArray::number(s) + "]\n";
        for (int k = 0; k < 16; ++k) bytes += "Slot" + QByteArray::number(k) + "=" + QByteArray::number(s * 37 + k) + ",Pop,1\n";
    }
    const QString file = folder + "/server.ini";
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) return {};
    out.close();
    for (int i = 0; i < versions; ++i) {
        IniAccessor ini;
        ini.SetFile(file);
        ini.SetSection("Schedule" + QString::number(i * 7));
        ini.SetKey("Slot3");
        ini.WriteValue(QString::number(i));
    }
    return file;
}

// The versions' headers as 1.0.1 wrote them: without the changes a save records now.
void AsOldVersions(const QString& file) {
    for (const history::Version& version : history::VersionsOf(file).versions) {
        QFile entry(version.entry);
        if (!entry.open(QIODevice::ReadWrite)) continue;
        QByteArray bytes = entry.readAll();
        const qsizetype end = bytes.indexOf("\n\n");
        QList<QByteArray> lines = bytes.left(end).split('\n');
        lines.removeIf([](const QByteArray& line) { return line.startsWith("Change"); });
        bytes = lines.join('\n') + bytes.mid(end);
        entry.resize(0);
        entry.seek(0);
        entry.write(bytes);
    }
}

void ReadingTheHistory(const QString& folder, const QByteArray& sample) {
    const QString file = MakeLargeHistory(folder, sample, 52);
    // 52 saves of 1 MB keep what fits in the folder's 50 MB.
    const QList<history::Version> versions = history::VersionsOf(file).versions;
    const QString first = QString::number(versions.constFirst().id);
    const QString last = QString::number(versions.constLast().id);
    std::printf("\nReading a %lld-byte server.ini with %lld versions (median of 11 runs, ms; × get):\n",
                QFileInfo(file).size(), qint64(versions.size()));
    std::printf("%-14s %10s %10s %10s %10s %10s\n", "headers", "get", "history", "×", "diff", "×");
    for (const bool old : {false, true}) {
        if (old) AsOldVersions(file);
        const double get = ToolMs({file, "get", "Faders", "PresLevel"});
        const double list = ToolMs({file, "history"});
        const double diff = ToolMs({file, "diff", first, last});
        std::printf("%-14s %10.1f %10.1f %10.2f %10.1f %10.2f\n", old ? "as 1.0.1 wrote" : "as written now", get, list,
                    list / get, diff, diff / get);
    }
    QDir(folder).removeRecursively();
    const QString fresh = MakeLargeHistory(folder, sample, 52);
    QElapsedTimer clock;
    clock.start();
    frmHistory window({fresh}, Services{}, nullptr);
    window.show();
    QCoreApplication::processEvents();
    const double shown = clock.nsecsElapsed() / 1e6;
    while (window.Reading()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    std::printf("history window: shown after %.1f ms, its list read after %.1f ms\n", shown, clock.nsecsElapsed() / 1e6);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int saves = argc > 1 ? std::max(11, atoi(argv[1])) : 300;
    QTemporaryDir temp(argc > 2 ? QString::fromLocal8Bit(argv[2]) + "/history_bench-XXXXXX" : QString());
    if (!temp.isValid()) return 1;
    QFile sample(HISTORY_BENCH_SAMPLE);
    if (!sample.open(QIODevice::ReadOnly)) return 1;
    const QByteArray bytes = sample.readAll().replace("@DATABASE@", "/srv/automation/db");

    Case cases[3] = {{"without", {}, {}, {}}, {"fresh", {}, {}, {}}, {"full", {}, {}, {}}};
    for (Case& c : cases) {
        const QString folder = temp.filePath(c.name);
        QDir().mkpath(folder);
        c.file = folder + "/server.ini";
        QFile out(c.file);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) return 1;
    }
    QFile blocker(temp.filePath("without/") + history::FolderName());
    if (!blocker.open(QIODevice::WriteOnly)) return 1;
    // The full folder reaches 200 versions before the measured saves begin.
    for (int i = 0; i < 200; ++i) SaveOnce(cases[2]);
    for (Case& c : cases) c.wall.clear(), c.cpu.clear();

    // Taking turns, so a slower moment of the disk falls on all three alike.
    for (int i = 0; i < saves; ++i)
        for (Case& c : cases) SaveOnce(c);

    std::printf("%d saves each of one key of a %lld-byte server.ini in %s\n", saves, qint64(bytes.size()),
                qPrintable(temp.path()));
    std::printf("%-8s %12s %12s %10s %10s\n", "history", "wall ms", "CPU ms", "wall ×", "CPU ×");
    const double wall0 = Median(cases[0].wall);
    const double cpu0 = Median(cases[0].cpu);
    for (Case& c : cases)
        std::printf("%-8s %12.3f %12.3f %10.2f %10.2f\n", c.name, Median(c.wall), Median(c.cpu), Median(c.wall) / wall0,
                    Median(c.cpu) / cpu0);
    ReadingTheHistory(temp.filePath("large"), bytes);
    return 0;
}

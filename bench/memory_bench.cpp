// memory_bench [--base BUILD_DIR] [--runs N]: memory and time of the settings engine on big
// generated server.ini files (1, 10 and 60 MB: the sample's keys, then many more sections).
//   - the main window, built offscreen in a child process: peak memory when it has started, after
//     one save and after ten saves (each save changes PresLevel), and the memory in use then;
//   - `quorvant-ini FILE get Faders PresLevel` against ini_parse_only, which only reads and parses
//     the file: wall time (median of N runs) and peak memory.
// `memory_bench --make FOLDER MB` only writes such a folder, for a look with a heap profiler at
// `memory_bench --window FOLDER`.
// With --base, the same children of another build (whose bench folder is this one, built with
// -DQUORVANT_BENCH=ON) run in turn with ours, and each figure is also given as ours / base.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "widgets/LedSpin.h"
#include "windows/main_window/frmSetup.h"

namespace {

const QString kSource = QStringLiteral(MEMORY_BENCH_SOURCE);

// VmHWM (peak) and VmRSS (now) of this process, in KiB.
std::pair<long, long> OwnMemory() {
    QFile status("/proc/self/status");
    long peak = -1, now = -1;
    if (!status.open(QIODevice::ReadOnly)) return {peak, now};
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) peak = line.mid(6).trimmed().split(' ').first().toLong();
        if (line.startsWith("VmRSS:")) now = line.mid(6).trimmed().split(' ').first().toLong();
    }
    return {peak, now};
}

void Report(const char* stage) {
    const auto [peak, now] = OwnMemory();
    std::printf("%s %ld %ld\n", stage, peak, now);
    std::fflush(stdout);
}

int RunWindow(int argc, char* argv[], const QString& folder) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    quorvant::frmSetup window(folder, quorvant::Services{});
    window.show();
    QCoreApplication::processEvents();
    Report("start");
    auto* level = window.findChild<quorvant::LedSpin*>("ledPresLevel");
    for (int save = 1; save <= 10; ++save) {
        if (level) level->SetValue(100 + save);
        if (!window.cmdSave_Click()) return 1;
        if (save == 1) Report("save1");
    }
    Report("save10");
    return 0;
}

// The sample server.ini, then sections of keys like the server's own up to `size` bytes, CRLF.
QByteArray MakeServerIni(qsizetype size, const QString& database) {
    QFile sample(kSource + "/sample/server.ini.in");
    if (!sample.open(QIODevice::ReadOnly)) return {};
    QByteArray out = sample.readAll().replace("@DATABASE@", database.toUtf8()).replace("\n", "\r\n");
    for (int s = 0; out.size() < size; ++s) {
        out += "\r\n; block " + QByteArray::number(s) + " of the playlist scheduler\r\n[Schedule" +
               QByteArray::number(s) + "]\r\n";
        for (int k = 0; k < 16; ++k)
            out += "Slot" + QByteArray::number(k) + "=" + QByteArray::number(s * 37 + k) + ",Pop,1\r\n";
        out += "Path=/srv/audio/blok" + QByteArray::number(s) + "\r\nLevel=80\r\n";
    }
    return out;
}

struct Child {
    double ms = -1;
    long peakKiB = -1;
    QList<QByteArray> lines;  // its standard output
};

// Runs a program to its end; wall time, peak memory (from the kernel) and its output lines.
Child Run(const QString& program, const QStringList& arguments) {
    Child child;
    int out[2];
    if (::pipe(out) != 0) return child;
    QElapsedTimer clock;
    clock.start();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], 1);
        ::close(out[0]);
        ::close(out[1]);
        std::vector<QByteArray> args{QFile::encodeName(program)};
        for (const QString& a : arguments) args.push_back(a.toLocal8Bit());
        std::vector<char*> argv;
        for (QByteArray& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    QByteArray text;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(out[0], buffer, sizeof buffer)) > 0) text.append(buffer, n);
    ::close(out[0]);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return child;
    child.ms = clock.nsecsElapsed() / 1e6;
    child.peakKiB = usage.ru_maxrss;
    child.lines = text.split('\n');
    return child;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

double MiB(long kib) { return kib / 1024.0; }

// "ours" or "ours (ours/base ×)".
QString Against(double ours, double base, int decimals = 1) {
    QString cell = QString::number(ours, 'f', decimals);
    if (base > 0) cell += QStringLiteral(" (%1×)").arg(ours / base, 0, 'f', 2);
    return cell;
}

struct Build {
    QString bench;  // this program in that build
    QString tool;   // quorvant-ini of that build
    QString parse;  // ini_parse_only of that build
};

struct WindowFigures {
    long start = -1, save1 = -1, save10 = -1, rss1 = -1, rss10 = -1;
};

WindowFigures MeasureWindow(const Build& build, const QString& folder) {
    WindowFigures f;
    const Child child = Run(build.bench, {"--window", folder});
    for (const QByteArray& line : child.lines) {
        const QList<QByteArray> w = line.split(' ');
        if (w.size() != 3) continue;
        if (w[0] == "start") f.start = w[1].toLong();
        if (w[0] == "save1") f.save1 = w[1].toLong(), f.rss1 = w[2].toLong();
        if (w[0] == "save10") f.save10 = w[1].toLong(), f.rss10 = w[2].toLong();
    }
    return f;
}

struct ToolFigures {
    double getMs = -1, parseMs = -1;
    long getKiB = -1, parseKiB = -1;
};

ToolFigures MeasureTool(const Build& build, const QString& file, int runs) {
    ToolFigures f;
    std::vector<double> get, parse;
    for (int r = 0; r < runs; ++r) {
        const Child g = Run(build.tool, {file, "get", "Faders", "PresLevel"});
        const Child p = Run(build.parse, {file});
        if (g.ms < 0 || p.ms < 0) return {};
        get.push_back(g.ms);
        parse.push_back(p.ms);
        f.getKiB = std::max(f.getKiB, g.peakKiB);
        f.parseKiB = std::max(f.parseKiB, p.peakKiB);
    }
    f.getMs = Median(get);
    f.parseMs = Median(parse);
    return f;
}

// A program folder whose server.ini has `megabytes` MB.
bool MakeFolder(const QString& folder, int megabytes) {
    const QString database = folder + "/database";
    QDir().mkpath(database);
    const QByteArray server = MakeServerIni(qsizetype(megabytes) * 1024 * 1024, database);
    QFile file(folder + "/server.ini");
    return !server.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(server) == server.size();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 3 && QByteArray(argv[1]) == "--window") return RunWindow(argc, argv, QString::fromLocal8Bit(argv[2]));
    if (argc == 4 && QByteArray(argv[1]) == "--make") return MakeFolder(QString::fromLocal8Bit(argv[2]), atoi(argv[3])) ? 0 : 1;

    QCoreApplication app(argc, argv);
    std::vector<std::pair<QString, Build>> builds{
        {"ours", {QCoreApplication::applicationFilePath(), QStringLiteral(MEMORY_BENCH_TOOL),
                  QStringLiteral(MEMORY_BENCH_PARSE)}}};
    int runs = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (QByteArray(argv[i]) == "--base") {
            const QString dir = QString::fromLocal8Bit(argv[i + 1]);
            builds.push_back({"base", {dir + "/bench/memory_bench", dir + "/quorvant-ini", dir + "/bench/ini_parse_only"}});
        } else if (QByteArray(argv[i]) == "--runs") {
            runs = std::max(1, atoi(argv[i + 1]));
        }
    }
    QTemporaryDir work;
    if (!work.isValid()) return 1;

    std::printf("Memory in MiB: peak (VmHWM) unless said; in use = VmRSS after the save. Per byte = "
                "(peak - 40 MiB) / file size, at the window's start and after its saves (the peak of a "
                "save, history included); the goal is at most 3 for both. Times: median of %d runs. "
                "(ours / base) in brackets.\n\n",
                runs);
    for (const int megabytes : {1, 10, 60}) {
        const QString folder = work.filePath(QString::number(megabytes));
        if (!MakeFolder(folder, megabytes)) return 1;
        QFile file(folder + "/server.ini");
        if (!file.open(QIODevice::ReadOnly)) return 1;
        const QByteArray server = file.readAll();
        file.close();

        std::vector<WindowFigures> windows;
        std::vector<ToolFigures> tools;
        for (const auto& [name, build] : builds) {
            // Every build starts from the same file; the saves change it.
            if (!file.open(QIODevice::WriteOnly) || file.write(server) != server.size()) return 1;
            file.close();
            windows.push_back(MeasureWindow(build, folder));
            tools.push_back(MeasureTool(build, folder + "/server.ini", runs));
            if (windows.back().save10 < 0 || tools.back().getMs < 0) {
                std::fprintf(stderr, "memory_bench: the %s build failed on %d MB\n", qPrintable(name), megabytes);
                return 1;
            }
        }
        // Ours against the base, when there is one.
        const auto against = [&](size_t i, double ours, double base, int decimals = 1) {
            return Against(ours, i == 0 && builds.size() > 1 ? base : -1, decimals);
        };
        const double size = double(server.size());
        std::printf("### server.ini %d MB (%lld bytes)\n\n", megabytes, static_cast<long long>(server.size()));
        std::printf("| main window | start | per byte | after 1 save | after 10 saves | per byte | 10 / 1 | in use after 1 | "
                    "in use after 10 | 10 / 1 |\n|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
        for (size_t i = 0; i < builds.size(); ++i) {
            const WindowFigures& w = windows[i];
            const WindowFigures& b = windows.back();
            const auto perByte = [size](long kib) { return (kib - 40 * 1024) * 1024.0 / size; };
            const auto judged = [&](long kib) {
                return QString::number(perByte(kib), 'f', 2) + (perByte(kib) <= 3 ? "" : " (over 3)");
            };
            std::printf("| %s | %s | %s | %s | %s | %s | %.3f | %s | %s | %.3f |\n", qPrintable(builds[i].first),
                        qPrintable(against(i, MiB(w.start), MiB(b.start))), qPrintable(judged(w.start)),
                        qPrintable(against(i, MiB(w.save1), MiB(b.save1))),
                        qPrintable(against(i, MiB(w.save10), MiB(b.save10))), qPrintable(judged(w.save10)),
                        double(w.save10) / w.save1,
                        qPrintable(against(i, MiB(w.rss1), MiB(b.rss1))),
                        qPrintable(against(i, MiB(w.rss10), MiB(b.rss10))), double(w.rss10) / w.rss1);
        }
        std::printf("\n| quorvant-ini | get ms | parse ms | get / parse | get MiB | parse MiB | get / parse |\n"
                    "|---|---:|---:|---:|---:|---:|---:|\n");
        for (size_t i = 0; i < builds.size(); ++i) {
            const ToolFigures& t = tools[i];
            const ToolFigures& b = tools.back();
            std::printf("| %s | %s | %s | %.2f | %s | %s | %.2f |\n", qPrintable(builds[i].first),
                        qPrintable(against(i, t.getMs, b.getMs, 0)), qPrintable(against(i, t.parseMs, b.parseMs, 0)),
                        t.getMs / t.parseMs, qPrintable(against(i, MiB(t.getKiB), MiB(b.getKiB))),
                        qPrintable(against(i, MiB(t.parseKiB), MiB(b.parseKiB))), double(t.getKiB) / t.parseKiB);
        }
        std::printf("\n");
        std::fflush(stdout);
    }
    return 0;
}

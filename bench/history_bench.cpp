// The cost of the settings history on a save: the sample server.ini (about 2 KB), one key changed
// per save through the accessor as the window saves, in three folders whose saves take turns:
//   without  - the history cannot be written there (".quorvant-history" is a file), so the save
//              does only the two failing calls that find out; the nearest thing to no history
//   fresh    - the history is written, into a folder that starts empty (and ends with SAVES versions)
//   full     - the history is written, into a folder that starts with 200 versions
// Prints the median wall and CPU time of a save in each, and the ratios to "without".
//   history_bench [SAVES] [FOLDER]   (default 300 saves each, in a temporary folder under /tmp;
//                                     give a folder on the disk that matters: fsync dominates)
#include <time.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "settings/History.h"
#include "settings/IniAccessor.h"

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

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
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
    return 0;
}

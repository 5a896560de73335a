// startup_bench [runs]: milliseconds from process start to a shown window, for the program's own
// start path (RunProgram, what main() runs) on the sample folder and for a plain Qt window with the
// same number of widgets, started in turn as child processes; prints the medians and their ratio.
// startup_bench --instructions: the same two starts once each under callgrind, counting
// instructions from process start to exit, which repeat from run to run where times do not; in
// three environments: the default, without an icon theme, and a GNOME desktop.
// Run it under a display (xvfb-run -a works).
//
// A child prints "ready <widgets>" when its window is exposed and, for the main window, the
// genre list has arrived; the parent takes the time from starting the child to that line.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/ProgramServices.h"
#include "windows/main_window/AutomationTiming.h"
#include "windows/main_window/frmSetup.h"

namespace {

const QString kSource = QStringLiteral(STARTUP_BENCH_SOURCE);

bool Copy(const QString& from, const QString& to) {
    QFile::remove(to);
    return QFile::copy(from, to);
}

// The sample program folder, with a genre database beside its descriptions.
bool MakeProgramFolder(const QString& folder) {
    const QString database = folder + "/database";
    QFile in(kSource + "/sample/server.ini.in");
    QFile out(folder + "/server.ini");
    if (!QDir().mkpath(database) || !in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)) return false;
    out.write(in.readAll().replace("@DATABASE@", database.toUtf8()));
    return Copy(kSource + "/sample/news.ini", folder + "/news.ini") &&
           Copy(kSource + "/sample/database/commonsettings.ini", database + "/commonsettings.ini") &&
           Copy(kSource + "/tests/data/genres/data.mdb", database + "/data.mdb") &&
           Copy(kSource + "/resources/quorvant.lng", folder + "/quorvant.lng");
}

// Prints "ready <widgets>" and quits once `done` holds and `window` is on screen.
void ReportWhen(QWidget* window, std::function<bool()> done) {
    auto* poll = new QTimer(window);
    QObject::connect(poll, &QTimer::timeout, window, [window, done] {
        if (!window->windowHandle() || !window->windowHandle()->isExposed() || !done()) return;
        std::printf("ready %lld\n", static_cast<long long>(window->findChildren<QWidget*>().size() + 1));
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    poll->start(1);
}

// The program's own start on `folder`, as `quorvant --folder FOLDER` runs it.
int RunMainWindow(char* program, const QString& folder) {
    QByteArray folderArgument = folder.toLocal8Bit();
    char option[] = "--folder";
    char* arguments[] = {program, option, folderArgument.data(), nullptr};
    return quorvant::RunProgram(3, arguments, [](quorvant::frmSetup& window) {
        QComboBox* panic = window.Automation().cobPanic;
        ReportWhen(&window, [panic] { return panic->count() > 0 || !panic->toolTip().isEmpty(); });
    });
}

// Labels, line edits, check boxes and lists in grids on 13 tab pages, until there are `widgets`.
int RunPlainWindow(int argc, char* argv[], int widgets) {
    QApplication app(argc, argv);
    QWidget window;
    auto* layout = new QGridLayout(&window);
    auto* tabs = new QTabWidget(&window);
    layout->addWidget(tabs);
    std::vector<QGridLayout*> pages;
    for (int tab = 0; tab < 13; ++tab) {
        auto* page = new QWidget;
        pages.push_back(new QGridLayout(page));
        tabs->addTab(page, QString("Pagina %1").arg(tab));
    }
    for (int n = 0; window.findChildren<QWidget*>().size() + 1 < widgets; ++n) {
        QGridLayout* grid = pages[n % 13];
        const int row = grid->rowCount();
        QWidget* control = nullptr;
        switch (n % 4) {
            case 0:
                control = new QLineEdit("waarde");
                break;
            case 1:
                control = new QCheckBox("keuze");
                break;
            case 2:
                control = new QLabel("label");
                break;
            default: {
                auto* list = new QComboBox;
                list->addItems({"een", "twee"});
                control = list;
            }
        }
        grid->addWidget(control, row, 0);
    }
    window.show();
    ReportWhen(&window, [] { return true; });
    return app.exec();
}

// Milliseconds from starting the child to its "ready" line; the widget count comes in `widgets`.
double TimeChild(const QStringList& arguments, int* widgets) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    child.start(QCoreApplication::applicationFilePath(), arguments);
    double ms = -1;
    while (child.waitForReadyRead(30000)) {
        const QByteArray line = child.readLine().trimmed();
        if (!line.startsWith("ready ")) continue;
        ms = clock.nsecsElapsed() / 1e6;
        if (widgets) *widgets = line.mid(6).toInt();
        break;
    }
    child.waitForFinished(30000);
    return ms;
}

// Instructions of the child from its start to its exit, counted by callgrind (the genre helper it
// starts is not counted); -1 when it did not report ready.
double CountInstructions(const QStringList& arguments, const QString& scratch, int* widgets,
                         const QProcessEnvironment& environment) {
    const QString out = scratch + "/callgrind.out";
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QStringLiteral("valgrind"), QStringList{"--tool=callgrind", "--quiet", "--callgrind-out-file=" + out,
                                                        QCoreApplication::applicationFilePath()} + arguments);
    bool ready = false;
    while (!ready && child.waitForReadyRead(600000)) {
        while (child.canReadLine()) {
            const QByteArray line = child.readLine().trimmed();
            if (!line.startsWith("ready ")) continue;
            ready = true;
            if (widgets) *widgets = line.mid(6).toInt();
        }
    }
    child.waitForFinished(600000);
    QFile totals(out);
    if (!ready || !totals.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : totals.readAll().split('\n'))
        if (line.startsWith("totals: ")) return line.mid(8).trimmed().toDouble();
    return -1;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 3 && QByteArray(argv[1]) == "--main") return RunMainWindow(argv[0], QString::fromLocal8Bit(argv[2]));
    if (argc == 3 && QByteArray(argv[1]) == "--plain") return RunPlainWindow(argc, argv, atoi(argv[2]));

    QCoreApplication app(argc, argv);
    const bool instructions = argc > 1 && QByteArray(argv[1]) == "--instructions";
    const int runs = argc > 1 && !instructions ? std::max(1, atoi(argv[1])) : 15;
    QTemporaryDir folder;
    if (!folder.isValid() || !MakeProgramFolder(folder.path())) {
        std::fprintf(stderr, "startup_bench: could not prepare the sample folder\n");
        return 1;
    }
    int widgets = 0;
    if (instructions) {
        // The machine's default (hicolor installed, no desktop), no icon theme at all (no data
        // folders with icons), and a GNOME desktop, whose theme Qt reads for its own icons.
        QTemporaryDir scratch;
        QTemporaryDir noData;
        struct Environment {
            const char* name;
            QProcessEnvironment environment;
        };
        std::vector<Environment> environments(3, Environment{"", QProcessEnvironment::systemEnvironment()});
        environments[0].name = "default";
        environments[1].name = "no icon theme";
        environments[1].environment.insert("XDG_DATA_DIRS", noData.path());
        environments[1].environment.insert("XDG_DATA_HOME", noData.path());
        environments[2].name = "GNOME";
        environments[2].environment.insert("XDG_CURRENT_DESKTOP", "GNOME");
        double worst = 0;
        for (const Environment& e : environments) {
            const double main = CountInstructions({"--main", folder.path()}, scratch.path(), &widgets, e.environment);
            const double plain =
                CountInstructions({"--plain", QString::number(widgets)}, scratch.path(), nullptr, e.environment);
            if (main < 0 || plain < 0) {
                std::fprintf(stderr, "startup_bench: a window did not report ready under callgrind (%s)\n", e.name);
                return 1;
            }
            std::printf("%-14s widgets %d  main window %.1f M  plain window %.1f M instructions  ratio %.3f\n", e.name,
                        widgets, main / 1e6, plain / 1e6, main / plain);
            worst = std::max(worst, main / plain);
        }
        std::printf("ratio %.3f (the worst of the three)\n", worst);
        return 0;
    }
    TimeChild({"--main", folder.path()}, &widgets);  // warms the file cache; not counted
    std::vector<double> main, plain;
    for (int i = 0; i < runs; ++i) {
        main.push_back(TimeChild({"--main", folder.path()}, &widgets));
        plain.push_back(TimeChild({"--plain", QString::number(widgets)}, nullptr));
        if (main.back() < 0 || plain.back() < 0) {
            std::fprintf(stderr, "startup_bench: a window did not report ready\n");
            return 1;
        }
    }
    std::printf("widgets %d, runs %d\n", widgets, runs);
    std::printf("main window   median %.1f ms (min %.1f)\n", Median(main), *std::min_element(main.begin(), main.end()));
    std::printf("plain window  median %.1f ms (min %.1f)\n", Median(plain),
                *std::min_element(plain.begin(), plain.end()));
    std::printf("ratio %.2f\n", Median(main) / Median(plain));
    return 0;
}

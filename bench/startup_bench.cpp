// startup_bench [runs]: milliseconds from process start to a shown window, for the main window on
// the sample folder and for a plain Qt window with the same number of widgets, started in turn as
// child processes; prints the medians and their ratio. Run it under a display (xvfb-run -a works).
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
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "platform/AlsaDevices.h"
#include "platform/ColourChooser.h"
#include "platform/FolderChooser.h"
#include "platform/GenreDatabase.h"
#include "windows/main_window/AutomationTiming.h"
#include "windows/main_window/frmSetup.h"

namespace {

const QString kSource = QStringLiteral(STARTUP_BENCH_SOURCE);

class SilentReporter : public quorvant::ErrorReporter {
public:
    void Report(QWidget*, const QString&, const QString&) override {}
    bool Ask(QWidget*, const QString&, const QString&, const QString&) override { return true; }
};

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

int RunMainWindow(int argc, char* argv[], const QString& folder) {
    QApplication app(argc, argv);
    quorvant::AlsaWaveOutDevices waveOut;
    quorvant::AlsaMixerFactory mixers;
    quorvant::QtFolderChooser folders;
    quorvant::QtColourChooser colours;
    quorvant::ProcessGenreSource genres(QStringLiteral(STARTUP_BENCH_HELPER));
    SilentReporter errors;
    quorvant::Services services;
    services.waveOut = &waveOut;
    services.mixers = &mixers;
    services.folders = &folders;
    services.colours = &colours;
    services.genres = &genres;
    services.errors = &errors;
    quorvant::frmSetup window(folder, services);
    window.show();
    QComboBox* panic = window.Automation().cobPanic;
    ReportWhen(&window, [panic] { return panic->count() > 0 || !panic->toolTip().isEmpty(); });
    return app.exec();
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

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 3 && QByteArray(argv[1]) == "--main") return RunMainWindow(argc, argv, QString::fromLocal8Bit(argv[2]));
    if (argc == 3 && QByteArray(argv[1]) == "--plain") return RunPlainWindow(argc, argv, atoi(argv[2]));

    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 15;
    QTemporaryDir folder;
    if (!folder.isValid() || !MakeProgramFolder(folder.path())) {
        std::fprintf(stderr, "startup_bench: could not prepare the sample folder\n");
        return 1;
    }
    int widgets = 0;
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

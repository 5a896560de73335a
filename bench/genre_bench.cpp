// genre_bench [runs]: milliseconds to read data-large.mdb (20,000 genres).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/GenreDatabase.h"
#include "platform/mdb/GenreReader.h"

namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    quorvant::ProcessGenreSource source(QStringLiteral(GENRE_BENCH_HELPER), 60000);

    std::vector<double> helper, read, sort;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        QEventLoop loop;
        qsizetype count = -1;
        source.Request(QStringLiteral(GENRE_BENCH_DATABASE), [&](const quorvant::GenreList& list) {
            count = list.failure == quorvant::GenreFailure::None ? list.genres.size() : -1;
            loop.quit();
        });
        loop.exec();
        helper.push_back(clock.nsecsElapsed() / 1e6);
        if (count != 20000) {
            std::fprintf(stderr, "helper gave %lld genres\n", static_cast<long long>(count));
            return 1;
        }

        clock.restart();
        const quorvant::GenreReadResult values = quorvant::ReadGenreValues(QStringLiteral(GENRE_BENCH_DATABASE));
        read.push_back(clock.nsecsElapsed() / 1e6);
        clock.restart();
        const QStringList sorted = quorvant::SortGenres(values.values);
        sort.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::printf("runs %d, median ms: through helper %.1f, in-process read %.1f, sort %.1f\n", runs, Median(helper),
                Median(read), Median(sort));
    return 0;
}

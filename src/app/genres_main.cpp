// quorvant-genres <data.mdb>: prints the sorted genre list of the database on stdout (see
// platform/mdb/GenreProtocol.h). It runs apart from the settings window because libmdb can hang or
// crash on a damaged file; the window kills it when it takes too long.

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <QByteArray>
#include <QString>

#include "platform/mdb/GenreProtocol.h"
#include "platform/mdb/GenreReader.h"

namespace {

// Should the window that started us be gone, a hanging read still ends by itself.
constexpr unsigned kSelfLimitSeconds = 60;

QByteArray ErrorWord(quorvant::GenreReadError error) {
    using quorvant::GenreReadError;
    switch (error) {
        case GenreReadError::NoFile:
            return "nofile";
        case GenreReadError::NotDatabase:
            return "notdatabase";
        case GenreReadError::Damaged:
            return "damaged";
        case GenreReadError::NoTable:
            return "notable";
        case GenreReadError::NoColumn:
            return "nocolumn";
        case GenreReadError::None:
            break;
    }
    return "damaged";
}

bool WriteAll(int fd, const QByteArray& data) {
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = write(fd, data.constData() + done, static_cast<size_t>(data.size() - done));
        if (n < 0) return false;
        done += n;
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    alarm(kSelfLimitSeconds);

    // The answer goes to a private copy of stdout; libmdb's own messages on stdout and stderr
    // would only spoil it, so both go to /dev/null.
    const int answer = dup(STDOUT_FILENO);
    const int devNull = open("/dev/null", O_WRONLY);
    if (answer < 0 || devNull < 0) return 3;
    dup2(devNull, STDOUT_FILENO);
    dup2(devNull, STDERR_FILENO);
    close(devNull);

    // The answer is UTF-8 whatever the caller's environment asks of libmdb, and without its debug output.
    setenv("MDB_ICONV", "UTF-8", 1);
    unsetenv("MDBOPTS");

    if (argc != 2) {
        WriteAll(answer, quorvant::genre_protocol::EncodeError("usage"));
        return 2;
    }
    const quorvant::GenreReadResult result = quorvant::ReadGenreValues(QString::fromLocal8Bit(argv[1]));
    if (result.error != quorvant::GenreReadError::None) {
        WriteAll(answer, quorvant::genre_protocol::EncodeError(ErrorWord(result.error)));
        return 1;
    }
    const QByteArray out = quorvant::genre_protocol::EncodeList(quorvant::SortGenres(result.values));
    return WriteAll(answer, out) ? 0 : 3;
}

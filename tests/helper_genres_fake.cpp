// Stand-in for quorvant-genres that misbehaves the way the database file's name asks:
// hang.mdb never answers, crash.mdb dies on a signal, garbage.mdb breaks the protocol,
// silent.mdb exits with an error and no output, flood.mdb writes without end.
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>

#include "helpers/ProcessLimits.h"

int main(int argc, char* argv[]) {
    if (argc != 2) return 2;
    const QString name = QFileInfo(QString::fromLocal8Bit(argv[1])).fileName();
    if (name == "hang.mdb") {
        quorvant::test::Hang();
    }
    if (name == "crash.mdb") {
        quorvant::test::Crash();
    }
    if (name == "garbage.mdb") {
        std::fputs("OK 3\nonly one line\n", stdout);
        return 0;
    }
    if (name == "flood.mdb") {
        static char block[65536];
        for (char& c : block) c = 'x';
        for (;;) {
            if (!quorvant::test::WriteOut(block, sizeof block)) return 1;
        }
    }
    return 1;
}

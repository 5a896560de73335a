#pragma once

#include <QList>
#include <QStringList>

namespace quorvant {

// What a program of ours sets up first, the same on every system in effect: a write past a
// file-size limit or into a closed pipe fails with its reason instead of ending the process, and
// standard output carries the bytes it is given (no CR added on Windows), so scripts and
// comparisons see the same output everywhere.
void PrepareProcess();

// The command-line arguments after the program name, and for each whether it was valid UTF-8 as
// given (on Windows the arguments come as UTF-16 and always are).
struct Arguments {
    QStringList texts;
    QList<bool> decodable;
};
Arguments ProgramArguments(int argc, char* argv[]);

}  // namespace quorvant

#pragma once

// What every command of quorvant-ini shares: its exit codes, its options and how it writes to the
// terminal.

#include <QJsonObject>
#include <QString>
#include <cstdio>

namespace quorvant::ini {

// Exit codes, as the manual page gives them.
constexpr int kDone = 0;
constexpr int kAbsent = 1;  // also: differs, or would change (--exit-code)
constexpr int kUsage = 2;
constexpr int kFileError = 3;
constexpr int kProblems = 4;  // check found problems

struct Options {
    bool force = false;     // store values the schema refuses
    bool dryRun = false;    // print the diff, write nothing
    bool exitCode = false;  // diff and --dry-run: exit 1 when something differs or would change
    bool json = false;      // one JSON object per line
    bool allowNew = false;  // set may add sections and keys that neither the schema nor the file knows
};

// `text` in UTF-8.
void Print(FILE* to, const QString& text);
// One JSON object on a line of its own on standard output.
void PrintJson(const QJsonObject& object);
// "quorvant-ini: <message>" on standard error; returns `code`.
int Fail(int code, const QString& message);
// What a command that compared two sides exits with: 1 under --exit-code when they differ.
inline int Compared(bool differ, const Options& options) { return differ && options.exitCode ? kAbsent : kDone; }

}  // namespace quorvant::ini

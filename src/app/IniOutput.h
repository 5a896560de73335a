#pragma once

// What every command of quorvant-ini shares: its exit codes and how it writes to the terminal.

#include <QString>
#include <cstdio>

namespace quorvant::ini {

// Exit codes, as the manual page gives them.
constexpr int kDone = 0;
constexpr int kAbsent = 1;
constexpr int kUsage = 2;
constexpr int kFileError = 3;
constexpr int kProblems = 4;  // check found problems

// `text` in UTF-8.
void Print(FILE* to, const QString& text);
// "quorvant-ini: <message>" on standard error; returns `code`.
int Fail(int code, const QString& message);

}  // namespace quorvant::ini

#pragma once

// quorvant-ini's history commands: history, diff and restore (see its manual page).

#include <QString>
#include <QStringList>

#include "app/IniOutput.h"

namespace quorvant::ini {

// Before any command: versions this run records name quorvant-ini, and what a save tells about
// the history (not written, old versions dropped) goes to standard error.
void StartHistory();

// Each returns quorvant-ini's exit status: 0 done, 1 no such version or key (or, under
// --exit-code, a difference), 2 usage, 3 the file or a version could not be read, or the file
// could not be saved. history and diff read the versions' headers and the versions they show only.
int PrintHistory(const QString& file, const QStringList& operands, const Options& options);
int PrintDiff(const QString& file, const QStringList& operands, const Options& options);
// With --dry-run, prints the diff the restore would make and writes nothing.
int Restore(const QString& file, const QStringList& operands, const Options& options);

}  // namespace quorvant::ini

#pragma once

// quorvant-ini's history commands: history, diff and restore (see its manual page).

#include <QString>
#include <QStringList>

namespace quorvant::ini {

// Before any command: versions this run records name quorvant-ini, and what a save tells about
// the history (not written, old versions dropped) goes to standard error.
void StartHistory();

// Each returns quorvant-ini's exit status: 0 done, 1 no such version or key, 2 usage, 3 the file
// or a version could not be read, or the file could not be saved.
int PrintHistory(const QString& file, const QStringList& operands);
int PrintDiff(const QString& file, const QStringList& operands);
int Restore(const QString& file, const QStringList& operands);

}  // namespace quorvant::ini

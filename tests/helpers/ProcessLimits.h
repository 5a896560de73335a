#pragma once

// What the tests' helper programs do to themselves that differs between systems.

#include <QtGlobal>

namespace quorvant::test {

// Becomes the user `uid` for good (only root can); false when that fails or the system has no
// such thing.
bool BecomeUser(unsigned uid);
// Writes past `bytes` fail from now on (a full disk); false where the system cannot limit them.
bool LimitFileSize(qint64 bytes);
// Never returns and never answers.
[[noreturn]] void Hang();
// Ends as a crash would, without a core dump or a debugger.
[[noreturn]] void Crash();
// Writes all of `data` to standard output, unbuffered; false when the reader went away.
bool WriteOut(const char* data, qsizetype size);

}  // namespace quorvant::test

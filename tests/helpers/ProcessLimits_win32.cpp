#include "helpers/ProcessLimits.h"

#include <windows.h>

namespace quorvant::test {

bool BecomeUser(unsigned) { return false; }

bool LimitFileSize(qint64) { return false; }

void Hang() {
    for (;;) Sleep(INFINITE);
}

void Crash() {
    // An exit status with the high bit set is what Windows (and QProcess) call a crash.
    TerminateProcess(GetCurrentProcess(), 0xC0000409);
    for (;;) Sleep(INFINITE);
}

bool WriteOut(const char* data, qsizetype size) {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    while (size > 0) {
        DWORD n = 0;
        if (!WriteFile(out, data, DWORD(size), &n, nullptr)) return false;
        data += n;
        size -= qsizetype(n);
    }
    return true;
}

}  // namespace quorvant::test

// A slow disk for the program this is linked into: FlushFileBuffers first waits the milliseconds
// QUORVANT_SLOW_SYNC_MS gives (unset or 0: no wait). The program is linked with
// --wrap=__imp_FlushFileBuffers, so its calls of the system's function come here.
#include <windows.h>

#include <cstdlib>

extern "C" {
extern BOOL(WINAPI* __real___imp_FlushFileBuffers)(HANDLE);

static BOOL WINAPI SlowFlushFileBuffers(HANDLE file) {
    const char* text = std::getenv("QUORVANT_SLOW_SYNC_MS");
    const long ms = text ? std::strtol(text, nullptr, 10) : 0;
    if (ms > 0) Sleep(DWORD(ms));
    return __real___imp_FlushFileBuffers(file);
}

BOOL(WINAPI* __wrap___imp_FlushFileBuffers)(HANDLE) = &SlowFlushFileBuffers;
}

// A slow disk for the program this is linked into: fsync and fdatasync first wait the milliseconds
// QUORVANT_SLOW_SYNC_MS gives (read at each call; unset or 0: no wait), then sync for real.
// Linked into the test program rather than preloaded, so that sanitizer builds, whose runtime must
// come first among the preloaded libraries, run it too. Built with -shared it also serves as an
// LD_PRELOAD shim for the installed program.
#include <dlfcn.h>
#include <stdlib.h>
#include <time.h>

namespace {

void WaitAsASlowDisk() {
    const char* text = getenv("QUORVANT_SLOW_SYNC_MS");
    const long ms = text ? strtol(text, nullptr, 10) : 0;
    if (ms <= 0) return;
    timespec left{ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&left, &left) != 0) {
    }
}

using Sync = int (*)(int);

Sync Real(const char* name) { return reinterpret_cast<Sync>(dlsym(RTLD_NEXT, name)); }

}  // namespace

extern "C" int fsync(int fd) {
    WaitAsASlowDisk();
    static const Sync real = Real("fsync");
    return real(fd);
}

extern "C" int fdatasync(int fd) {
    WaitAsASlowDisk();
    static const Sync real = Real("fdatasync");
    return real(fd);
}

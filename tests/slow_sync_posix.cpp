// A slow disk for the program this is linked into: fsync and fdatasync first wait the milliseconds
// QUORVANT_SLOW_SYNC_MS gives (unset or 0: no wait). Linked in rather than preloaded, so that
// sanitizer builds (whose runtime must come first) run it too; built with -shared it also serves
// as an LD_PRELOAD shim for the installed program.
#include <dlfcn.h>
#include <stdlib.h>
#include <time.h>

namespace {

int SlowSync(const char* name, int fd) {
    const char* text = getenv("QUORVANT_SLOW_SYNC_MS");
    const long ms = text ? strtol(text, nullptr, 10) : 0;
    timespec left{ms / 1000, (ms % 1000) * 1000000L};
    while (ms > 0 && nanosleep(&left, &left) != 0) {
    }
    return reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, name))(fd);
}

}  // namespace

extern "C" int fsync(int fd) { return SlowSync("fsync", fd); }
extern "C" int fdatasync(int fd) { return SlowSync("fdatasync", fd); }

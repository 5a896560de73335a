#include "helpers/ProcessLimits.h"

#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>

namespace quorvant::test {

bool BecomeUser(unsigned uid) { return setgroups(0, nullptr) == 0 && setgid(uid) == 0 && setuid(uid) == 0; }

bool LimitFileSize(qint64 bytes) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{rlim_t(bytes), rlim_t(bytes)};
    return setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

void Hang() {
    for (;;) pause();
}

void Crash() {
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    std::abort();
}

bool WriteOut(const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t n = write(STDOUT_FILENO, data, size_t(size));
        if (n < 0) return false;
        data += n;
        size -= n;
    }
    return true;
}

}  // namespace quorvant::test

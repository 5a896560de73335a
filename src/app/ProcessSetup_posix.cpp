#include "app/ProcessSetup.h"

#include <signal.h>

#include <cstring>

#include "settings/IniEncoding.h"

namespace quorvant {

void PrepareProcess() {
    signal(SIGXFSZ, SIG_IGN);
    signal(SIGPIPE, SIG_IGN);
}

Arguments ProgramArguments(int argc, char* argv[]) {
    Arguments arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.texts.append(QString::fromLocal8Bit(argv[i]));
        arguments.decodable.append(IsValidUtf8(argv[i], qsizetype(std::strlen(argv[i]))));
    }
    return arguments;
}

}  // namespace quorvant

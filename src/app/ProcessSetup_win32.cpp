#include "app/ProcessSetup.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

namespace quorvant {

void PrepareProcess() {
    // The window program may have no console at all.
    for (FILE* stream : {stdout, stderr})
        if (_fileno(stream) >= 0) _setmode(_fileno(stream), _O_BINARY);
}

Arguments ProgramArguments(int, char*[]) {
    // argv holds the arguments in the ANSI code page, which loses what it cannot show.
    Arguments arguments;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; wide && i < count; ++i) {
        arguments.texts.append(QString::fromWCharArray(wide[i]));
        arguments.decodable.append(true);
    }
    LocalFree(wide);
    return arguments;
}

}  // namespace quorvant

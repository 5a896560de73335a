// Second writer for the settings tests: writes keys of an INI file from another process,
// optionally as another user or under a file-size limit.
//   helper_ini_writer [--uid N] [--fsize BYTES] [--save] FILE SECTION KEY=VALUE...
// Without --save every write is its own transaction; with --save all go in one.
// Exit 0 on success; 2 with the reason on stdout when a write fails; 1 on bad arguments.
#include <QStringList>
#include <cstdio>
#include <optional>

#include "helpers/ProcessLimits.h"
#include "settings/IniAccessor.h"
#include "text/Messages.h"

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    bool oneSave = false;
    while (!args.isEmpty() && args.first().startsWith("--")) {
        const QString option = args.takeFirst();
        if (option == "--save") {
            oneSave = true;
        } else if (option == "--uid" && !args.isEmpty()) {
            if (!quorvant::test::BecomeUser(args.takeFirst().toUInt())) {
                std::perror("setuid");
                return 1;
            }
        } else if (option == "--fsize" && !args.isEmpty()) {
            if (!quorvant::test::LimitFileSize(args.takeFirst().toLongLong())) {
                std::perror("setrlimit");
                return 1;
            }
        } else {
            return 1;
        }
    }
    if (args.size() < 3) return 1;
    quorvant::IniAccessor ini;
    ini.SetFile(args.takeFirst());
    ini.SetSection(args.takeFirst());
    try {
        std::optional<quorvant::IniSave> save;
        if (oneSave) save.emplace(ini);
        for (const QString& pair : args) {
            const int eq = pair.indexOf('=');
            ini.SetKey(pair.left(eq));
            ini.WriteValue(pair.mid(eq + 1));
        }
        if (save) save->Commit();
    } catch (const quorvant::IniError& error) {
        std::printf("%s\n", quorvant::msg::FailureReason(error).toUtf8().constData());
        return 2;
    }
    return 0;
}

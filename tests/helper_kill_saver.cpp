// Saves a large settings file over and over until it is killed (or for two minutes), for the kill test:
//   helper_kill_saver FILE BYTES
// Alternates [big] Payload between BYTES times "a" and BYTES times "b", one save each, and
// prints one line when the first save starts. Each save also records the content it replaces in
// the settings history (.quorvant-history), so the kills fall inside that write too.
#include <QElapsedTimer>
#include <QString>
#include <cstdio>

#include "settings/IniAccessor.h"

int main(int argc, char** argv) {
    if (argc != 3) return 1;
    const QString file = QString::fromLocal8Bit(argv[1]);
    const qsizetype bytes = QString::fromLocal8Bit(argv[2]).toLongLong();
    const QString values[2] = {QString(bytes, u'a'), QString(bytes, u'b')};
    quorvant::IniAccessor ini;
    ini.SetFile(file);
    ini.SetSection("big");
    ini.SetKey("Payload");
    std::printf("saving\n");
    std::fflush(stdout);
    // A test that ended without killing it (a timeout) leaves no saver running for ever.
    QElapsedTimer alive;
    alive.start();
    for (unsigned long round = 0; alive.elapsed() < 120000; ++round) {
        quorvant::IniSave save(ini);
        ini.WriteValue(values[round % 2]);
        save.Commit();
    }
    return 0;
}

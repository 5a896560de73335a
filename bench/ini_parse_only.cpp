// ini_parse_only FILE: reads and parses a settings file as the engine does, and nothing more;
// the measure memory_bench holds `quorvant-ini get` against. Links the settings engine only, as
// quorvant-ini does, so both start alike.
#include <QString>

#include "settings/AtomicFile.h"
#include "settings/IniDocument.h"

int main(int argc, char* argv[]) {
    if (argc != 2) return 2;
    QByteArray bytes;
    quorvant::FileStamp stamp;
    if (!quorvant::ReadWholeFile(QString::fromLocal8Bit(argv[1]), &bytes, &stamp)) return 1;
    const quorvant::IniDocument document(bytes);
    return document.Damaged() ? 1 : 0;
}

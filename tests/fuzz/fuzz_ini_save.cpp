// Any bytes, one to three writes: keys not written read back as before, lines not written stay
// byte for byte, written keys read back as written; or the writes are refused.
//
// Input: the file's bytes, followed by the writes, read backwards from the end, so that any
// settings file is a seed as it is: the last byte gives the number of writes (1 + b % 3); per
// write one byte picks the section, one the key (below 0x80 from a fixed list, else a name the
// file has), one the value's length (% 25; 24 removes the key instead), then the value's bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/IniInvariant.h"

using namespace quorvant;

namespace {

const QStringList kNames = {"a", "k", "b", "x", "y", "n", "Faders", "PresLevel", "Sabam", "Files", "LogPath", "Mes1",
                            QString(QChar(0xFEFF)) + "k", "[k", "Colors", "A"};

struct Input {
    const uint8_t* data;
    size_t size;
    uint8_t Take() { return size > 0 ? data[--size] : 0; }
};

QString Name(uint8_t choice, const QList<QPair<QString, QString>>& present, bool key) {
    if (choice < 0x80 || present.isEmpty()) return kNames[choice % kNames.size()];
    const auto& pair = present[(choice - 0x80) % present.size()];
    return key ? pair.second : pair.first;
}

// Bytes become characters; a few stand for those that tripped the engine before.
QChar CharOf(uint8_t b) {
    switch (b) {
        case 0xF0: return QChar(0xFEFF);
        case 0xF1: return QChar(0xD800);
        case 0xF2: return QChar(0x20AC);
        case 0xF3: return QChar(0x03A9);
        case 0xF4: return QChar(0xFFFD);
        default: return QChar(b);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input input{data, size};
    const int count = 1 + input.Take() % 3;
    struct Choice {
        uint8_t section, key;
        QString value;
        bool remove = false;
    };
    QList<Choice> choices;
    for (int i = 0; i < count; ++i) {
        Choice choice{input.Take(), input.Take(), {}};
        const int length = input.Take() % 25;
        choice.remove = length == 24;
        for (int n = choice.remove ? 0 : length; n > 0; --n) choice.value.append(CharOf(input.Take()));
        choices.append(choice);
    }
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(input.size));
    const QList<QPair<QString, QString>> present = IniDocument(bytes).AllKeyNames();
    QList<check::Write> writes;
    for (const Choice& choice : choices)
        writes.append({Name(choice.section, present, false), Name(choice.key, present, true), choice.value, choice.remove});
    const QString broken = check::SaveKeepsTheRest(bytes, writes);
    if (!broken.isEmpty()) {
        std::fprintf(stderr, "%s\n", broken.toUtf8().constData());
        std::abort();
    }
    return 0;
}

// Any bytes parse into a document that serializes back to exactly those bytes, reads every key as
// a plain reader does, and writes every key back as it reads without changing a byte.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/IniInvariant.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const quorvant::IniDocument document(bytes);
    if (document.Serialize() != bytes) std::abort();
    // Reading every key must not trip over anything either.
    for (const auto& [section, key] : document.AllKeyNames())
        if (!document.Value(section, key)) std::abort();
    const QString broken = quorvant::check::ReadsLikeAPlainReader(bytes);
    if (!broken.isEmpty()) {
        std::fprintf(stderr, "%s\n", broken.toUtf8().constData());
        std::abort();
    }
    return 0;
}

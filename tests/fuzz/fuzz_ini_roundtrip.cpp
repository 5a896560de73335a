// Any bytes parse into a document that serializes back to exactly those bytes.
#include <cstdint>
#include <cstdlib>

#include "settings/IniDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const quorvant::IniDocument document(bytes);
    if (document.Serialize() != bytes) std::abort();
    // Reading every key must not trip over anything either.
    for (const auto& [section, key] : document.AllKeyNames())
        if (!document.Value(section, key)) std::abort();
    return 0;
}

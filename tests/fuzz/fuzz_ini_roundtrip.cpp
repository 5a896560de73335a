// Any bytes parse into a document that serializes back to exactly those bytes, reads every key as
// a plain reader does, and writes every key back as it reads without changing a byte.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <algorithm>

#include "fuzz/IniInvariant.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const quorvant::IniDocument document(bytes);
    if (document.Serialize() != bytes) std::abort();
    // Reading every key must not trip over anything either.
    for (const auto& [section, key] : document.AllKeyNames())
        if (!document.Value(section, key)) std::abort();
    // The same bytes with a stretch cut out: the changes found are exactly the keys that differ.
    if (bytes.size() >= 2) {
        const qsizetype from = qsizetype(data[0]) * bytes.size() / 256;
        const qsizetype to = std::max(from, qsizetype(data[1]) * bytes.size() / 256);
        const quorvant::IniDocument cut(bytes.left(from) + bytes.mid(to));
        QSet<QPair<QString, QString>> differ;
        for (const auto* side : {&document, &cut})
            for (const auto& [section, key] : side->AllKeyNames())
                if (document.Value(section, key) != cut.Value(section, key)) differ.insert({section, key});
        QSet<QPair<QString, QString>> found;
        for (const quorvant::KeyChange& change : quorvant::KeyChanges(document, cut))
            found.insert({quorvant::NameKey(change.section), quorvant::NameKey(change.key)});
        if (found != differ) std::abort();
    }
    const QString broken = quorvant::check::ReadsLikeAPlainReader(bytes);
    if (!broken.isEmpty()) {
        std::fprintf(stderr, "%s\n", broken.toUtf8().constData());
        std::abort();
    }
    return 0;
}

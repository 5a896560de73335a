#include "schema/KeyPlace.h"

#include "schema/KeySchema.h"

namespace quorvant::schema {

KeyPlace PlaceOf(const QString& fileName, const QString& section, const QString& key) {
    for (File file : {File::Server, File::News, File::Common}) {
        if (FileName(file).compare(fileName, Qt::CaseInsensitive) != 0) continue;
        const Key* found = Lookup(file, section, key);
        if (!found) return {};
        return {CaptionText(*found), PageText(*found)};
    }
    return {};
}

}  // namespace quorvant::schema

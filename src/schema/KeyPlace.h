#pragma once

#include <QString>

namespace quorvant::schema {

// Where the windows show a key of a settings file, in their (Dutch) words: its caption and the
// main window's page. Both empty for a key the schema does not hold, or a file it does not know;
// the page is empty for a dialog's key. Texts must be loaded.
struct KeyPlace {
    QString caption;
    QString page;
};
KeyPlace PlaceOf(const QString& fileName, const QString& section, const QString& key);

}  // namespace quorvant::schema

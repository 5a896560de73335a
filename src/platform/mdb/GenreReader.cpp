#include "platform/mdb/GenreReader.h"

#include <glib.h>
// glib first: mdbtools.h uses its types.
#include <mdbtools.h>

#include <QCollator>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>
#include <memory>
#include <numeric>

namespace quorvant {

namespace {

const char kTable[] = "Genres";
const char kColumn[] = "Genre";

struct HandleCloser {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
struct TableFreer {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};

MdbCatalogEntry* FindTable(MdbHandle* mdb) {
    for (guint i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type == MDB_TABLE && g_ascii_strcasecmp(entry->object_name, kTable) == 0) return entry;
    }
    return nullptr;
}

// Position of the column in table->columns, or -1.
int FindColumn(MdbTableDef* table) {
    for (guint i = 0; i < table->num_cols; ++i) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        if (g_ascii_strcasecmp(col->name, kColumn) == 0) return static_cast<int>(i);
    }
    return -1;
}

// Whether the column was NULL in the row that mdb_fetch_row just read. The bound text cannot tell:
// libmdb binds NULL and "" alike as an empty string, so the row is cracked again for its null mask.
bool FetchedValueIsNull(MdbTableDef* table, int columnIndex, std::vector<MdbField>& fields) {
    if (table->cur_row == 0) return false;
    int start = 0;
    size_t size = 0;
    if (mdb_find_row(table->entry->mdb, static_cast<int>(table->cur_row - 1), &start, &size) == -1) return false;
    const int offsetMask = 0x1fff;  // the high bits of a row offset are flags (deleted, overflow)
    const int count = mdb_crack_row(table, start & offsetMask, size, fields.data());
    for (int i = 0; i < count; ++i) {
        if (fields[i].colnum == columnIndex) return fields[i].is_null != 0;
    }
    return false;
}

}  // namespace

GenreReadResult ReadGenreValues(const QString& mdbPath) {
    GenreReadResult result;
    if (!QFileInfo(mdbPath).isFile()) {
        result.error = GenreReadError::NoFile;
        return result;
    }
    std::unique_ptr<MdbHandle, HandleCloser> mdb(mdb_open(QFile::encodeName(mdbPath).constData(), MDB_NOFLAGS));
    if (!mdb) {
        result.error = GenreReadError::NotDatabase;
        return result;
    }
    // The database grows by whole pages; anything else is a copy cut off short, whose missing
    // pages libmdb would silently read as an empty table.
    if (QFileInfo(mdbPath).size() % mdb->fmt->pg_size != 0 || !mdb_read_catalog(mdb.get(), MDB_TABLE)) {
        result.error = GenreReadError::Damaged;
        return result;
    }
    MdbCatalogEntry* entry = FindTable(mdb.get());
    if (!entry) {
        result.error = GenreReadError::NoTable;
        return result;
    }
    std::unique_ptr<MdbTableDef, TableFreer> table(mdb_read_table(entry));
    if (!table || !mdb_read_columns(table.get())) {
        result.error = GenreReadError::Damaged;
        return result;
    }
    const int columnIndex = FindColumn(table.get());
    if (columnIndex < 0) {
        result.error = GenreReadError::NoColumn;
        return result;
    }
    // libmdb writes at most bind_size bytes into a bound buffer.
    std::vector<char> text(mdb->bind_size + 1, '\0');
    int length = 0;
    if (mdb_bind_column(table.get(), columnIndex + 1, text.data(), &length) == -1) {
        result.error = GenreReadError::Damaged;
        return result;
    }
    mdb_rewind_table(table.get());
    std::vector<MdbField> fields(std::max<size_t>(MDB_MAX_COLS, table->num_cols));
    while (mdb_fetch_row(table.get())) {
        if (FetchedValueIsNull(table.get(), columnIndex, fields)) {
            result.values.emplace_back(std::nullopt);
        } else {
            const int n = std::clamp(length, 0, static_cast<int>(mdb->bind_size));
            result.values.emplace_back(QString::fromUtf8(text.data(), n));
        }
    }
    return result;
}

QStringList SortGenres(const std::vector<GenreValue>& values) {
    // The database's General order is the English (United States) one, whatever the user's locale.
    QCollator collator(QLocale(QLocale::English, QLocale::UnitedStates));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    collator.setIgnorePunctuation(false);

    struct Key {
        bool isNull;
        QCollatorSortKey word;  // without hyphens and apostrophes
        QCollatorSortKey full;
    };
    std::vector<Key> keys;
    keys.reserve(values.size());
    for (const GenreValue& value : values) {
        const QString text = value.value_or(QString());
        QString word = text;
        word.remove(QLatin1Char('-')).remove(QLatin1Char('\''));
        QCollatorSortKey full = collator.sortKey(text);
        keys.push_back({!value.has_value(), word.size() == text.size() ? full : collator.sortKey(word), full});
    }

    std::vector<size_t> order(values.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&keys](size_t a, size_t b) {
        const Key& ka = keys[a];
        const Key& kb = keys[b];
        if (ka.isNull != kb.isNull) return ka.isNull;
        if (const int c = ka.word.compare(kb.word); c != 0) return c < 0;
        return ka.full.compare(kb.full) < 0;
    });

    QStringList sorted;
    sorted.reserve(static_cast<qsizetype>(order.size()));
    for (size_t i : order) sorted.append(values[i].value_or(QString()));
    return sorted;
}

}  // namespace quorvant

#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace quorvant {

// One value of the column Genre; nullopt is the database NULL, which differs from "".
using GenreValue = std::optional<QString>;

// Why a database gave no genre list. The helper program passes these on as protocol words.
enum class GenreReadError {
    None,
    NoFile,       // the file does not exist
    NotDatabase,  // the file is no database the reader can open
    Damaged,      // the catalogue or the table cannot be read
    NoTable,      // no table Genres
    NoColumn,     // table Genres has no column Genre
};

struct GenreReadResult {
    std::vector<GenreValue> values;  // in the table's stored order
    GenreReadError error = GenreReadError::None;
};

// Reads the column Genre of the table Genres; both names match without regard to case.
// Runs libmdb, which can hang or crash on a damaged file: call it only from the helper program.
GenreReadResult ReadGenreValues(const QString& mdbPath);

// Orders the values as the database's "ORDER BY [Genre]" with its General sort order does:
// NULL first, then without regard to case, accented letters with their base letter, blanks and
// punctuation before digits before letters, hyphen and apostrophe only breaking ties (so "co-op"
// stays with "coop"). Values that compare equal keep their stored order. NULL becomes "".
QStringList SortGenres(const std::vector<GenreValue>& values);

}  // namespace quorvant

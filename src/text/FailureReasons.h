#pragma once

#include <QString>

#include "settings/History.h"
#include "settings/IniError.h"

namespace quorvant {

// The window speaks Dutch; quorvant-ini writes its messages in English for scripts and logs.
enum class Language { Dutch, English };

// A text in both languages side by side, so both always say the same.
struct Words {
    const char* dutch;
    const char* english;
    QString In(Language language) const { return QString::fromUtf8(language == Language::Dutch ? dutch : english); }
};

// Why a settings file could not be read or written, as one sentence without a full stop. Both
// languages come from one table, so they always say the same thing.
QString FailureReason(const IniError& error, Language language);
// What a path is when it is not a regular file ("een FIFO (named pipe)").
QString FileKindText(FileKind kind, Language language = Language::Dutch);
// A system error number in words, for a read or a write.
QString SystemErrorText(int errorNumber, bool writing, Language language = Language::Dutch);

// Why a file of the history folder is skipped, or the folder itself not used; `writing` for a
// save that could not write the history.
QString HistoryProblemText(const history::Problem& problem, Language language, bool writing = false);

// Text from a file or a version's header as it may be shown: control and format characters
// (NUL, ESC, CR, tab, bidirectional marks) escaped as \xHH or \uHHHH, never raw. A backslash
// stays as it is, so a Windows path reads as one.
QString Printable(QStringView text);

}  // namespace quorvant

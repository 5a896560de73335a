#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace quorvant {

class ErrorReporter;
class IniAccessor;

// Runs `writes` as one save transaction on `ini`'s file. When the save fails nothing is written:
// `beforeReport` (if any) runs, then the user is told which file could not be saved and why.
// When another program changed keys of the save since the window read them, the user is asked
// first; "Annuleren" leaves the file as it is (and runs `beforeReport`). Returns whether the save
// was committed.
bool SaveOrReport(QWidget* window, ErrorReporter& errors, IniAccessor& ini, const std::function<void()>& writes,
                  const std::function<void()>& beforeReport = {});

}  // namespace quorvant

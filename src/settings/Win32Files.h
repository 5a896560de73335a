#pragma once

// Windows only: what the engine's Win32 files share (FilePrimitives_win32.cpp, SafeFolder_win32.cpp).

#include <QString>
#include <string>

namespace quorvant::files {

// A path the wide Win32 calls take: absolute, with "\", and past MAX_PATH in its "\\?\" form.
std::wstring WidePath(const QString& path);
// The errno value of a Windows error code, else kWindowsErrorBase plus the code.
int ErrnoOf(unsigned long code);

}  // namespace quorvant::files

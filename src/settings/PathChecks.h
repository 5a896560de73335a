#pragma once

#include <QString>

#include "settings/IniError.h"

namespace quorvant {

bool FolderExists(const QString& path);
bool FileExists(const QString& path);

// What a path leads to (symlinks followed), to say why it is no usable file.
FileKind KindOf(const QString& path);

// The folder that holds the running program, without a trailing separator.
QString ProgramFolder();

// Paths are formed by plain concatenation with the system's separator between folder and name
// ("\" on Windows, as the server joins them, "/" elsewhere).
QString JoinPath(const QString& folder, const QString& name);

}  // namespace quorvant

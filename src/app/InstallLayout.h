#pragma once

#include <QString>

namespace quorvant {

// Where the program's companions lie, always relative to the running executable (never found
// through PATH): beside it in a build folder and on Windows, in the GNU layout (bin,
// libexec/quorvant, share/quorvant) once installed on Linux.
QString ExecutableFolder();

// The genre helper quorvant-genres: beside the executable when it is there, else in the
// installed libexec folder.
QString GenreHelperPath(const QString& executableFolder);

// The installed data folder (share/quorvant) of an executable in bin/.
QString InstalledDataFolder(const QString& executableFolder);

}  // namespace quorvant

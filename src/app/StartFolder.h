#pragma once

#include <QString>
#include <optional>

namespace quorvant {

class FolderChooser;

// The program folder the window edits:
// - the folder given with --folder, always;
// - else the executable's folder, as a build folder or a copied program folder expects;
// - but an installed copy (its folder holds no server.ini and is a system folder) uses the folder
//   remembered for this user in `rememberFile`, and asks for it with the chooser when there is
//   none. Nothing when the user cancels; nothing is written then.
std::optional<QString> StartFolder(const QString& givenFolder, const QString& executableFolder,
                                   const QString& rememberFile, FolderChooser& chooser);

// True for an executable folder the window must not edit: no server.ini in it, and either it may
// not be written or it is the bin folder of an installation.
bool IsInstalledCopy(const QString& executableFolder);

// The per-user file that remembers the chosen folder (in the user's configuration folder).
QString RememberFile();

}  // namespace quorvant

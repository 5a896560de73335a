#pragma once

#include <QString>
#include <optional>

namespace quorvant {

class ErrorReporter;
class FolderChooser;

// The program folder the window edits:
// - the folder given with --folder, always;
// - else the executable's folder, as a build folder or a copied program folder expects;
// - but an installed copy (its folder holds no server.ini and is a system folder) uses the folder
//   remembered for this user in `rememberFile`, and asks for it with the chooser when there is
//   none, or when the remembered one is gone (after saying so and why).
// A given or chosen folder with neither server.ini nor news.ini gets a question that names it:
// choose another, open it anyway, or stop. The chooser's folder is remembered only once settled.
// Nothing when the user cancels or stops; nothing is written then.
std::optional<QString> StartFolder(const QString& givenFolder, const QString& executableFolder,
                                   const QString& rememberFile, FolderChooser& chooser, ErrorReporter& reporter);

// True for an executable folder the window must not edit: no server.ini in it, and either it may
// not be written or it is the bin folder of an installation.
bool IsInstalledCopy(const QString& executableFolder);

// The per-user file that remembers the chosen folder (in the user's configuration folder).
QString RememberFile();

}  // namespace quorvant

#include "app/StartFolder.h"

namespace quorvant {

std::unique_ptr<FolderMemory> SystemFolderMemory() { return std::make_unique<IniFolderMemory>(RememberFile()); }
std::unique_ptr<Preferences> SystemPreferences() { return std::make_unique<IniPreferences>(RememberFile()); }

}  // namespace quorvant

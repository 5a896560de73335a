#include "app/StartFolder.h"

namespace quorvant {

std::unique_ptr<FolderMemory> SystemFolderMemory() { return std::make_unique<IniFolderMemory>(RememberFile()); }

}  // namespace quorvant

#include "run/package_folder.h"

namespace nerbo {

FolderNaming HostFolderNaming() { return FolderNaming::kWindows; }

}  // namespace nerbo

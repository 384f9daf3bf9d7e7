#include "run/package_folder.h"

namespace nerbo {

FolderNaming HostFolderNaming() { return FolderNaming::kPosix; }

}  // namespace nerbo

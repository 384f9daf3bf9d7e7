// Whether a class file sits where its package says. java looks for class
// demo.sub.Name in demo/sub under the folder it starts in, and the class run
// starts it one folder up per package level: that reaches the class file only
// when the file's own folders end in the package's components.
#pragma once

#include <string>
#include <vector>

#include "core/conventions.h"

namespace nerbo {

// The first `package_depth` dot-separated components of `qualified_name`:
// the package of a class whose name the class file gave with that many levels.
std::vector<std::string> PackageComponents(const std::string& qualified_name, int package_depth);

// Whether the last folders of `directory`, a full path, are the `package`
// components in order. A directory with fewer folders than the package has
// levels holds no package tree; an empty package fits anywhere.
bool SitsInPackageFolder(const std::string& directory, const std::vector<std::string>& package,
                         FolderNaming naming);

}  // namespace nerbo

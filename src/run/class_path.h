// The class path handed to java and javac: the package root, the user's
// class path, then the kit's classes directory and classes.zip, the kit
// being the tool path less its "bin" tail.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "core/conventions.h"

namespace nerbo {

// `root_entry` is "." or one "..\" per package level. `tool_path` is the
// recorded java or javac, of which the last `tail_length` characters are
// cut, whatever they are (never reaching before the start of the text).
// `user_class_path` is the user's CLASSPATH, or nothing when it is not set:
// the reference to it then stays as written.
std::string BuildClassPath(const Conventions& conventions, const std::string& root_entry,
                           const std::string& tool_path, std::size_t tail_length,
                           const std::optional<std::string>& user_class_path);

// The user's CLASSPATH in the environment the child inherits, if set. A child
// started without a command interpreter would otherwise get the reference
// itself as a directory name, and the user's class path would be lost.
std::optional<std::string> UserClassPath(const Conventions& conventions);

// The root entry of a source of `package_depth` levels: "." for none.
std::string PackageRootEntry(const Conventions& conventions, int package_depth);

}  // namespace nerbo

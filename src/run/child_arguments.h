// How the tool's own arguments (the file, the class path, the class name)
// and the user's argument string reach java and javac. On Windows they are
// pieces of the child's one command line, as the tool has always written it:
// the file in double quotes, the class path in them when it holds a blank,
// the argument string as it was typed. On Linux each of the tool's own is
// one argument as it is, and the argument string is split by the tool's
// command-line rules.
#pragma once

#include <string>
#include <vector>

#include "core/conventions.h"

namespace nerbo {

std::string FileArgument(const Conventions& conventions, const std::string& file_name);

std::string ClassPathArgument(const Conventions& conventions, const std::string& class_path);

void AppendUserArguments(const Conventions& conventions, const std::string& argument_string,
                         std::vector<std::string>* arguments);

}  // namespace nerbo

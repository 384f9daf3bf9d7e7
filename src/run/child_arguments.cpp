#include "run/child_arguments.h"

#include "runtime/portable/command_line.h"

namespace nerbo {

std::string FileArgument(const Conventions& conventions, const std::string& file_name) {
  return conventions.one_command_line ? "\"" + file_name + "\"" : file_name;
}

std::string ClassPathArgument(const Conventions& conventions, const std::string& class_path) {
  if (!conventions.one_command_line || class_path.find_first_of(" \t") == std::string::npos)
    return class_path;
  return "\"" + class_path + "\"";
}

void AppendUserArguments(const Conventions& conventions, const std::string& argument_string,
                         std::vector<std::string>* arguments) {
  if (conventions.one_command_line) {
    arguments->push_back(argument_string);
    return;
  }
  for (std::string& argument : SplitArguments(argument_string.c_str()))
    arguments->push_back(std::move(argument));
}

}  // namespace nerbo

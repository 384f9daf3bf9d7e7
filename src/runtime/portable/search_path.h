// The walk along a PATH-style list of directories, for the launch of a bare
// program name and for the desktop's lookup of an editor.
#pragma once

#include <string>
#include <vector>

namespace nerbo {

// The places `name` is looked for, in order: each directory of `path_list`
// (split at `list_separator`) joined with `name` by `dir_separator`, unless
// it already ends in that or '/'. An empty element stands for the current
// directory and gives `name` alone.
std::vector<std::string> PlacesAlongPath(const std::string& name, const std::string& path_list,
                                         char list_separator, char dir_separator);

}  // namespace nerbo

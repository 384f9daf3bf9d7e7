// The bytes of a file, for tests that compare what was written.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace nerbo {

// Nothing when the file cannot be opened.
std::optional<std::string> FileContents(const std::filesystem::path& path);

}  // namespace nerbo

#include "desktop/key_file_reader.h"

#include <cctype>
#include <sstream>

namespace nerbo {
namespace {

bool IsKey(const std::string& key) {
  const std::size_t locale = key.find('[');
  const std::string name = key.substr(0, locale);
  if (name.empty()) return false;
  for (char c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-') return false;
  }
  return locale == std::string::npos || (key.back() == ']' && key.size() > locale + 2);
}

bool IsGroupName(const std::string& name) {
  if (name.empty()) return false;
  for (char c : name) {
    if (c == '[' || c == ']' || std::iscntrl(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

std::optional<std::string> Unescape(const std::string& value) {
  std::string plain;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\') {
      plain += value[i];
      continue;
    }
    if (++i == value.size()) return std::nullopt;
    switch (value[i]) {
      case 's':
        plain += ' ';
        break;
      case 'n':
        plain += '\n';
        break;
      case 't':
        plain += '\t';
        break;
      case 'r':
        plain += '\r';
        break;
      case '\\':
        plain += '\\';
        break;
      case ';':
        plain += "\\;";  // a list's own escape, left for the list's reader
        break;
      default:
        return std::nullopt;
    }
  }
  return plain;
}

}  // namespace

std::optional<KeyFile> ReadKeyFile(const std::string& text, std::string* error) {
  KeyFile file;
  KeyFileGroup* group = nullptr;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    *error = line;
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '[') {
      const std::string name = line.substr(1, line.size() - 2);
      if (line.back() != ']' || !IsGroupName(name) || file.count(name) != 0) return std::nullopt;
      group = &file[name];
      continue;
    }
    const std::size_t equals = line.find('=');
    if (group == nullptr || equals == std::string::npos) return std::nullopt;
    std::string key = line.substr(0, equals);
    while (!key.empty() && key.back() == ' ') key.pop_back();
    std::string value = line.substr(equals + 1);
    value.erase(0, value.find_first_not_of(' '));
    std::optional<std::string> plain = Unescape(value);
    if (!IsKey(key) || group->count(key) != 0 || !plain) return std::nullopt;
    (*group)[key] = *plain;
  }
  error->clear();
  return file;
}

}  // namespace nerbo

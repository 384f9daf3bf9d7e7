#include "runtime/registry_hive_format.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "runtime/ascii.h"

namespace nerbo {
namespace {

constexpr const char* kHeader = "REGEDIT4";
constexpr std::size_t kMaxKeyNameLength = 255;
constexpr std::size_t kHexLineWidth = 76;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20; }
bool IsPrintable(char c) {
  return static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7f;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// ---- Writing ----

void AppendQuoted(const std::string& text, std::string* out) {
  out->push_back('"');
  for (char c : text) {
    if (c == '\\' || c == '"') out->push_back('\\');
    out->push_back(c);
  }
  out->push_back('"');
}

// A REG_SZ goes in quotes only when quotes give back exactly its bytes: the
// text, then its one terminating zero, and nothing a line cannot hold.
bool FitsQuotes(const RegistryValue& value) {
  const std::string& data = value.data;
  if (value.type != kRegSz || data.empty() || data.back() != '\0') return false;
  for (std::size_t i = 0; i + 1 < data.size(); ++i) {
    if (!IsPrintable(data[i])) return false;
  }
  return true;
}

void AppendHex(const RegistryValue& value, std::string* out) {
  char prefix[24];
  if (value.type == 3) {
    std::snprintf(prefix, sizeof prefix, "hex:");
  } else {
    std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(value.type));
  }
  out->append(prefix);
  std::size_t line_start = out->rfind('\n') + 1;
  for (std::size_t i = 0; i < value.data.size(); ++i) {
    char byte[4];
    std::snprintf(byte, sizeof byte, "%02x", static_cast<unsigned char>(value.data[i]));
    out->append(byte);
    if (i + 1 == value.data.size()) break;
    out->push_back(',');
    if (out->size() - line_start >= kHexLineWidth) {
      out->append("\\\n  ");
      line_start = out->size() - 2;
    }
  }
}

void AppendValue(const RegistryValue& value, std::string* out) {
  if (value.name.empty()) {
    out->push_back('@');
  } else {
    AppendQuoted(value.name, out);
  }
  out->push_back('=');
  if (FitsQuotes(value)) {
    AppendQuoted(value.data.substr(0, value.data.size() - 1), out);
  } else if (value.type == kRegDword && value.data.size() == 4) {
    std::uint32_t word = 0;
    for (int i = 3; i >= 0; --i) word = (word << 8) | static_cast<unsigned char>(value.data[i]);
    char text[16];
    std::snprintf(text, sizeof text, "dword:%08x", static_cast<unsigned>(word));
    out->append(text);
  } else {
    AppendHex(value, out);
  }
  out->push_back('\n');
}

void AppendKey(const RegistryNode& node, const std::string& path, bool is_root, std::string* out) {
  if (!is_root || !node.values.empty()) {
    out->append("\n[" + path + "]\n");
    for (const RegistryValue& value : node.values) AppendValue(value, out);
  }
  for (const RegistryNode& subkey : node.subkeys) AppendKey(subkey, path + "\\" + subkey.name, false, out);
}

// ---- Reading ----

class Parser {
 public:
  Parser(const std::string& text, RegistryTree* tree, HiveError* error)
      : text_(text), tree_(tree), error_(error) {}

  bool Run() {
    *tree_ = RegistryTree();
    if (text_.empty()) return true;
    if (!NextLine() || line_ != kHeader) return Fail("the file does not start with the line REGEDIT4");
    while (NextLine()) {
      std::size_t start = 0;
      while (start < line_.size() && IsBlank(line_[start])) ++start;
      if (start == line_.size() || line_[start] == ';') continue;
      pos_ = start;
      if (!(line_[start] == '[' ? ParseSection() : ParseValue())) return false;
    }
    return true;
  }

 private:
  // The next line without its line end; false at the end of the text.
  bool NextLine() {
    if (next_ >= text_.size()) return false;
    std::size_t end = text_.find('\n', next_);
    if (end == std::string::npos) end = text_.size();
    line_ = text_.substr(next_, end - next_);
    if (!line_.empty() && line_.back() == '\r') line_.pop_back();
    next_ = end + 1;
    ++line_number_;
    pos_ = 0;
    return true;
  }

  bool Fail(const std::string& message) {
    error_->line = line_number_;
    error_->message = message;
    return false;
  }

  bool AtLineEnd() {
    while (pos_ < line_.size() && IsBlank(line_[pos_])) ++pos_;
    return pos_ == line_.size();
  }

  bool ParseSection() {
    std::size_t close = line_.find_last_of(']');
    std::size_t end = close + 1;
    while (end < line_.size() && IsBlank(line_[end])) ++end;
    if (close == std::string::npos || end != line_.size()) return Fail("a [key] line does not end with ]");
    std::string path = line_.substr(pos_ + 1, close - pos_ - 1);
    if (!path.empty() && path[0] == '-') return Fail("removing a key is not supported in this file");
    std::vector<std::string> names;
    std::size_t start = 0;
    for (;;) {
      std::size_t slash = path.find('\\', start);
      names.push_back(path.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
      if (slash == std::string::npos) break;
      start = slash + 1;
    }
    RegistryNode* node = nullptr;
    for (RegistryNode* root : {&tree_->classes_root, &tree_->local_machine, &tree_->current_user}) {
      if (EqualsIgnoreCase(names[0], root->name)) node = root;
    }
    if (!node) {
      return Fail("the key does not start with HKEY_CLASSES_ROOT, HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER");
    }
    for (std::size_t i = 1; i < names.size(); ++i) {
      if (names[i].empty() || names[i].size() > kMaxKeyNameLength)
        return Fail("a key name is empty or too long");
      for (char c : names[i]) {
        if (IsControl(c)) return Fail("a key name holds a control character");
      }
      bool inserted = false;
      node = &node->AddSubkey(names[i], &inserted);
    }
    key_ = node;
    return true;
  }

  // A quoted string at pos_, with \\ and \" as the only escapes.
  bool ParseQuoted(std::string* out) {
    ++pos_;
    for (;;) {
      if (pos_ >= line_.size()) return Fail("a quoted string is not closed");
      char c = line_[pos_++];
      if (c == '"') return true;
      if (c == '\\') {
        if (pos_ >= line_.size() || (line_[pos_] != '\\' && line_[pos_] != '"'))
          return Fail("a quoted string holds an escape other than \\\\ or \\\"");
        c = line_[pos_++];
      } else if (IsControl(c)) {
        return Fail("a quoted string holds a control character");
      }
      out->push_back(c);
    }
  }

  bool ConsumeWord(const char* word) {
    std::string w = word;
    if (line_.compare(pos_, w.size(), w) != 0) return false;
    pos_ += w.size();
    return true;
  }

  // Up to `max_digits` hex digits at pos_ (at least one).
  bool ParseNumber(std::size_t max_digits, std::uint32_t* number) {
    std::size_t digits = 0;
    *number = 0;
    while (pos_ < line_.size() && HexDigit(line_[pos_]) >= 0 && digits < max_digits) {
      *number = (*number << 4) | static_cast<std::uint32_t>(HexDigit(line_[pos_++]));
      ++digits;
    }
    return digits > 0;
  }

  // Comma-separated byte pairs, continued on the next line after a backslash.
  bool ParseHexBytes(std::string* out) {
    bool want_byte = true;
    for (;;) {
      if (AtLineEnd()) {
        if (want_byte && !out->empty()) return Fail("a hex list ends with a comma");
        return true;
      }
      char c = line_[pos_];
      if (c == '\\') {
        ++pos_;
        if (!AtLineEnd()) return Fail("a backslash in a hex list is not at the end of the line");
        if (!NextLine()) return Fail("a hex list goes on past the end of the file");
        continue;
      }
      if (want_byte) {
        int high = HexDigit(c);
        int low = pos_ + 1 < line_.size() ? HexDigit(line_[pos_ + 1]) : -1;
        if (high < 0 || low < 0) return Fail("a hex list holds something other than two hex digits");
        out->push_back(static_cast<char>(high * 16 + low));
        pos_ += 2;
        want_byte = false;
      } else if (c == ',') {
        ++pos_;
        want_byte = true;
      } else if (IsBlank(c)) {
        ++pos_;
      } else {
        return Fail("hex bytes are not separated by commas");
      }
    }
  }

  bool ParseValue() {
    if (!key_) return Fail("a value comes before the first [key] line");
    std::string name;
    if (line_[pos_] == '@') {
      ++pos_;
    } else if (line_[pos_] == '"') {
      if (!ParseQuoted(&name)) return false;
    } else {
      return Fail("expected a [key] line, a value name in quotes or @");
    }
    if (pos_ >= line_.size() || line_[pos_++] != '=') return Fail("a value name is not followed by =");

    std::uint32_t type = kRegSz;
    std::string data;
    if (pos_ < line_.size() && line_[pos_] == '"') {
      if (!ParseQuoted(&data)) return false;
      data.push_back('\0');
      if (!AtLineEnd()) return Fail("something follows the closing quote");
    } else if (ConsumeWord("dword:")) {
      std::uint32_t word = 0;
      if (!ParseNumber(8, &word) || !AtLineEnd()) return Fail("dword: takes up to eight hex digits");
      for (int i = 0; i < 4; ++i) data.push_back(static_cast<char>((word >> (8 * i)) & 0xff));
      type = kRegDword;
    } else if (ConsumeWord("hex:")) {
      type = 3;
      if (!ParseHexBytes(&data)) return false;
    } else if (ConsumeWord("hex(")) {
      if (!ParseNumber(8, &type) || !ConsumeWord("):")) return Fail("hex( takes a hex type and ):");
      if (!ParseHexBytes(&data)) return false;
    } else if (ConsumeWord("-")) {
      return Fail("removing a value is not supported in this file");
    } else {
      return Fail("a value is not a quoted string, dword: or hex");
    }
    key_->SetValue(name, type, std::move(data));
    return true;
  }

  const std::string& text_;
  RegistryTree* tree_;
  HiveError* error_;
  std::size_t next_ = 0;
  int line_number_ = 0;
  std::string line_;
  std::size_t pos_ = 0;
  RegistryNode* key_ = nullptr;
};

}  // namespace

bool ParseHive(const std::string& text, RegistryTree* tree, HiveError* error) {
  return Parser(text, tree, error).Run();
}

std::string FormatHive(const RegistryTree& tree) {
  std::string out = kHeader;
  out.push_back('\n');
  AppendKey(tree.classes_root, tree.classes_root.name, true, &out);
  AppendKey(tree.local_machine, tree.local_machine.name, true, &out);
  AppendKey(tree.current_user, tree.current_user.name, true, &out);
  return out;
}

}  // namespace nerbo

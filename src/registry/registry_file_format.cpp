#include "registry/registry_file_format.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

#include "runtime/portable/ascii.h"

namespace nerbo {
namespace {

constexpr const char* kHeader = "REGEDIT4";
constexpr std::size_t kMaxKeyNameLength = 255;
constexpr std::size_t kHexLineWidth = 76;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20; }
bool IsPrintable(char c) { return !IsControl(c) && static_cast<unsigned char>(c) < 0x7f; }

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

// Every [key] line names its root, nearly always spelt as the tool writes it.
RegKey RootNamed(std::string_view name) {
  static const RegistryTree kRoots;
  for (RegKey root : {kClassesRoot, kLocalMachine, kCurrentUser}) {
    const std::string& root_name = kRoots.Root(root)->name;
    if (name == root_name || EqualsIgnoreCase(name, root_name)) return root;
  }
  return 0;
}

// Reads a text a line at a time from a given place. The check of every line
// and the reading of the values a read wants go through it alike, so that a
// text is taken or refused the same way whatever is read of it.
class LineReader {
 public:
  LineReader(std::string_view text, std::size_t from, RegistryFileError* error)
      : text_(text), next_(from), error_(error) {}

  // The next line, without its line end; false at the end of the text.
  bool NextLine() {
    if (next_ >= text_.size()) return false;
    const char* begin = text_.data() + next_;
    const void* newline = std::memchr(begin, '\n', text_.size() - next_);
    std::size_t end =
        newline ? static_cast<std::size_t>(static_cast<const char*>(newline) - text_.data()) : text_.size();
    line_ = std::string_view(begin, end - next_);
    if (!line_.empty() && line_.back() == '\r') line_.remove_suffix(1);
    next_ = end + 1;
    ++line_number_;
    pos_ = 0;
    return true;
  }

  // The next line that is neither blank nor a comment, from its first byte
  // after blanks; false at the end of the text.
  bool NextEntry() {
    while (NextLine()) {
      while (pos_ < line_.size() && IsBlank(line_[pos_])) ++pos_;
      if (pos_ < line_.size() && line_[pos_] != ';') return true;
    }
    return false;
  }

  std::string_view line() const { return line_; }
  bool AtKeyLine() const { return line_[pos_] == '['; }

  bool Fail(const char* message) {
    error_->line = line_number_;
    error_->message = message;
    return false;
  }

  // A [key] line: its root, and the names below the root as the line spells
  // them (empty for the root itself).
  bool ParseKeyLine(RegKey* root, std::string_view* names) {
    std::size_t close = line_.find_last_of(']');
    std::size_t end = close + 1;
    while (end < line_.size() && IsBlank(line_[end])) ++end;
    if (close == std::string_view::npos || end != line_.size())
      return Fail("a [key] line does not end with ]");
    std::string_view path = line_.substr(pos_ + 1, close - pos_ - 1);
    if (!path.empty() && path[0] == '-') return Fail("removing a key is not supported in this file");
    std::size_t slash = path.find('\\');
    *root = RootNamed(path.substr(0, slash));
    if (!*root) {
      return Fail("the key does not start with HKEY_CLASSES_ROOT, HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER");
    }
    // Empty for the root itself, but still at its place in the line.
    *names = path.substr(slash == std::string_view::npos ? path.size() : slash + 1);
    while (slash != std::string_view::npos) {
      std::size_t start = slash + 1;
      slash = path.find('\\', start);
      std::string_view name = path.substr(start, slash == std::string_view::npos ? slash : slash - start);
      if (name.empty() || name.size() > kMaxKeyNameLength) return Fail("a key name is empty or too long");
      if (std::any_of(name.begin(), name.end(), IsControl))
        return Fail("a key name holds a control character");
    }
    return true;
  }

  // A value line, into *value unless null.
  bool ParseValue(RegistryValue* value) {
    std::string* name = value ? &value->name : nullptr;
    std::string* data = value ? &value->data : nullptr;
    if (line_[pos_] == '@') {
      ++pos_;
    } else if (line_[pos_] == '"') {
      if (!ParseQuoted(name)) return false;
    } else {
      return Fail("expected a [key] line, a value name in quotes or @");
    }
    if (pos_ >= line_.size() || line_[pos_++] != '=') return Fail("a value name is not followed by =");

    std::uint32_t type = kRegSz;
    if (pos_ < line_.size() && line_[pos_] == '"') {
      if (!ParseQuoted(data)) return false;
      if (data) data->push_back('\0');
      if (!AtLineEnd()) return Fail("something follows the closing quote");
    } else if (ConsumeWord("dword:")) {
      std::uint32_t word = 0;
      if (!ParseNumber(8, &word) || !AtLineEnd()) return Fail("dword: takes up to eight hex digits");
      for (int i = 0; data && i < 4; ++i) data->push_back(static_cast<char>((word >> (8 * i)) & 0xff));
      type = kRegDword;
    } else if (ConsumeWord("hex:")) {
      type = 3;
      if (!ParseHexBytes(data)) return false;
    } else if (ConsumeWord("hex(")) {
      if (!ParseNumber(8, &type) || !ConsumeWord("):")) return Fail("hex( takes a hex type and ):");
      if (!ParseHexBytes(data)) return false;
    } else if (ConsumeWord("-")) {
      return Fail("removing a value is not supported in this file");
    } else {
      return Fail("a value is not a quoted string, dword: or hex");
    }
    if (value) value->type = type;
    return true;
  }

 private:
  bool AtLineEnd() {
    while (pos_ < line_.size() && IsBlank(line_[pos_])) ++pos_;
    return pos_ == line_.size();
  }

  // A quoted string at pos_ (into *out unless null), with \\ and \" as the
  // only escapes.
  bool ParseQuoted(std::string* out) {
    for (++pos_;; ++pos_) {
      if (pos_ >= line_.size()) return Fail("a quoted string is not closed");
      char c = line_[pos_];
      if (c == '"') {
        ++pos_;
        return true;
      }
      if (IsControl(c)) return Fail("a quoted string holds a control character");
      if (c == '\\') {
        if (++pos_ >= line_.size() || (line_[pos_] != '\\' && line_[pos_] != '"'))
          return Fail("a quoted string holds an escape other than \\\\ or \\\"");
        c = line_[pos_];
      }
      if (out) out->push_back(c);
    }
  }

  bool ConsumeWord(std::string_view word) {
    if (line_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
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

  // Comma-separated byte pairs (into *out unless null), continued on the
  // next line after a backslash.
  bool ParseHexBytes(std::string* out) {
    bool want_byte = true;
    bool any = false;
    for (;;) {
      if (AtLineEnd()) {
        if (want_byte && any) return Fail("a hex list ends with a comma");
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
        if (out) out->push_back(static_cast<char>(high * 16 + low));
        any = true;
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

  std::string_view text_;
  std::size_t next_;
  RegistryFileError* error_;
  int line_number_ = 0;
  std::string_view line_;
  std::size_t pos_ = 0;
};

// The registry's order of two [key] lines' names: level by level, each
// ignoring case. A backslash ends a level, so it comes before any byte a
// name holds.
bool NamesBefore(std::string_view left, std::string_view right) {
  auto rank = [](char c) { return c == '\\' ? 0 : static_cast<unsigned char>(UpperCase(c)); };
  return std::lexicographical_compare(left.begin(), left.end(), right.begin(), right.end(),
                                      [rank](char a, char b) { return rank(a) < rank(b); });
}

// Whether a [key] line's names (backslashes between) start with `levels`.
bool StartsWithLevels(std::string_view names, const std::vector<std::string>& levels) {
  for (const std::string& level : levels) {
    if (names.size() < level.size() || !EqualsIgnoreCase(names.substr(0, level.size()), level)) return false;
    if (names.size() > level.size() && names[level.size()] != '\\') return false;
    names.remove_prefix(std::min(names.size(), level.size() + 1));
  }
  return true;
}

std::size_t LevelsOf(std::string_view names) {
  return names.empty() ? 0 : 1 + static_cast<std::size_t>(std::count(names.begin(), names.end(), '\\'));
}

constexpr std::size_t kEveryLevel = std::numeric_limits<std::size_t>::max();

// A section that goes into the tree, and how much of it.
struct Kept {
  std::string_view names;
  std::size_t levels;  // of its names, those that go into the tree
  bool values;         // whether its values do
};

}  // namespace

void RegistryFileText::Clear() {
  text_ = std::string_view();
  for (RootSections& sections : roots_) sections.names.clear();
}

bool RegistryFileText::Check(std::string_view text, RegistryFileError* error) {
  Clear();
  text_ = text;
  if (CheckLines(error)) return true;
  Clear();
  return false;
}

bool RegistryFileText::CheckLines(RegistryFileError* error) {
  if (text_.empty()) return true;
  LineReader lines(text_, 0, error);
  if (!lines.NextLine() || lines.line() != kHeader)
    return lines.Fail("the file does not start with the line REGEDIT4");
  bool in_section = false;
  while (lines.NextEntry()) {
    if (lines.AtKeyLine()) {
      RegKey root = 0;
      std::string_view names;
      if (!lines.ParseKeyLine(&root, &names)) return false;
      for (RootSections& sections : roots_) {
        if (sections.root == root) sections.names.push_back(names);
      }
      in_section = true;
    } else if (!in_section) {
      return lines.Fail("a value comes before the first [key] line");
    } else if (!lines.ParseValue(nullptr)) {
      return false;
    }
  }
  return true;
}

void RegistryFileText::ReadValues(std::string_view names, RegistryNode* node) const {
  RegistryFileError unused;  // the text was checked
  LineReader lines(text_, static_cast<std::size_t>(names.data() - text_.data()), &unused);
  lines.NextLine();  // the rest of the [key] line
  while (lines.NextEntry() && !lines.AtKeyLine()) {
    RegistryValue value;
    lines.ParseValue(&value);
    node->SetValue(value.name, value.type, std::move(value.data));
  }
}

void RegistryFileText::Build(const std::vector<RegistryPath>* keys, RegistryTree* tree) const {
  *tree = RegistryTree();
  for (const RootSections& sections : roots_) BuildRoot(sections, keys, tree->Root(sections.root));
}

void RegistryFileText::BuildRoot(const RootSections& sections, const std::vector<RegistryPath>* keys,
                                 RegistryNode* root) const {
  auto below_root = [&sections](const RegistryPath& key) { return key.root == sections.root; };
  if (keys && std::none_of(keys->begin(), keys->end(), below_root)) return;
  std::vector<Kept> kept;
  for (std::string_view names : sections.names) {
    Kept entry{names, kEveryLevel, keys == nullptr};
    if (keys) {
      // Each key wants its own values and its subkeys' names.
      entry.levels = 0;
      for (const RegistryPath& key : *keys) {
        if (!below_root(key) || !StartsWithLevels(names, key.names)) continue;
        entry.levels = std::max(entry.levels, key.names.size() + 1);
        entry.values = entry.values || key.names.size() == LevelsOf(names);
      }
      if (entry.levels == 0) continue;
    }
    kept.push_back(entry);
  }
  // In the registry's order each new key lands at the end of its parent's
  // subkeys; among equal names the text's order stays, so the later value
  // wins. A file the tool wrote is in order already.
  auto before = [](const Kept& a, const Kept& b) { return NamesBefore(a.names, b.names); };
  if (!std::is_sorted(kept.begin(), kept.end(), before)) std::stable_sort(kept.begin(), kept.end(), before);

  for (const Kept& entry : kept) {
    RegistryNode* node = root;
    std::string_view names = entry.names;
    for (std::size_t level = 0; level < entry.levels && !names.empty(); ++level) {
      const std::size_t slash = std::min(names.find('\\'), names.size());
      bool inserted = false;
      node = &node->AddSubkey(std::string(names.substr(0, slash)), &inserted);
      names.remove_prefix(std::min(names.size(), slash + 1));
    }
    if (entry.values) ReadValues(entry.names, node);
  }
}

std::string FormatRegistryFile(const RegistryTree& tree) {
  std::string out = kHeader;
  out.push_back('\n');
  AppendKey(tree.classes_root, tree.classes_root.name, true, &out);
  AppendKey(tree.local_machine, tree.local_machine.name, true, &out);
  AppendKey(tree.current_user, tree.current_user.name, true, &out);
  return out;
}

}  // namespace nerbo

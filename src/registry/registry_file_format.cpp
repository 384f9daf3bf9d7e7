#include "registry/registry_file_format.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "runtime/portable/ascii.h"

namespace nerbo {
namespace {

constexpr const char* kHeader = "REGEDIT4";
constexpr std::size_t kMaxKeyNameLength = 255;
constexpr std::size_t kHexLineWidth = 76;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsPrintable(char c) {
  return static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7f;
}

// What the scanners of the parser's hot loops look for in a byte, so that
// each byte takes one lookup: every line of a large file is checked.
enum ByteClass : unsigned char { kControlByte = 1, kQuoteByte = 2, kBackslashByte = 4 };
constexpr std::array<unsigned char, 256> kByteClasses = [] {
  std::array<unsigned char, 256> classes{};
  for (int c = 0; c < 0x20; ++c) classes[c] = kControlByte;
  classes['"'] = kQuoteByte;
  classes['\\'] = kBackslashByte;
  return classes;
}();
inline unsigned char ClassOf(char c) { return kByteClasses[static_cast<unsigned char>(c)]; }

// EqualsIgnoreCase for the parser's hot path: a [key] line's names are
// compared for every section of the file, and most are spelt alike.
inline bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  if (a == b) return true;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x != y && ((x | 0x20) != (y | 0x20) || (x | 0x20) < 'a' || (x | 0x20) > 'z')) return false;
  }
  return true;
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

// One [key] section of the text: where its values go and the values read.
struct Section {
  RegKey root = 0;
  std::vector<std::string_view> names;  // the levels below the root, into the text
  std::vector<RegistryValue> values;    // in the order of the text
};

// The order of CompareIgnoringCase, inlined: sorting a large file that is
// out of order takes millions of these.
inline int CompareNames(std::string_view a, std::string_view b) {
  std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x == y) continue;
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 'a' + 'A');
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// The sections in the registry's order (names compared level by level,
// ignoring case) and, among equal paths, in the order of the text.
bool ComesBefore(const Section& left, const Section& right) {
  if (left.root != right.root) return left.root < right.root;
  std::size_t common = std::min(left.names.size(), right.names.size());
  for (std::size_t i = 0; i < common; ++i) {
    int order = CompareNames(left.names[i], right.names[i]);
    if (order != 0) return order < 0;
  }
  return left.names.size() < right.names.size();
}

class Parser {
 public:
  Parser(std::string_view text, RegistryFileFocus* focus, RegistryTree* tree, RegistryFileError* error)
      : text_(text), focus_(focus), tree_(tree), error_(error) {
    if (!focus_) return;
    for (const RegistryPath& key : focus_->keys) {
      const RegistryNode* root = tree_->Root(key.root);
      if (!root) continue;
      std::string path = root->name;
      for (const std::string& name : key.names) path += "\\" + name;
      focus_paths_.push_back(std::move(path));
    }
  }

  bool Run() {
    *tree_ = RegistryTree();
    if (text_.empty()) return true;
    if (!NextLine() || line_ != kHeader) return Fail("the file does not start with the line REGEDIT4");
    if (focus_ && focus_->text_checked && focus_->only_sections) {
      for (std::size_t offset : focus_->sections) {
        next_ = offset;
        if (!ParseLines(true)) return false;
      }
    } else {
      if (focus_) focus_->sections.clear();
      if (!ParseLines(false)) return false;
    }
    BuildTree();
    return true;
  }

 private:
  // The lines from next_ to the end, or (`one_section`) to the [key] line
  // after the first.
  bool ParseLines(bool one_section) {
    bool in_first = false;
    for (;;) {
      if (Checking() && !wanted_ && in_section_ && PassOverPlainLine()) continue;
      if (!NextLine()) break;
      if (!wanted_ && focus_ && focus_->text_checked) PassOverSection();
      std::size_t start = 0;
      while (start < line_.size() && IsBlank(line_[start])) ++start;
      if (start == line_.size() || line_[start] == ';') continue;
      pos_ = start;
      if (line_[start] == '[') {
        if (one_section && in_first) return true;
        in_first = true;
        if (!ParseSection()) return false;
      } else if (!ParseValue()) {
        return false;
      }
    }
    return true;
  }

  // Whether this parse checks every line, also of the sections it does not
  // keep: all but the parses of a text checked before.
  bool Checking() const { return !focus_ || !focus_->text_checked; }

  // Checks and consumes, in one pass that also finds its end, a line in
  // the shapes that make up nearly all of a large file: a blank line,
  // @="text" or "name"="text". False, with nothing consumed, for any other
  // line (right or wrong): the full parse of the line takes it and says
  // what is wrong. The values of such a line are not kept.
  bool PassOverPlainLine() {
    // Past the end already when the last line has no line end.
    if (next_ >= text_.size()) return false;
    const char* const end = text_.data() + text_.size();
    const char* at = text_.data() + next_;
    if (*at == '@' || *at == '"') {
      at = *at == '@' ? at + 1 : PastQuoted(at, end);
      if (!at || at == end || *at != '=') return false;
      at = PastQuoted(at + 1, end);
      if (!at) return false;
    }
    if (at != end && *at == '\r') ++at;
    if (at == end || *at != '\n') return false;
    next_ = static_cast<std::size_t>(at + 1 - text_.data());
    ++line_number_;
    return true;
  }

  // Past the closing quote of the quoted string at `at`; null when `at`
  // holds no quote, or the string is not closed on its line or holds a
  // control character or an escape other than \\ and \".
  static const char* PastQuoted(const char* at, const char* end) {
    if (at == end || *at != '"') return nullptr;
    for (++at; at != end; ++at) {
      unsigned char byte_class = ClassOf(*at);
      if (byte_class == 0) continue;
      if (byte_class == kQuoteByte) return at + 1;
      if (byte_class != kBackslashByte || at + 1 == end || !(ClassOf(at[1]) & (kQuoteByte | kBackslashByte)))
        return nullptr;
      ++at;
    }
    return nullptr;
  }

  // The next line without its line end; false at the end of the text.
  bool NextLine() {
    if (next_ >= text_.size()) return false;
    const char* begin = text_.data() + next_;
    const void* newline = std::memchr(begin, '\n', text_.size() - next_);
    std::size_t end =
        newline ? static_cast<std::size_t>(static_cast<const char*>(newline) - text_.data()) : text_.size();
    line_ = std::string_view(begin, end - next_);
    line_start_ = next_;
    if (!line_.empty() && line_.back() == '\r') line_.remove_suffix(1);
    next_ = end + 1;
    ++line_number_;
    pos_ = 0;
    return true;
  }

  // Moves to the next [key] line (a '[' with only blanks before it on its
  // line; inside a quoted value it has other bytes before it) or the end.
  // Line numbers are no longer counted: a checked text has no error to
  // report.
  void PassOverSection() {
    std::size_t at = line_start_;
    for (;;) {
      const void* found =
          at < text_.size() ? std::memchr(text_.data() + at, '[', text_.size() - at) : nullptr;
      if (!found) {
        next_ = text_.size();
        line_ = std::string_view();
        return;
      }
      std::size_t bracket = static_cast<std::size_t>(static_cast<const char*>(found) - text_.data());
      std::size_t line_start = bracket;
      while (line_start > 0 && IsBlank(text_[line_start - 1])) --line_start;
      if (line_start == 0 || text_[line_start - 1] == '\n') {
        next_ = line_start;
        NextLine();
        return;
      }
      at = bracket + 1;
    }
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

  // Whether a [key] line's path is a focus key or lies below one (every
  // path, without a focus).
  bool Wanted(std::string_view path) const {
    if (!focus_) return true;
    for (const std::string& key : focus_paths_) {
      // The byte after the key first: it turns most paths away at once.
      if (path.size() >= key.size() && (path.size() == key.size() || path[key.size()] == '\\') &&
          SameIgnoringCase(path.substr(0, key.size()), key))
        return true;
    }
    return false;
  }

  // Cuts a wanted section's levels to the depth the focus asks for: a focus
  // key and its subkeys' names. *values tells whether its values count.
  void KeepLevels(RegKey root, std::vector<std::string_view>* names, bool* values) const {
    *values = !focus_;
    if (!focus_) return;
    std::size_t depth = 0;
    for (const RegistryPath& key : focus_->keys) {
      if (key.root != root || key.names.size() > names->size()) continue;
      bool below = true;
      for (std::size_t i = 0; i < key.names.size() && below; ++i)
        below = EqualsIgnoreCase(key.names[i], (*names)[i]);
      if (!below) continue;
      depth = std::max(depth, key.names.size() + 1);
      *values = *values || key.names.size() == names->size();
    }
    if (depth < names->size()) names->resize(depth);
  }

  bool ParseSection() {
    std::size_t close = line_.find_last_of(']');
    std::size_t end = close + 1;
    while (end < line_.size() && IsBlank(line_[end])) ++end;
    if (close == std::string_view::npos || end != line_.size())
      return Fail("a [key] line does not end with ]");
    std::string_view path = line_.substr(pos_ + 1, close - pos_ - 1);
    in_section_ = true;
    wanted_ = Wanted(path);
    // A checked text needs no second look at what the reads do not want.
    if (!wanted_ && focus_->text_checked) return true;
    if (!path.empty() && path[0] == '-') return Fail("removing a key is not supported in this file");
    std::size_t slash = path.find('\\');
    RegKey root = RootNamed(path.substr(0, slash));
    if (!root) {
      return Fail("the key does not start with HKEY_CLASSES_ROOT, HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER");
    }
    if (!wanted_ && (slash == std::string_view::npos || PlainNames(path.substr(slash + 1)))) return true;
    std::vector<std::string_view> names;
    while (slash != std::string_view::npos) {
      // One pass over the name finds its end and any control character.
      std::size_t start = slash + 1, stop = start;
      unsigned char classes = 0;
      for (; stop < path.size() && !(ClassOf(path[stop]) & kBackslashByte); ++stop)
        classes |= ClassOf(path[stop]);
      std::string_view name = path.substr(start, stop - start);
      if (name.empty() || name.size() > kMaxKeyNameLength) return Fail("a key name is empty or too long");
      if (classes & kControlByte) return Fail("a key name holds a control character");
      if (wanted_) names.push_back(name);
      slash = stop < path.size() ? stop : std::string_view::npos;
    }
    if (!wanted_) return true;
    bool values = false;
    KeepLevels(root, &names, &values);
    sections_.push_back(Section{root, std::move(names), {}});
    if (focus_ && !focus_->only_sections) focus_->sections.push_back(line_start_);
    wanted_ = values;
    return true;
  }

  // Whether the names of a [key] line below its root (`names`, with the
  // backslashes between them) are all right: none empty, too long or with a
  // control character. One pass of few branches over all of them serves
  // nearly every section of a large file that no read wants; false leaves
  // the line to the loop over each name, which says what is wrong.
  static bool PlainNames(std::string_view names) {
    if (names.empty() || names.size() > kMaxKeyNameLength || names.front() == '\\' || names.back() == '\\')
      return false;
    // Written so that the compiler runs it over many bytes at a time.
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(names.data());
    unsigned char lowest = bytes[names.size() - 1], doubled_backslash = 0;
    for (std::size_t i = 0; i + 1 < names.size(); ++i) {
      unsigned char byte = bytes[i], next = bytes[i + 1];
      lowest = lowest < byte ? lowest : byte;
      doubled_backslash |= static_cast<unsigned char>((byte == '\\') & (next == '\\'));
    }
    return lowest >= 0x20 && !doubled_backslash;
  }

  RegKey RootNamed(std::string_view name) const {
    if (SameIgnoringCase(name, tree_->classes_root.name)) return kClassesRoot;
    if (SameIgnoringCase(name, tree_->local_machine.name)) return kLocalMachine;
    if (SameIgnoringCase(name, tree_->current_user.name)) return kCurrentUser;
    return 0;
  }

  // A quoted string at pos_ (into *out unless null), with \\ and \" as the only escapes. The plain
  // bytes between escapes are taken a run at a time.
  bool ParseQuoted(std::string* out) {
    ++pos_;
    for (;;) {
      std::size_t run = pos_;
      while (run < line_.size() && ClassOf(line_[run]) == 0) ++run;
      if (out) out->append(line_.data() + pos_, run - pos_);
      pos_ = run;
      if (pos_ >= line_.size()) return Fail("a quoted string is not closed");
      char c = line_[pos_++];
      if (c == '"') return true;
      if (c != '\\') return Fail("a quoted string holds a control character");
      if (pos_ >= line_.size() || (line_[pos_] != '\\' && line_[pos_] != '"'))
        return Fail("a quoted string holds an escape other than \\\\ or \\\"");
      if (out) out->push_back(line_[pos_]);
      ++pos_;
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

  // Comma-separated byte pairs (into *out unless null), continued on the next line after a backslash.
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

  bool ParseValue() {
    if (!in_section_) return Fail("a value comes before the first [key] line");
    // Read into buffers that are used again, so that the values no read
    // wants cost no allocation.
    name_buffer_.clear();
    data_buffer_.clear();
    std::string* name = wanted_ ? &name_buffer_ : nullptr;
    std::string* data = wanted_ ? &data_buffer_ : nullptr;
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
    if (wanted_) sections_.back().values.push_back(RegistryValue{name_buffer_, type, data_buffer_});
    return true;
  }

  // Puts the sections into the tree in the registry's order, so that each
  // new key lands at the end of its parent's subkeys: no insertion moves
  // the keys already there, whatever the order of the text.
  void BuildTree() {
    // A file the tool wrote is in order already.
    if (!std::is_sorted(sections_.begin(), sections_.end(), ComesBefore))
      std::stable_sort(sections_.begin(), sections_.end(), ComesBefore);
    for (Section& section : sections_) {
      RegistryNode* node = tree_->Root(section.root);
      for (std::string_view name : section.names) {
        bool inserted = false;
        node = &node->AddSubkey(std::string(name), &inserted);
      }
      for (RegistryValue& value : section.values)
        node->SetValue(value.name, value.type, std::move(value.data));
    }
  }

  std::string_view text_;
  RegistryFileFocus* focus_;
  RegistryTree* tree_;
  RegistryFileError* error_;
  std::size_t next_ = 0;
  int line_number_ = 0;
  std::string_view line_;
  std::size_t line_start_ = 0;
  std::size_t pos_ = 0;
  std::vector<Section> sections_;
  std::vector<std::string> focus_paths_;  // the focus keys as a [key] line names them
  std::string name_buffer_;
  std::string data_buffer_;
  bool in_section_ = false;  // a [key] line came before
  bool wanted_ = false;      // the values of the current section are kept
};

}  // namespace

bool ParseRegistryFile(std::string_view text, RegistryTree* tree, RegistryFileError* error,
                       RegistryFileFocus* focus) {
  return Parser(text, focus, tree, error).Run();
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

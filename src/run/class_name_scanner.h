// Finds a class's fully qualified name and package depth in the raw bytes of
// its class file, without parsing the class-file structure: it looks for the
// simple class name where it ends a constant-pool text entry holding a name
// in internal form (pkg/sub/Name).
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace nerbo {

// The line the class run prints when the accepted name entry is followed by
// a class reference rather than a text entry, the layout JBuilder writes.
inline constexpr char kJBuilderNote[] = "Classe JBuilder\n";

struct ClassNameResult {
  std::string qualified_name;  // with '.' between the components
  int package_depth = 0;
  bool jbuilder_note = false;
  // The name is the class file's own (this_class), not the scan's guess:
  // java starts the class only from a file of the class's simple name.
  bool own_name = false;
  bool module_descriptor = false;  // the file describes a module, not a class
};

// Fills `buffer` with up to `size` bytes and gives the count, which is short
// only at the end of the data; -1 on a read error.
using ClassByteSource = std::function<long(unsigned char* buffer, std::size_t size)>;

// Scans the bytes of `source` from its start. When no entry qualifies (or the
// data cannot be read) the result is the simple class name with depth 0.
ClassNameResult ScanQualifiedClassName(const ClassByteSource& source, const std::string& simple_class_name);

}  // namespace nerbo

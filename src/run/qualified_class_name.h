// The class a class file holds, as the class run names it to java: the
// class file's own name (this_class) where the file can be read as a class
// file, else what the window scan finds (run/class_name_scanner.h).
#pragma once

#include <functional>
#include <string>

#include "run/class_name_scanner.h"

namespace nerbo {

// Gives a source that reads the class file from its start; each call starts
// one read of the file.
using ClassFileReads = std::function<ClassByteSource()>;

// Reads the file at most twice: the window scan and the walk of the
// constant pool share the first read, and the second reads only as far as
// the entry that holds the class's name. Where the scan found the class's
// own name the result is the scan's, "Classe JBuilder" note included; where
// it found another name or none, the own name without the note. The own
// name is given in plain UTF-8, as Java means the modified UTF-8 it is
// stored in.
ClassNameResult ReadQualifiedClassName(const ClassFileReads& reads, const std::string& simple_class_name);

// The same over the file `class_file_name`, opened in binary mode relative
// to the current directory, with the own name in the encoding of the
// platform's command lines; a file that cannot be opened, and a name that
// has no form in that encoding, give the simple class name with depth 0.
ClassNameResult FindQualifiedClassName(const char* class_file_name, const std::string& simple_class_name);

}  // namespace nerbo

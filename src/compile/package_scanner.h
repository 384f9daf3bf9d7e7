// Finds how many package levels a Java source declares, as Java reads the
// declaration: the first "package" keyword outside comments, string and
// character literals and text blocks, then the dots of the name up to its
// semicolon, comments between its parts aside, plus one; 0 when there is no
// such keyword (a source of the default package, a module-info.java).
#pragma once

#include "compile/java_source_text.h"

namespace nerbo {

// Scans the text read from `source` (compile/java_source_text.h) to the
// declaration's semicolon or the end of the text.
int ScanPackageDepth(const SourceBytes& source);

// The same scan over the file `source_name`, opened relative to the current
// directory; a source that cannot be opened gives depth 0.
int FindPackageDepth(const char* source_name);

}  // namespace nerbo

// Finds how many package levels a Java source declares: the dots between the
// first "package" outside comments and the ';' or line end after it, plus
// one; 0 when there is no such word. Not a tokenizer: it knows line and block
// comments and the seven letters of the word, nothing else.
#pragma once

#include "runtime/portable/text_mode_lines.h"

namespace nerbo {

// Scans the text read from `source` to the first match, the end of the text
// or a read error.
int ScanPackageDepth(const TextBlockSource& source);

// The same scan over the file `source_name`, opened relative to the current
// directory; a source that cannot be opened gives depth 0.
int FindPackageDepth(const char* source_name);

}  // namespace nerbo

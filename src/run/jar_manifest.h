// The Main-Class attribute of a jar manifest: what `java -jar` starts.
#pragma once

#include <string>

namespace nerbo {

// The value of Main-Class in the manifest's main section (up to its first
// empty line), blanks around it dropped; empty when there is none, as in a
// library jar. Lines may end in CR LF, LF or CR; a line that begins with a
// blank continues the one before; attribute names ignore letter case; of
// several Main-Class lines the last counts, as for java.
std::string MainClassOf(const std::string& manifest);

}  // namespace nerbo

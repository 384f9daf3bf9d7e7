// Splitting a command line into arguments and joining arguments into one,
// with the tool's own rules (the same on every platform, so a child started
// on Linux sees the arguments it would see on Windows).
#pragma once

#include <string>
#include <vector>

namespace nerbo {

// Returns the text after the first token (the program name): leading blanks
// and tabs skipped; a token that begins with a double quote runs to the next
// one, which is skipped too; any other token runs to a blank, tab or the end.
const char* SkipProgramName(const char* command_line);

// Splits at blanks and tabs outside double quotes. Quotes open and close
// stretches and are removed; "" alone is an empty argument; a backslash right
// before a double quote gives a literal double quote, inside or outside a
// stretch; any other backslash is an ordinary character. Nothing is expanded.
std::vector<std::string> SplitArguments(const char* text);

// Joins the arguments with one blank between them: nothing is quoted, an
// empty argument adds only its blank.
std::string JoinArguments(const std::vector<std::string>& arguments);

}  // namespace nerbo

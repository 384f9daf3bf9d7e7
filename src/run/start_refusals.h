// What keeps java from starting the class a class file holds: the file is a
// module's descriptor, its name is not its class's, or it lies outside its
// package's folder. Each ends the run before java starts, with a line that
// says what the file holds and where, or under which name, it must be.
#pragma once

#include <string>

#include "core/run_context.h"
#include "run/class_name_scanner.h"

namespace nerbo {

// Returns when java can start `found` from `class_file`, in the current
// directory; else ends the run with code 25 or 24.
void EndUnlessStartable(const RunContext& context, const std::string& class_file,
                        const ClassNameResult& found);

}  // namespace nerbo

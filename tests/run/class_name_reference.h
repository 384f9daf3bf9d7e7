// The class-name discovery written the slow way, one position and one byte at
// a time, as the algorithm reads. The fast scanner must give the same result
// for every input; the differential test and the fuzz target check that.
#pragma once

#include <string>

#include "run/class_name_scanner.h"

namespace nerbo {

ClassNameResult ReferenceQualifiedClassName(const std::string& file, const std::string& simple_class_name);

// The class run's name the plain way: the whole class file in memory, each
// pool entry's start noted, this_class looked up; the scan's answer where
// that finds no class name.
ClassNameResult ReferenceClassRunName(const std::string& file, const std::string& simple_class_name);

}  // namespace nerbo

// Sets or removes one environment variable of the test process for a scope
// and puts the old state back afterwards. Child processes inherit it.
#pragma once

#include <string>

namespace nerbo {

class ScopedEnvironment {
 public:
  ScopedEnvironment(const std::string& name, const std::string& value);  // sets
  explicit ScopedEnvironment(const std::string& name);                   // removes
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::string name_;
  bool had_value_ = false;
  std::string old_value_;
};

// The platform's own calls, in scoped_environment_posix.cpp / _win32.cpp.
bool ReadEnvironment(const std::string& name, std::string* value);
void WriteEnvironment(const std::string& name, const std::string* value);  // null removes

}  // namespace nerbo

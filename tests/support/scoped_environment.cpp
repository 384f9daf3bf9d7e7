#include "support/scoped_environment.h"

namespace nerbo {

ScopedEnvironment::ScopedEnvironment(const std::string& name, const std::string& value) : name_(name) {
  had_value_ = ReadEnvironment(name_, &old_value_);
  WriteEnvironment(name_, &value);
}

ScopedEnvironment::ScopedEnvironment(const std::string& name) : name_(name) {
  had_value_ = ReadEnvironment(name_, &old_value_);
  WriteEnvironment(name_, nullptr);
}

ScopedEnvironment::~ScopedEnvironment() { WriteEnvironment(name_, had_value_ ? &old_value_ : nullptr); }

}  // namespace nerbo

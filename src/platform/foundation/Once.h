// A value built on first use, exactly once even when first uses race, then shared read-only.
#pragma once

#include <mutex>
#include <optional>

namespace foundation {

template <class T>
class Once {
 public:
  template <class Build>
  const T& get(Build&& build) const {
    std::call_once(flag_, [&] { value_.emplace(build()); });
    return *value_;
  }

 private:
  mutable std::once_flag flag_;
  mutable std::optional<T> value_;
};

}  // namespace foundation

// The one way of reporting what went wrong, from the drawing layer up to the host: a Failure says
// whether the user asked for something impossible (a usage error, status 2), the job could not be
// done at run time (status 1), or a check ran and found problems (status 3), with a one-line
// message. Result<T> is a T or a Failure. Plain
// values; no exceptions cross this layer.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace base {

// The process's exit statuses, one meaning each.
enum class ExitStatus { success = 0, failure = 1, usage = 2, problems = 3 };

struct Failure {
  ExitStatus status = ExitStatus::failure;
  std::string message;

  static Failure usage(std::string message) { return {ExitStatus::usage, std::move(message)}; }
  static Failure runtime(std::string message) { return {ExitStatus::failure, std::move(message)}; }
  // A check that ran to the end and found what it looks for (lint problems, changed snapshots).
  static Failure problems(std::string message) {
    return {ExitStatus::problems, std::move(message)};
  }
  bool operator==(const Failure&) const = default;
};

struct Done {
  bool operator==(const Done&) const = default;
};

template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : v_(std::move(value)) {}            // NOLINT: implicit, as a return value
  Result(Failure failure) : v_(std::move(failure)) {}  // NOLINT

  bool ok() const { return v_.index() == 0; }
  explicit operator bool() const { return ok(); }
  T& value() & { return std::get<0>(v_); }
  const T& value() const& { return std::get<0>(v_); }
  T&& value() && { return std::get<0>(std::move(v_)); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  const Failure& failure() const { return std::get<1>(v_); }

 private:
  std::variant<T, Failure> v_;
};

// What a command returns: done, or why not.
using Outcome = Result<Done>;

}  // namespace base

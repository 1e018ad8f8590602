// NSNumberFormatter in the decimal style, on ICU's decimal format (what the platform itself uses):
// the locale's grouping and separators, a configurable range of fraction digits, and the
// formatter's default half-even rounding of the shortest decimal that round-trips the double.
//
// Thread-safety: configure from one thread; once configured, stringFromNumber may be called from
// any number of threads at once. Formatting goes through an immutable ICU LocalizedNumberFormatter
// snapshot taken after each setter, never through the mutable ICU DecimalFormat.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace foundation {

class NumberFormatter {
 public:
  // Decimal style in "en_US", 0 to 3 fraction digits (ICU's decimal defaults).
  NumberFormatter();
  ~NumberFormatter();
  NumberFormatter(NumberFormatter&&) noexcept;
  NumberFormatter& operator=(NumberFormatter&&) noexcept;

  // An ICU locale identifier ("en_US", "de_DE"); resets nothing else. An identifier ICU cannot
  // use (see canonicalLocaleIdentifier) formats as "en_US".
  void setLocale(const std::string& identifier);
  // Raising the minimum above the maximum raises the maximum, and the other way round.
  void setMinimumFractionDigits(int digits);
  void setMaximumFractionDigits(int digits);

  int minimumFractionDigits() const;
  int maximumFractionDigits() const;
  const std::string& localeIdentifier() const { return localeIdentifier_; }

  // The number as ICU writes it (NaN as "NaN", infinity as "∞", a sign for negative values);
  // nothing when ICU reports a failure.
  std::optional<std::string> stringFromNumber(double number) const;

 private:
  struct Impl;
  void rebuild(int minimumFractionDigits, int maximumFractionDigits);

  std::string localeIdentifier_ = "en_US";
  std::unique_ptr<Impl> impl_;
};

}  // namespace foundation

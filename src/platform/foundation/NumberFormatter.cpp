#include "platform/foundation/NumberFormatter.h"

#include <unicode/decimfmt.h>
#include <unicode/numberformatter.h>

#include <algorithm>

#include "platform/foundation/Locale.h"

namespace foundation {

// The configured ICU decimal format, reduced to its immutable number-formatter form.
struct NumberFormatter::Impl {
  int minimumFractionDigits = 0;
  int maximumFractionDigits = 3;
  std::optional<icu::number::LocalizedNumberFormatter> formatter;
};

NumberFormatter::NumberFormatter() : impl_(std::make_unique<Impl>()) {
  const icu::Locale locale(localeIdentifier_.c_str());
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::NumberFormat> format(
      icu::NumberFormat::createInstance(locale, UNUM_DECIMAL, status));
  if (U_SUCCESS(status) && format) {
    impl_->minimumFractionDigits = format->getMinimumFractionDigits();
    impl_->maximumFractionDigits = format->getMaximumFractionDigits();
  }
  rebuild(impl_->minimumFractionDigits, impl_->maximumFractionDigits);
}

NumberFormatter::~NumberFormatter() = default;
NumberFormatter::NumberFormatter(NumberFormatter&&) noexcept = default;
NumberFormatter& NumberFormatter::operator=(NumberFormatter&&) noexcept = default;

void NumberFormatter::rebuild(int minimumFractionDigits, int maximumFractionDigits) {
  impl_->minimumFractionDigits = minimumFractionDigits;
  impl_->maximumFractionDigits = maximumFractionDigits;
  impl_->formatter.reset();

  // Built the way unum_open(UNUM_DECIMAL, locale) builds it, so the output is ICU's own.
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::NumberFormat> format(icu::NumberFormat::createInstance(
      icu::Locale(usableLocaleIdentifier(localeIdentifier_).c_str()), UNUM_DECIMAL, status));
  auto* decimal = dynamic_cast<icu::DecimalFormat*>(format.get());
  if (U_FAILURE(status) || !decimal) return;
  decimal->setMaximumFractionDigits(maximumFractionDigits);
  decimal->setMinimumFractionDigits(minimumFractionDigits);
  decimal->setRoundingMode(icu::DecimalFormat::kRoundHalfEven);
  const icu::number::LocalizedNumberFormatter* snapshot = decimal->toNumberFormatter(status);
  if (U_FAILURE(status) || !snapshot) return;
  impl_->formatter.emplace(*snapshot);
  // ICU compiles a formatter's fast path lazily after its first few uses, publishing it with
  // atomics. Reach that point here, while the formatter is still owned by one thread, so that
  // concurrent readers only ever use the finished formatter (and race checkers agree).
  for (int i = 0; i < 8; ++i) {
    UErrorCode ignored = U_ZERO_ERROR;
    impl_->formatter->formatDouble(0, ignored);
  }
}

void NumberFormatter::setLocale(const std::string& identifier) {
  localeIdentifier_ = identifier;
  rebuild(impl_->minimumFractionDigits, impl_->maximumFractionDigits);
}

void NumberFormatter::setMinimumFractionDigits(int digits) {
  digits = std::max(digits, 0);
  rebuild(digits, std::max(digits, impl_->maximumFractionDigits));
}

void NumberFormatter::setMaximumFractionDigits(int digits) {
  digits = std::max(digits, 0);
  rebuild(std::min(digits, impl_->minimumFractionDigits), digits);
}

int NumberFormatter::minimumFractionDigits() const {
  return impl_->minimumFractionDigits;
}
int NumberFormatter::maximumFractionDigits() const {
  return impl_->maximumFractionDigits;
}

std::optional<std::string> NumberFormatter::stringFromNumber(double number) const {
  if (!impl_ || !impl_->formatter) return std::nullopt;
  UErrorCode status = U_ZERO_ERROR;
  icu::number::FormattedNumber formatted = impl_->formatter->formatDouble(number, status);
  icu::UnicodeString text = formatted.toString(status);
  if (U_FAILURE(status)) return std::nullopt;
  std::string result;
  text.toUTF8String(result);
  return result;
}

}  // namespace foundation

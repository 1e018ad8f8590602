#include "platform/foundation/DateFormatter.h"

#include <unicode/datefmt.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/uchar.h>

#include <memory>
#include <optional>
#include <vector>

#include "platform/foundation/Locale.h"

namespace foundation {
namespace {

// One piece of an ICU pattern: a run of one pattern letter, or literal text as written (quoted
// text keeps its quotes).
struct Token {
  bool isField = false;
  char16_t letter = 0;
  int count = 0;
  icu::UnicodeString raw;
};

bool isAsciiLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

std::vector<Token> tokenize(const icu::UnicodeString& pattern) {
  std::vector<Token> tokens;
  const int32_t n = pattern.length();
  int32_t i = 0;
  while (i < n) {
    const char16_t c = pattern.charAt(i);
    int32_t end = i + 1;
    if (c == u'\'') {
      if (end < n && pattern.charAt(end) == u'\'') {
        end += 1;  // '' is a literal quote
      } else {
        while (end < n) {
          if (pattern.charAt(end) == u'\'') {
            if (end + 1 < n && pattern.charAt(end + 1) == u'\'') {
              end += 2;
              continue;
            }
            end += 1;
            break;
          }
          end += 1;
        }
      }
      tokens.push_back({false, 0, 0, icu::UnicodeString(pattern, i, end - i)});
    } else if (isAsciiLetter(c)) {
      while (end < n && pattern.charAt(end) == c) ++end;
      tokens.push_back({true, c, end - i, icu::UnicodeString(pattern, i, end - i)});
    } else {
      tokens.push_back({false, 0, 0, icu::UnicodeString(c)});
    }
    i = end;
  }
  return tokens;
}

icu::UnicodeString join(const std::vector<Token>& tokens) {
  icu::UnicodeString out;
  for (const Token& t : tokens) out += t.raw;
  return out;
}

Token field(char16_t letter, int count) {
  icu::UnicodeString raw;
  for (int i = 0; i < count; ++i) raw += letter;
  return {true, letter, count, raw};
}

bool isField(const Token& t, std::u16string_view letters) {
  return t.isField && letters.find(t.letter) != std::u16string_view::npos;
}
bool isSpacing(const Token& t) {
  return !t.isField && t.raw.length() == 1 && u_isUWhiteSpace(t.raw.charAt(0));
}

constexpr std::u16string_view kTwelveHour = u"hK";
constexpr std::u16string_view kTwentyFourHour = u"Hk";
constexpr std::u16string_view kDayPeriod = u"abB";
constexpr std::u16string_view kTimeFields = u"hHkKmsSA";

std::optional<std::vector<Token>> skeletonPattern(const icu::Locale& locale,
                                                  const char16_t* skeleton) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::DateFormat> format(
      icu::DateFormat::createInstanceForSkeleton(icu::UnicodeString(skeleton), locale, status));
  auto* simple = dynamic_cast<icu::SimpleDateFormat*>(format.get());
  if (U_FAILURE(status) || !simple) return std::nullopt;
  icu::UnicodeString pattern;
  simple->toPattern(pattern);
  return tokenize(pattern);
}

// The locale's 24-hour field width: "HH" in en_US and de, "H" in ja.
int twentyFourHourWidth(const icu::Locale& locale) {
  if (auto tokens = skeletonPattern(locale, u"Hmm")) {
    for (const Token& t : *tokens)
      if (isField(t, kTwentyFourHour)) return t.count;
  }
  return 2;
}

std::vector<Token> toTwentyFourHour(std::vector<Token> tokens, const icu::Locale& locale) {
  const int width = twentyFourHourWidth(locale);
  for (Token& t : tokens)
    if (isField(t, kTwelveHour)) t = field(u'H', width);
  for (size_t i = 0; i < tokens.size();) {
    if (!isField(tokens[i], kDayPeriod)) {
      ++i;
      continue;
    }
    // Drop the spacing that joined the marker to the time: before it, or after it when it leads.
    size_t first = i;
    while (first > 0 && isSpacing(tokens[first - 1])) --first;
    size_t last = i + 1;
    if (first == i)
      while (last < tokens.size() && isSpacing(tokens[last])) ++last;
    tokens.erase(tokens.begin() + first, tokens.begin() + last);
    i = first;
  }
  return tokens;
}

std::vector<Token> toTwelveHour(std::vector<Token> tokens, const icu::Locale& locale) {
  bool hasMarker = false;
  for (Token& t : tokens) {
    if (isField(t, kTwentyFourHour)) t = field(u'h', 1);
    if (isField(t, kDayPeriod)) hasMarker = true;
  }
  if (hasMarker) return tokens;

  // Where the locale's own 12-hour pattern puts the marker, and what separates it from the time.
  bool before = false;
  icu::UnicodeString separator(u" ");
  if (auto model = skeletonPattern(locale, u"hmm")) {
    for (size_t m = 0; m < model->size(); ++m) {
      if (!isField((*model)[m], kDayPeriod)) continue;
      separator.remove();
      size_t hour = 0;
      while (hour < model->size() && !isField((*model)[hour], kTwelveHour)) ++hour;
      before = m < hour;
      if (before) {
        for (size_t k = m + 1; k < model->size() && !(*model)[k].isField; ++k)
          separator += (*model)[k].raw;
      } else {
        for (size_t k = m; k > 0 && !(*model)[k - 1].isField; --k)
          separator.insert(0, (*model)[k - 1].raw);
      }
      break;
    }
  }
  const Token marker = field(u'a', 1);
  const Token spacing{false, 0, 0, separator};
  if (before) {
    for (size_t i = 0; i < tokens.size(); ++i) {
      if (!isField(tokens[i], kTwelveHour)) continue;
      tokens.insert(tokens.begin() + i, {marker, spacing});
      break;
    }
  } else {
    size_t lastTime = tokens.size();
    for (size_t i = 0; i < tokens.size(); ++i)
      if (isField(tokens[i], kTimeFields)) lastTime = i;
    if (lastTime < tokens.size()) tokens.insert(tokens.begin() + lastTime + 1, {spacing, marker});
  }
  return tokens;
}

icu::UnicodeString rewrite(const icu::UnicodeString& pattern, const icu::Locale& locale,
                           HourCycle cycle) {
  switch (cycle) {
    case HourCycle::localeDefault:
      return pattern;
    case HourCycle::h24:
      return join(toTwentyFourHour(tokenize(pattern), locale));
    case HourCycle::h12:
      return join(toTwelveHour(tokenize(pattern), locale));
  }
  return pattern;
}

icu::DateFormat::EStyle icuStyle(DateFormatterStyle style) {
  switch (style) {
    case DateFormatterStyle::noStyle:
      return icu::DateFormat::kNone;
    case DateFormatterStyle::shortStyle:
      return icu::DateFormat::kShort;
    case DateFormatterStyle::mediumStyle:
      return icu::DateFormat::kMedium;
    case DateFormatterStyle::longStyle:
      return icu::DateFormat::kLong;
    case DateFormatterStyle::fullStyle:
      return icu::DateFormat::kFull;
  }
  return icu::DateFormat::kNone;
}

std::string utf8(const icu::UnicodeString& text) {
  std::string out;
  text.toUTF8String(out);
  return out;
}

// ICU crashes building a date format for some malformed identifiers: those become "en_US".
icu::Locale icuLocale(const std::string& identifier) {
  return icu::Locale(usableLocaleIdentifier(identifier).c_str());
}

// The ICU formatter for the settings, its pattern already rewritten for the hour cycle.
std::unique_ptr<icu::SimpleDateFormat> makeFormat(const DateFormatter& settings) {
  if (settings.dateStyle() == DateFormatterStyle::noStyle &&
      settings.timeStyle() == DateFormatterStyle::noStyle)
    return nullptr;
  const icu::Locale locale = icuLocale(settings.localeIdentifier());
  std::unique_ptr<icu::DateFormat> format(icu::DateFormat::createDateTimeInstance(
      icuStyle(settings.dateStyle()), icuStyle(settings.timeStyle()), locale));
  auto* simple = dynamic_cast<icu::SimpleDateFormat*>(format.get());
  if (!simple) return nullptr;
  format.release();
  std::unique_ptr<icu::SimpleDateFormat> result(simple);
  if (settings.hourCycle() != HourCycle::localeDefault) {
    icu::UnicodeString pattern;
    result->toPattern(pattern);
    result->applyPattern(rewrite(pattern, locale, settings.hourCycle()));
  }
  return result;
}

}  // namespace

std::string patternForHourCycle(const std::string& pattern, const std::string& localeIdentifier,
                                HourCycle cycle) {
  return utf8(rewrite(icu::UnicodeString::fromUTF8(pattern), icuLocale(localeIdentifier), cycle));
}

std::string DateFormatter::stringFromDate(Date date) const {
  auto format = makeFormat(*this);
  if (!format) return {};
  format->adoptTimeZone(
      icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(timeZoneIdentifier_)));
  icu::UnicodeString text;
  format->format(static_cast<UDate>(date.secondsSince1970 * 1000.0), text);
  return utf8(text);
}

}  // namespace foundation

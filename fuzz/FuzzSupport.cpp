#include "FuzzSupport.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "FuzzCheck.h"
#include "platform/foundation/BinaryPlistWriter.h"
#include "platform/foundation/Unicode.h"
#include "platform/os/MemoryFileSystem.h"
#include "summary/data/SummaryLoader.h"

namespace tamsa_fuzz {
namespace {

using foundation::PlistArray;
using foundation::PlistData;
using foundation::PlistDictionary;
using foundation::PlistInteger;
using foundation::PlistValue;

bool sameDouble(double a, double b) {
  return (std::isnan(a) && std::isnan(b)) || a == b;
}

void shape(const PlistValue& v, int depth, ValueShape& s) {
  ++s.nodes;
  auto text = [&](const std::string& t) {
    if (!foundation::unicode::isValidUtf8(t)) s.textIsUtf8 = false;
  };
  if (const auto* str = std::get_if<std::string>(&v.value)) text(*str);
  if (const auto* d = std::get_if<double>(&v.value)) {
    if (!std::isfinite(*d)) s.hasNonFiniteReal = true;
  }
  if (const auto* date = std::get_if<foundation::Date>(&v.value)) {
    s.hasDate = true;
    if (!std::isfinite(date->secondsSince1970)) s.hasNonFiniteReal = true;
  }
  if (const auto* a = std::get_if<PlistArray>(&v.value)) {
    s.depth = std::max(s.depth, depth + 1);
    for (const auto& child : *a) shape(child, depth + 1, s);
  }
  if (const auto* d = std::get_if<PlistDictionary>(&v.value)) {
    s.depth = std::max(s.depth, depth + 1);
    for (const auto& [key, child] : *d) {
      text(key);
      shape(child, depth + 1, s);
    }
  }
}

bool isAscii(std::string_view s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) > 0x7F) return false;
  }
  return true;
}

constexpr double kSecondsFrom1970To2001 = 978307200.0;

int writeBinary(foundation::testing::BinaryPlistWriter& w, const PlistValue& v) {
  auto text = [&](const std::string& s) { return isAscii(s) ? w.ascii(s) : w.utf16(toUtf16(s)); };
  return std::visit(
      [&](const auto& x) -> int {
        using T = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<T, bool>) {
          return w.boolean(x);
        } else if constexpr (std::is_same_v<T, PlistInteger>) {
          return x.isUnsignedAboveInt64 ? w.integer128(0, static_cast<std::uint64_t>(x.value))
                                        : w.integer(x.value);
        } else if constexpr (std::is_same_v<T, double>) {
          return w.real(x);
        } else if constexpr (std::is_same_v<T, std::string>) {
          return text(x);
        } else if constexpr (std::is_same_v<T, foundation::Date>) {
          return w.date(x.secondsSince1970 - kSecondsFrom1970To2001);
        } else if constexpr (std::is_same_v<T, PlistData>) {
          return w.data(x.bytes);
        } else if constexpr (std::is_same_v<T, PlistArray>) {
          std::vector<int> refs;
          for (const auto& child : x) refs.push_back(writeBinary(w, child));
          return w.array(refs);
        } else {
          std::vector<std::pair<int, int>> pairs;
          for (const auto& [key, child] : x) {
            int k = text(key);
            pairs.emplace_back(k, writeBinary(w, child));
          }
          return w.dict(pairs);
        }
      },
      v.value);
}

std::string escapeXml(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else
      out += c;
  }
  return out;
}

std::string base64(std::string_view bytes) {
  static const char* kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    std::uint32_t n = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 2]);
    out += kDigits[(n >> 18) & 63];
    out += kDigits[(n >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(n >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kDigits[n & 63] : '=';
  }
  return out;
}

void writeXml(std::string& out, const PlistValue& v) {
  std::visit(
      [&](const auto& x) {
        using T = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<T, bool>) {
          out += x ? "<true/>" : "<false/>";
        } else if constexpr (std::is_same_v<T, PlistInteger>) {
          out += "<integer>" +
                 (x.isUnsignedAboveInt64 ? std::to_string(static_cast<std::uint64_t>(x.value))
                                         : std::to_string(x.value)) +
                 "</integer>";
        } else if constexpr (std::is_same_v<T, double>) {
          char buf[64];
          std::snprintf(buf, sizeof buf, "%.17g", x);
          out += std::string("<real>") + buf + "</real>";
        } else if constexpr (std::is_same_v<T, std::string>) {
          out += "<string>" + escapeXml(x) + "</string>";
        } else if constexpr (std::is_same_v<T, foundation::Date>) {
          out += "<date>" + foundation::iso8601(x).substr(0, 19) + "Z</date>";
        } else if constexpr (std::is_same_v<T, PlistData>) {
          out += "<data>" + base64(x.bytes) + "</data>";
        } else if constexpr (std::is_same_v<T, PlistArray>) {
          out += "<array>";
          for (const auto& child : x) writeXml(out, child);
          out += "</array>";
        } else {
          out += "<dict>";
          for (const auto& [key, child] : x) {
            out += "<key>" + escapeXml(key) + "</key>";
            writeXml(out, child);
          }
          out += "</dict>";
        }
      },
      v.value);
}

const char* kBundle = "/bundle";
const char* kContainer = "/container";
const char* kSuitePath = "/container/Library/Preferences/group.com.tamsaledger.app.plist";

template <class Map>
const PlistValue* find(const Map& map, const char* key) {
  auto it = map.find(key);
  return it == map.end() ? nullptr : &it->second;
}

// The amount the loader must show for a stored value, when the value's kind fixes it.
std::optional<double> expectedAmount(const PlistValue* stored) {
  if (!stored) return 0.0;
  if (const auto* d = std::get_if<double>(&stored->value)) return *d;
  if (const auto* b = std::get_if<bool>(&stored->value)) return *b ? 1.0 : 0.0;
  if (std::holds_alternative<PlistArray>(stored->value) ||
      std::holds_alternative<PlistDictionary>(stored->value) ||
      std::holds_alternative<PlistData>(stored->value) ||
      std::holds_alternative<foundation::Date>(stored->value)) {
    return 0.0;
  }
  return std::nullopt;  // integers and texts: converted, checked elsewhere
}

}  // namespace

bool sameValue(const PlistValue& a, const PlistValue& b) {
  if (a.value.index() != b.value.index()) return false;
  if (const auto* x = std::get_if<double>(&a.value))
    return sameDouble(*x, std::get<double>(b.value));
  if (const auto* x = std::get_if<foundation::Date>(&a.value)) {
    double p = x->secondsSince1970, q = std::get<foundation::Date>(b.value).secondsSince1970;
    // Binary dates count from 2001: moving the epoch may round in the last place.
    return sameDouble(p, q) || std::fabs(p - q) <= 1e-6 * std::max(1.0, std::fabs(p));
  }
  if (const auto* x = std::get_if<PlistArray>(&a.value)) {
    const auto& y = std::get<PlistArray>(b.value);
    if (x->size() != y.size()) return false;
    for (std::size_t i = 0; i < x->size(); ++i) {
      if (!sameValue((*x)[i], y[i])) return false;
    }
    return true;
  }
  if (const auto* x = std::get_if<PlistDictionary>(&a.value)) {
    const auto& y = std::get<PlistDictionary>(b.value);
    if (x->size() != y.size()) return false;
    for (auto i = x->begin(), j = y.begin(); i != x->end(); ++i, ++j) {
      if (i->first != j->first || !sameValue(i->second, j->second)) return false;
    }
    return true;
  }
  return a == b;
}

ValueShape shapeOf(const PlistValue& value) {
  ValueShape s;
  shape(value, 0, s);
  return s;
}

std::string binaryPlist(const PlistValue& value) {
  foundation::testing::BinaryPlistWriter w;
  int top = writeBinary(w, value);
  return w.build(top);
}

std::string xmlPlist(const PlistValue& value) {
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">";
  writeXml(out, value);
  return out + "</plist>\n";
}

std::string textTable(const foundation::StringsTable::Entries& entries) {
  std::string out;
  auto quoted = [&](const std::string& s) {
    out += '"';
    for (char c : s) {
      if (c == '"' || c == '\\') out += '\\';
      out += c;
    }
    out += '"';
  };
  for (const auto& [key, value] : entries) {
    quoted(key);
    out += " = ";
    quoted(value);
    out += ";\n";
  }
  return out;
}

std::u16string toUtf16(std::string_view utf8) {
  std::u16string out;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    char32_t c;
    if (!foundation::unicode::decodeUtf8(utf8, pos, c)) {
      c = foundation::unicode::replacementCharacter;
      ++pos;
    }
    if (c >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return out;
}

std::string lossyUtf8(std::string_view bytes) {
  std::string out;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    char32_t c;
    if (!foundation::unicode::decodeUtf8(bytes, pos, c)) {
      c = foundation::unicode::replacementCharacter;
      ++pos;
    }
    foundation::unicode::appendUtf8(out, c);
  }
  return out;
}

std::string printable(std::string_view bytes, std::size_t limit) {
  std::string out = "\"";
  for (std::size_t i = 0; i < bytes.size() && i < limit; ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c >= 0x20 && c < 0x7F && c != '\\' && c != '"') {
      out += static_cast<char>(c);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    }
  }
  out += bytes.size() > limit ? "\"..." : "\"";
  return out;
}

device::Device memoryDevice(
    std::optional<std::string> storeBytes,
    const std::map<std::string, foundation::StringsTable::Entries>& tables) {
  auto fs = std::make_shared<os::MemoryFileSystem>();
  fs->addDirectory(kBundle);
  fs->addDirectory(kContainer);
  for (const auto& [language, entries] : tables) {
    fs->addFile(std::string(kBundle) + "/" + language + ".lproj/Localizable.strings",
                textTable(entries));
  }
  if (storeBytes) fs->addFile(kSuitePath, std::move(*storeBytes));
  device::Device d;
  d.fileSystem = fs;
  d.clock = std::make_shared<foundation::FixedClock>(foundation::Date{1767258000});
  d.appGroupContainer = kContainer;
  d.mainBundle = *foundation::Bundle::atPath(fs, kBundle, {"en"});
  d.systemVersion = os::SystemVersion{18, 0, 0};
  return d;
}

const foundation::StringsTable::Entries& englishLabels() {
  static const foundation::StringsTable::Entries labels = {
      {"widget_period_day", "Today"},         {"widget_period_week", "This Week"},
      {"widget_period_month", "This Month"},  {"widget_period_year", "This Year"},
      {"widget_period_all_time", "All Time"}, {"widget_period_custom", "Custom"},
      {"widget_all_wallets", "All Wallets"},  {"widget_wallets_count", "%@ wallets"},
  };
  return labels;
}

bool sameEntryButDate(const tamsa::TamsaSummaryEntry& a, const tamsa::TamsaSummaryEntry& b) {
  return sameDouble(a.income, b.income) && sameDouble(a.expense, b.expense) &&
         sameDouble(a.balance, b.balance) && a.currencySymbol == b.currencySymbol &&
         a.periodLabel == b.periodLabel && a.walletLabel == b.walletLabel &&
         a.lastUpdate == b.lastUpdate && a.isLoggedIn == b.isLoggedIn;
}

std::string describe(const tamsa::TamsaSummaryEntry& e) {
  return "{income " + std::to_string(e.income) + ", expense " + std::to_string(e.expense) +
         ", balance " + std::to_string(e.balance) + ", symbol " + printable(e.currencySymbol) +
         ", period " + printable(e.periodLabel) + ", wallet " + printable(e.walletLabel) +
         ", lastUpdate " + (e.lastUpdate ? foundation::iso8601(*e.lastUpdate) : "none") +
         ", loggedIn " + (e.isLoggedIn ? "yes" : "no") + "}";
}

void checkStoreOutcome(std::string_view bytes) {
  static const tamsa::TamsaSummaryEntry emptyStore =
      tamsa::loadSummaryEntry(memoryDevice(std::string(), {{"en", englishLabels()}}));
  auto list = foundation::readPropertyList(bytes);
  auto entry = tamsa::loadSummaryEntry(memoryDevice(std::string(bytes), {{"en", englishLabels()}}));
  const auto* dict = list ? std::get_if<PlistDictionary>(&list->value) : nullptr;
  if (!dict) {
    FUZZ_CHECK(sameEntryButDate(entry, emptyStore))
        << "unreadable store gave " << describe(entry) << ", not the empty-store entry";
    return;
  }
  const PlistValue* auth = find(*dict, "widget_auth_status");
  const auto* authText = auth ? std::get_if<std::string>(&auth->value) : nullptr;
  FUZZ_CHECK(entry.isLoggedIn == (authText && *authText == "logged_in")) << describe(entry);
  const PlistValue* symbol = find(*dict, "widget_currency_symbol");
  if (!symbol) {
    FUZZ_CHECK(entry.currencySymbol == "$") << describe(entry);
  } else if (const auto* s = std::get_if<std::string>(&symbol->value)) {
    FUZZ_CHECK(entry.currencySymbol == *s) << describe(entry);
  }
  const std::pair<const char*, double> amounts[] = {{"widget_income", entry.income},
                                                    {"widget_expense", entry.expense},
                                                    {"widget_balance", entry.balance}};
  for (const auto& [key, shown] : amounts) {
    if (auto want = expectedAmount(find(*dict, key))) {
      FUZZ_CHECK(sameDouble(shown, *want)) << key << ": " << describe(entry);
    }
  }
}

}  // namespace tamsa_fuzz

namespace tamsa_fuzz {

void checkAcceptedList(std::string_view bytes, const foundation::PlistValue& value) {
  ValueShape s = shapeOf(value);
  FUZZ_CHECK(s.textIsUtf8) << "accepted text that is not UTF-8";
  FUZZ_CHECK(s.depth <= foundation::maxPropertyListDepth) << "depth " << s.depth;
  // The binary reader refuses expansions beyond 32 MiB plus 16 bytes per input byte, at 64 per
  // value; the XML reader builds one value per element.
  const std::size_t maxNodes = ((std::size_t{32} << 20) + 16 * bytes.size()) / 64 + 1;
  FUZZ_CHECK(s.nodes <= maxNodes) << s.nodes << " values from " << bytes.size() << " bytes";
  if (s.nodes > 4000) return;
  std::string rewritten = binaryPlist(value);
  auto again = foundation::readBinaryPropertyList(rewritten);
  FUZZ_CHECK(again && sameValue(*again, value)) << "binary rewrite does not read back";
}

}  // namespace tamsa_fuzz

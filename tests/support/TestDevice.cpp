#include "support/TestDevice.h"

#include <iomanip>
#include <sstream>

namespace testing_support {

namespace {

// Pairs of a character and what replaces it. Arrays, not maps: tests build stores while their
// own globals are being initialised.
using Escapes = std::pair<char, const char*>[2];
constexpr Escapes kXml = {{'&', "&amp;"}, {'<', "&lt;"}};
constexpr Escapes kQuoted = {{'"', "\\\""}, {'\\', "\\\\"}};

// The text with each character that `by` names replaced by its entry.
std::string replaced(const std::string& text, const Escapes& by) {
  std::string out;
  for (char c : text)
    out += c == by[0].first ? by[0].second : c == by[1].first ? by[1].second : std::string(1, c);
  return out;
}

// One value as its property-list element.
std::string element(const StoreValue& value) {
  if (auto* s = std::get_if<std::string>(&value))
    return "<string>" + replaced(*s, kXml) + "</string>";
  if (auto* i = std::get_if<Integer>(&value))
    return "<integer>" + std::to_string(i->value) + "</integer>";
  if (auto* b = std::get_if<bool>(&value)) return *b ? "<true/>" : "<false/>";
  std::ostringstream real;
  real << std::setprecision(17) << std::get<Real>(value).value;
  return "<real>" + real.str() + "</real>";
}

}  // namespace

std::string xmlPlist(const StoreValues& values) {
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n";
  for (const auto& [key, value] : values)
    out += "  <key>" + replaced(key, kXml) + "</key>\n  " + element(value) + "\n";
  return out + "</dict>\n</plist>\n";
}

TestDevice& TestDevice::withTable(const std::string& language,
                                  const std::map<std::string, std::string>& entries) {
  std::string table;
  for (const auto& [k, v] : entries)
    table += "\"" + replaced(k, kQuoted) + "\" = \"" + replaced(v, kQuoted) + "\";\n";
  return withFile(std::string(kBundle) + "/" + language + ".lproj/Localizable.strings", table);
}

TestDevice& TestDevice::withFile(const std::string& path, std::string bytes) {
  fs_->addFile(path, std::move(bytes));
  return *this;
}

device::Device TestDevice::device() const {
  fs_->addDirectory(kBundle);
  fs_->addDirectory(kContainer);
  device::Device d;
  d.fileSystem = fs_;
  d.clock = std::make_shared<foundation::FixedClock>(now_);
  d.appGroupContainer = container_ ? kContainer : "/no-such-container";
  d.mainBundle = *foundation::Bundle::atPath(fs_, kBundle, languages_);
  d.localeIdentifier = "en_US";
  d.timeZoneIdentifier = "UTC";
  d.systemVersion = os::SystemVersion{18, 0, 0};
  return d;
}

}  // namespace testing_support

#include "support/TestDevice.h"

#include <cstdio>

namespace testing_support {
namespace {

std::string escapeXml(const std::string& s) {
  std::string out;
  for (char c : s)
    out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
  return out;
}

std::string escapeStrings(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

}  // namespace

std::string xmlPlist(const StoreValues& values) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<plist version=\"1.0\">\n<dict>\n";
  for (const auto& [key, value] : values) {
    out += "  <key>" + escapeXml(key) + "</key>\n  ";
    if (auto* s = std::get_if<std::string>(&value)) {
      out += "<string>" + escapeXml(*s) + "</string>\n";
    } else if (auto* r = std::get_if<Real>(&value)) {
      char buf[64];
      std::snprintf(buf, sizeof buf, "%.17g", r->value);
      out += std::string("<real>") + buf + "</real>\n";
    } else if (auto* i = std::get_if<Integer>(&value)) {
      out += "<integer>" + std::to_string(i->value) + "</integer>\n";
    } else {
      out += std::get<bool>(value) ? "<true/>\n" : "<false/>\n";
    }
  }
  return out + "</dict>\n</plist>\n";
}

std::string stringsTable(const std::map<std::string, std::string>& entries) {
  std::string out;
  for (const auto& [k, v] : entries)
    out += "\"" + escapeStrings(k) + "\" = \"" + escapeStrings(v) + "\";\n";
  return out;
}

TestDevice::TestDevice() : fs_(std::make_shared<os::MemoryFileSystem>()) {
  fs_->addDirectory(kBundle);
  fs_->addDirectory(kContainer);
}

TestDevice& TestDevice::withTable(const std::string& language,
                                  const std::map<std::string, std::string>& entries) {
  fs_->addFile(std::string(kBundle) + "/" + language + ".lproj/Localizable.strings",
               stringsTable(entries));
  return *this;
}

TestDevice& TestDevice::withStore(const StoreValues& values) {
  return withStoreBytes(xmlPlist(values));
}

TestDevice& TestDevice::withStoreBytes(std::string bytes) {
  fs_->addFile(kSuitePath, std::move(bytes));
  return *this;
}

TestDevice& TestDevice::withoutContainer() {
  container_ = false;
  return *this;
}

TestDevice& TestDevice::withPreferredLanguages(std::vector<std::string> languages) {
  languages_ = std::move(languages);
  return *this;
}

TestDevice& TestDevice::at(foundation::Date now) {
  now_ = now;
  return *this;
}

device::Device TestDevice::device() const {
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

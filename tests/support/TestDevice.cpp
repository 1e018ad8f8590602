#include "support/TestDevice.h"

#include <cstdio>

namespace testing_support {

std::string xmlPlist(const StoreValues& values) {
  auto escaped = [](const std::string& s) {
    std::string out;
    for (char c : s) out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : std::string(1, c);
    return out;
  };
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n";
  for (const auto& [key, value] : values) {
    out += "  <key>" + escaped(key) + "</key>\n  ";
    if (auto* s = std::get_if<std::string>(&value)) {
      out += "<string>" + escaped(*s) + "</string>\n";
    } else if (auto* r = std::get_if<Real>(&value)) {
      char real[64];
      std::snprintf(real, sizeof real, "%.17g", r->value);
      out += std::string("<real>") + real + "</real>\n";
    } else if (auto* i = std::get_if<Integer>(&value)) {
      out += "<integer>" + std::to_string(i->value) + "</integer>\n";
    } else {
      out += std::get<bool>(value) ? "<true/>\n" : "<false/>\n";
    }
  }
  return out + "</dict>\n</plist>\n";
}

std::string stringsTable(const std::map<std::string, std::string>& entries) {
  auto quoted = [](const std::string& s) {
    std::string out = "\"";
    for (char c : s) out += c == '"' || c == '\\' ? std::string{'\\', c} : std::string(1, c);
    return out + "\"";
  };
  std::string out;
  for (const auto& [k, v] : entries) out += quoted(k) + " = " + quoted(v) + ";\n";
  return out;
}

TestDevice::TestDevice() : fs_(std::make_shared<os::MemoryFileSystem>()) {
  fs_->addDirectory(kBundle);
  fs_->addDirectory(kContainer);
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

#include "host/DeviceSetup.h"

#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <memory>
#include <sstream>

#include "host/DefaultPaths.h"

namespace host {
namespace {

std::string nonEmpty(const char* value) {
  return value ? value : "";
}

bool isKnownTimeZone(const std::string& id) {
  std::unique_ptr<icu::TimeZone> zone(
      icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(id)));
  icu::UnicodeString found;
  zone->getID(found);
  return *zone != icu::TimeZone::getUnknown() || id == "Etc/Unknown";
}

std::string hostTimeZone() {
  std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::detectHostTimeZone());
  icu::UnicodeString id;
  zone->getID(id);
  std::string out;
  id.toUTF8String(out);
  return out.empty() || out == "Etc/Unknown" ? "UTC" : out;
}

}  // namespace

std::string localeFromEnvironment(const Getenv& getenv) {
  for (const char* name : {"LC_ALL", "LC_TIME", "LANG"}) {
    std::string value = nonEmpty(getenv(name));
    if (value.empty()) continue;
    value = value.substr(0, value.find_first_of(".@"));
    if (value == "C" || value == "POSIX" || value.empty()) return "en_US";
    return value;
  }
  return "en_US";
}

std::variant<device::Device, std::string> makeDevice(const HostOptions& o, const Getenv& getenv) {
  device::Device d;
  d.fileSystem = os::posixFileSystem();

  if (o.now) {
    auto at = foundation::parseIso8601(*o.now);
    if (!at)
      return "--now: '" + *o.now +
             "' is not an ISO 8601 time (accepted: 2026-01-01T09:00:00Z, "
             "2026-01-01T10:00:00.250+01:00)";
    d.clock = std::make_shared<foundation::FixedClock>(*at);
  } else {
    d.clock = foundation::systemClock();
  }

  if (o.container) {
    d.appGroupContainer = *o.container;
  } else if (std::string env = nonEmpty(getenv("TAMSA_APP_GROUP_CONTAINER")); !env.empty()) {
    d.appGroupContainer = env;
  } else {
    d.appGroupContainer = sampleContainerDirectory();
  }

  std::vector<std::string> languages = o.languages
                                           ? splitList(*o.languages)
                                           : foundation::preferredLanguagesFromEnvironment(getenv);
  std::string resources = o.resources.value_or(shippedResourcesDirectory());
  auto bundle = foundation::Bundle::atPath(d.fileSystem, resources, languages);
  if (!bundle) return "--resources: '" + resources + "' is not a directory";
  d.mainBundle = std::move(*bundle);

  d.localeIdentifier = o.locale.value_or(localeFromEnvironment(getenv));
  if (o.timeZone) {
    if (!isKnownTimeZone(*o.timeZone))
      return "--time-zone: '" + *o.timeZone +
             "' is not a time zone (accepted: an IANA name such as Europe/Berlin, or UTC, GMT+2)";
    d.timeZoneIdentifier = *o.timeZone;
  } else {
    d.timeZoneIdentifier = hostTimeZone();
  }

  std::string version = o.os.value_or("18.0");
  d.systemVersion = os::SystemVersion::parse(version);
  if (!d.systemVersion && version != "unknown")
    return "--os: '" + version + "' is not a system version (accepted: 17, 17.4, 17.4.1, unknown)";

  if (o.hourCycle)
    d.hourCycle = *o.hourCycle == "24" ? device::HourCycle::h24 : device::HourCycle::h12;
  return d;
}

}  // namespace host

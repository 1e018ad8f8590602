#include "host/core/DeviceSetup.h"

#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <memory>

#include "platform/foundation/Locale.h"

namespace host {
namespace {

std::string nonEmpty(const char* value) {
  return value ? value : "";
}

std::string hostTimeZone() {
  std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::detectHostTimeZone());
  icu::UnicodeString id;
  zone->getID(id);
  std::string out;
  id.toUTF8String(out);
  // TZ may name a zone ICU does not know; it is taken as written, so check it as --time-zone is.
  return out.empty() || out == "Etc/Unknown" || !isKnownTimeZone(out) ? "UTC" : out;
}

}  // namespace

bool isKnownTimeZone(const std::string& id) {
  std::unique_ptr<icu::TimeZone> zone(
      icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(id)));
  return *zone != icu::TimeZone::getUnknown() || id == "Etc/Unknown";
}

device::Device deviceInLanguage(const device::Device& base, const std::string& language) {
  device::Device d = base;
  if (auto bundle = foundation::Bundle::atPath(d.fileSystem, d.mainBundle.bundlePath(), {language}))
    d.mainBundle = std::move(*bundle);
  return d;
}

std::string localeFromEnvironment(const Getenv& getenv) {
  for (const char* name : {"LC_ALL", "LC_TIME", "LANG"}) {
    std::string value = nonEmpty(getenv(name));
    if (value.empty()) continue;
    value = value.substr(0, value.find_first_of(".@"));
    if (value == "C" || value == "POSIX") return "en_US";
    // The system takes a locale it does not know for en_US.
    return foundation::usableLocaleIdentifier(value);
  }
  return "en_US";
}

Result<device::Device> makeDevice(const DeviceOptions& o, const Getenv& getenv,
                                  const InstallPaths& paths) {
  device::Device d;
  d.fileSystem = os::posixFileSystem();
  d.clock = o.now ? std::make_shared<foundation::FixedClock>(*o.now) : foundation::systemClock();

  if (o.container) {
    d.appGroupContainer = *o.container;
  } else if (std::string env = nonEmpty(getenv("TAMSA_APP_GROUP_CONTAINER")); !env.empty()) {
    d.appGroupContainer = env;
  } else {
    d.appGroupContainer = paths.sampleContainer;
  }

  std::vector<std::string> languages =
      o.languages ? *o.languages : foundation::preferredLanguagesFromEnvironment(getenv);
  std::string resources = o.resources.value_or(paths.resources);
  auto bundle = foundation::Bundle::atPath(d.fileSystem, resources, languages);
  if (!bundle) return Failure::usage("--resources: '" + resources + "' is not a folder");
  d.mainBundle = std::move(*bundle);

  d.localeIdentifier = o.locale.value_or(localeFromEnvironment(getenv));
  d.timeZoneIdentifier = o.timeZone.value_or(hostTimeZone());
  d.systemVersion = o.systemVersion;
  d.hourCycle = o.hourCycle;
  return d;
}

}  // namespace host

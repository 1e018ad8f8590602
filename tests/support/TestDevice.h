// A device for tests: an in-memory file system holding a bundle and an app-group container, a fixed
// clock, and helpers to write the shared suite as an XML property list.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/device/Device.h"
#include "platform/os/MemoryFileSystem.h"

namespace testing_support {

inline constexpr const char* kContainer = "/container";
inline constexpr const char* kBundle = "/bundle";
inline constexpr const char* kSuitePath =
    "/container/Library/Preferences/group.com.tamsaledger.app.plist";

struct Real {
  double value;
};
struct Integer {
  long long value;
};
using StoreValue = std::variant<std::string, Real, Integer, bool>;
using StoreValues = std::vector<std::pair<std::string, StoreValue>>;

// An XML property list holding a dictionary of the values.
std::string xmlPlist(const StoreValues& values);

class TestDevice {
 public:
  // Adds <bundle>/<language>.lproj/Localizable.strings.
  TestDevice& withTable(const std::string& language,
                        const std::map<std::string, std::string>& entries);
  TestDevice& withStore(const StoreValues& values) { return withStoreBytes(xmlPlist(values)); }
  TestDevice& withStoreBytes(std::string bytes) { return withFile(kSuitePath, std::move(bytes)); }
  TestDevice& withoutContainer() { return set(container_, false); }
  TestDevice& withPreferredLanguages(std::vector<std::string> languages) {
    return set(languages_, std::move(languages));
  }
  TestDevice& at(foundation::Date now) { return set(now_, now); }

  // The device as it stands now (the file system is shared with later changes).
  device::Device device() const;
  os::MemoryFileSystem& fileSystem() { return *fs_; }

 private:
  std::shared_ptr<os::MemoryFileSystem> fs_ = std::make_shared<os::MemoryFileSystem>();
  std::vector<std::string> languages_ = {"en"};
  foundation::Date now_{1767258000};  // 2026-01-01T09:00:00Z
  bool container_ = true;

  // The builders' one step: change, then hand the device back for the next.
  template <class T>
  TestDevice& set(T& field, T value) {
    field = std::move(value);
    return *this;
  }
  TestDevice& withFile(const std::string& path, std::string bytes);
};

}  // namespace testing_support

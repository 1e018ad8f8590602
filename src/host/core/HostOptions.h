// The options every command family shares, as typed values: the device the extension runs on, the
// phone and pixels a drawing imitates, one drawing, and the matrix of drawings the gallery and the
// snapshots make. Each command's own options live beside it and hold these; they are read and
// checked once (CommandLine.h), and commands never look at the words the user typed.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/core/Names.h"
#include "host/system/HostDevice.h"
#include "platform/device/Device.h"
#include "platform/foundation/Date.h"
#include "platform/os/SystemVersion.h"
#include "platform/swiftui/Color.h"
#include "platform/swiftui/WidgetFamily.h"

namespace host {

// What the user said about the device; what is not given comes from the environment.
struct DeviceOptions {
  std::optional<std::string> container;
  std::optional<std::string> resources;
  std::optional<std::vector<std::string>> languages;  // most preferred first
  std::optional<std::string> locale;                  // checked usable
  std::optional<std::string> timeZone;                // checked known
  std::optional<foundation::Date> now;                // nothing: the real clock
  // Nothing: the version cannot be learned ("unknown").
  std::optional<os::SystemVersion> systemVersion = os::SystemVersion{18, 0, 0};
  device::HourCycle hourCycle = device::HourCycle::localeDefault;
};

// The phone whose home screen is imitated, PNG pixels per point (1 to 3), and the person's tint
// and wallpaper for the tinted and clear home screens.
struct LookOptions {
  host::HostDevice device;
  double scale = 2;
  uikit::RGBA tint = HomeScreen::kDefaultTint;
  std::optional<std::string> wallpaper;  // a PNG file; nothing: the plain default
};

// One drawing of a widget or the control.
struct DrawingOptions {
  std::optional<swiftui::WidgetFamily> family;
  Appearance appearance = Appearance::light;
  EntryChoice entry = EntryChoice::timeline;
  LookOptions look;
};

// The drawings the gallery and the snapshots make: every scenario (or the container) x system
// version x language x widget x family x appearance.
struct MatrixOptions {
  DeviceOptions device;  // the device the matrix starts from
  LookOptions look;
  // Named states to draw ("all" stands for every one); nothing: the container as it is.
  std::optional<std::vector<std::string>> scenarios;
  std::optional<std::string> scenarioFolder;  // nothing: the shipped scenarios
  // Each system version to draw (--os with a list); empty: the device's one.
  std::vector<std::optional<os::SystemVersion>> systemVersions;
  // Each drawn on the systems that offer it.
  std::vector<Appearance> appearances{Appearance::light, Appearance::dark};
  bool pseudo = false;  // the pseudo-languages too
};

// The K-th of N parts of a matrix's cells, K from 1.
struct Shard {
  int index = 1;
  int count = 1;
};

}  // namespace host

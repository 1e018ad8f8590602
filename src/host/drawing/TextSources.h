// Where a drawn text came from: the string table, key and line that produced it, so a finding
// sends a translator straight to the line to change. The widget hands finished strings to its
// views, so the host finds each text again among the tables the device's texts come from (the
// in-app language's, then the system language's): an exact text, or a format's text around the
// number put in its place. Texts from no table (amounts, wallet names) have no source. A
// pseudo-language's texts come from the development language's table. Immutable once made.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "platform/device/Device.h"

namespace host {

struct TextSource {
  std::string table;  // relative to the resources: "de.lproj/Localizable.strings"
  std::string key;
  int line = 0;  // 0: not known (a property-list table)
  bool operator==(const TextSource&) const = default;
};

class TextSources {
 public:
  // The tables the texts drawn on this device can come from.
  static TextSources of(const device::Device& device);

  // The first entry, table by table, that shows as `text`.
  std::optional<TextSource> find(const std::string& text) const;

  // Adds "table", "key" and "line" to every Text node of a layout report that has a source.
  void annotate(nlohmann::json& layoutReport) const;

 private:
  struct Entry {
    TextSource source;
    std::string value;  // as the widget shows it (a pseudo-language's text made)
  };
  std::vector<Entry> entries_;
};

}  // namespace host

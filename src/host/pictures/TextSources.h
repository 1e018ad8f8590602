// Where a drawn text came from: the string table, key and line that produced it, so a finding
// sends a translator straight to the line to change. The widget hands finished strings to its
// views, so the host finds each text again among the tables the device's texts come from (the
// in-app language's, then the system language's): an exact text, or a format's text around the
// number put in its place. Texts from no table (amounts, wallet names) have no source. A
// pseudo-language's texts come from the development language's table. The language of a text is
// that of the table it came from, so a text the in-app language's table lacks is drawn in the
// system's language, as it reads. Immutable once made.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/device/Device.h"
#include "platform/swiftui/Layout.h"

namespace host {

// Relative to the resources: "de.lproj/Localizable.strings"; line 0: not known (a property-list
// table).
using TextSource = swiftui::TextSource;

class TextSources {
 public:
  // The tables the texts drawn on this device can come from.
  static TextSources of(const device::Device& device);

  // The first entry, table by table, that shows as `text`; one of the table in `language` (the
  // language the text was drawn in) before the others.
  std::optional<TextSource> find(const std::string& text,
                                 const std::optional<std::string>& language = std::nullopt) const;

  // The language of the table `shown` came from: the system's for a text resolved from a key
  // (the platform looks those up in the system's language only), else that of the table find()
  // names; nothing for a text from no table.
  std::optional<std::string> languageOf(const std::string& shown, bool fromKey) const;

  // Where each text of a layout comes from (swiftui::LayoutContext): the language of its table
  // and its entry, found first among those of the language the text is drawn in (its table's,
  // else `drawnLanguage`, the view's). The callback refers to these sources.
  swiftui::TextOrigins origins(std::optional<std::string> drawnLanguage) const;

 private:
  struct Entry {
    TextSource source;
    std::string value;     // as the widget shows it (a pseudo-language's text made)
    std::string language;  // the localization the table is chosen as ("en-XA" for its texts)
  };
  std::vector<Entry> entries_;
  std::optional<std::string> systemLanguage_;

  const Entry* entryShowing(const std::string& text,
                            const std::optional<std::string>& language) const;
};

}  // namespace host

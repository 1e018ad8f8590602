// The words of an enum, both ways: one small table per enum, read by the command line, the
// manifests, the preview server and the reports alike, so a word is spelled in one place.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "host/core/Result.h"
#include "host/system/Appearance.h"
#include "platform/device/Device.h"
#include "platform/swiftui/Color.h"
#include "platform/swiftui/WidgetFamily.h"

namespace host {

template <class E>
struct Name {
  E value;
  std::string_view word;
};

template <class E, std::size_t N>
class Names {
 public:
  constexpr Names(const Name<E> (&names)[N]) {  // NOLINT: implicit, from a braced table
    for (std::size_t i = 0; i < N; ++i) names_[i] = names[i];
  }

  // The word of a value; empty for one the table lacks.
  constexpr std::string_view nameOf(E value) const {
    for (const auto& n : names_)
      if (n.value == value) return n.word;
    return {};
  }
  constexpr std::optional<E> valueOf(std::string_view word) const {
    for (const auto& n : names_)
      if (n.word == word) return n.value;
    return std::nullopt;
  }
  // "light, dark": for messages saying what is accepted.
  std::string accepted() const {
    std::string out;
    for (const auto& n : names_) out += (out.empty() ? "" : ", ") + std::string(n.word);
    return out;
  }
  // The value of a word, or a usage failure naming `what` (an option) and the words accepted.
  Result<E> read(const std::string& what, const std::string& word) const {
    if (auto v = valueOf(word)) return *v;
    return Failure::usage(what + ": '" + word + "' is not accepted (accepted: " + accepted() + ")");
  }
  constexpr const Name<E>* begin() const { return names_; }
  constexpr const Name<E>* end() const { return names_ + N; }

 private:
  Name<E> names_[N] = {};
};

template <class E, std::size_t N>
Names(const Name<E> (&)[N]) -> Names<E, N>;

// Which of the provider's answers a drawing shows.
enum class EntryChoice { timeline, snapshot, preview, placeholder };

inline constexpr Names<Appearance, 6> kAppearanceNames{{{Appearance::light, "light"},
                                                        {Appearance::dark, "dark"},
                                                        {Appearance::tinted, "tinted"},
                                                        {Appearance::tintedLight, "tinted-light"},
                                                        {Appearance::clear, "clear"},
                                                        {Appearance::clearLight, "clear-light"}}};
inline constexpr Names<EntryChoice, 4> kEntryNames{{{EntryChoice::timeline, "timeline"},
                                                    {EntryChoice::snapshot, "snapshot"},
                                                    {EntryChoice::preview, "preview"},
                                                    {EntryChoice::placeholder, "placeholder"}}};
inline constexpr Names<device::HourCycle, 2> kHourCycleNames{
    {{device::HourCycle::h12, "12"}, {device::HourCycle::h24, "24"}}};
inline constexpr Names<swiftui::WidgetFamily, 7> kFamilyNames{{
    {swiftui::WidgetFamily::systemSmall, "small"},
    {swiftui::WidgetFamily::systemMedium, "medium"},
    {swiftui::WidgetFamily::systemLarge, "large"},
    {swiftui::WidgetFamily::systemExtraLarge, "extraLarge"},
    {swiftui::WidgetFamily::accessoryCircular, "accessoryCircular"},
    {swiftui::WidgetFamily::accessoryRectangular, "accessoryRectangular"},
    {swiftui::WidgetFamily::accessoryInline, "accessoryInline"},
}};

}  // namespace host

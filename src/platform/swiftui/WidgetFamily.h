// The sizes a widget can be shown in. The view environment carries the one being rendered.
#pragma once

namespace swiftui {

enum class WidgetFamily {
  systemSmall,
  systemMedium,
  systemLarge,
  systemExtraLarge,
  accessoryCircular,
  accessoryRectangular,
  accessoryInline,
};

}  // namespace swiftui

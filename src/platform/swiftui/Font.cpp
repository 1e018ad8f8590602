#include "platform/swiftui/Font.h"

namespace swiftui {

const char* weightName(Font::Weight weight) {
  switch (weight) {
    case Font::Weight::medium:
      return "medium";
    case Font::Weight::bold:
      return "bold";
    case Font::Weight::regular:
      break;
  }
  return "regular";
}

}  // namespace swiftui

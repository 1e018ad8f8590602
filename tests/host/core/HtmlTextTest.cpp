#include "host/core/HtmlText.h"

#include <gtest/gtest.h>

namespace host {
namespace {

// A name from data can close neither an element nor a quoted attribute, and an entity it spells
// stays text.
TEST(HtmlText, EveryCharacterThatCouldBecomeMarkupIsEscaped) {
  EXPECT_EQ(htmlEscape("<b a=\"x\" b='y'>&amp; caf\xC3\xA9"),
            "&lt;b a=&quot;x&quot; b=&#39;y&#39;&gt;&amp;amp; caf\xC3\xA9");
}

}  // namespace
}  // namespace host

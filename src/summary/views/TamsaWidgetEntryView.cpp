#include "summary/views/TamsaWidgetEntryView.h"

#include <limits>

#include "platform/foundation/URL.h"
#include "shared/LocalizedKeys.h"
#include "shared/LocalizedWidgetString.h"
#include "shared/Palette.h"
#include "shared/WidgetBackground.h"
#include "summary/views/SummaryFormatting.h"

namespace tamsa {

using namespace swiftui;

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();
constexpr auto regular = Font::Weight::regular;
constexpr auto bold = Font::Weight::bold;

struct AmountRowStyle {
  double labelSize;
  Color labelColor;
  double amountSize;
  Color amountColor;
};

// Label, spacer, amount: the label never shrinks; the amount keeps to one line and shrinks to
// 70 % before it is cut.
ViewList amountRow(const std::string& label, const std::string& amount, const AmountRowStyle& s) {
  return {
      Text(label).font(Font::system(s.labelSize, regular)).foregroundColor(s.labelColor),
      Spacer(),
      Text(amount)
          .font(Font::system(s.amountSize, bold))
          .foregroundColor(s.amountColor)
          .lineLimit(1)
          .minimumScaleFactor(0.7),
  };
}

std::optional<std::string> urlText(const std::string& text) {
  auto url = foundation::URL::string(text);
  if (!url) return std::nullopt;
  return url->absoluteString();
}

}  // namespace

View TamsaWidgetEntryView::body() const {
  return summaryContent().widgetURL(urlText(summaryWidgetURL));
}

View TamsaWidgetEntryView::summaryContent() const {
  TamsaWidgetEntryView self = *this;
  return Group({ConditionalContent(
      entry.isLoggedIn,
      [self] {
        return EnvironmentReader([self](const EnvironmentValues& env) {
          return ConditionalContent(
              env.widgetFamily == WidgetFamily::systemSmall,
              [&] { return VStack(HorizontalAlignment::leading, 0, self.smallSummaryView()); },
              [&] { return VStack(HorizontalAlignment::leading, 0, self.mediumSummaryView()); });
        });
      },
      [self] { return self.signedOutView(); })});
}

View TamsaWidgetEntryView::signedOutView() const {
  return Text(localizedWidgetString(*device, keys::loggedOutMessage))
      .font(Font::system(14, regular))
      .foregroundColor(secondaryTextColor())
      .multilineTextAlignment(TextAlignment::center)
      .frame(FlexibleFrame{.maxWidth = infinity, .maxHeight = infinity, .alignment = Alignment{}});
}

ViewList TamsaWidgetEntryView::summaryHeader() const {
  return {
      Text(entry.walletLabel)
          .font(Font::system(14, bold))
          .foregroundColor(primaryTextColor())
          .lineLimit(1),
      Text(entry.periodLabel)
          .font(Font::system(11, regular))
          .foregroundColor(tertiaryTextColor())
          .lineLimit(1),
  };
}

ViewList TamsaWidgetEntryView::smallSummaryView() const {
  AmountRowStyle income{10, secondaryTextColor(), 12, incomeColor()};
  AmountRowStyle expense{10, secondaryTextColor(), 12, expenseColor()};
  return {
      VStack(HorizontalAlignment::leading, 1, summaryHeader()),
      Spacer(6),
      Text(localizedWidgetString(*device, keys::balance))
          .font(Font::system(12, regular))
          .foregroundColor(secondaryTextColor()),
      Text(amountText(entry, entry.balance))
          .font(Font::system(18, bold))
          .foregroundColor(primaryTextColor())
          .minimumScaleFactor(0.6)
          .lineLimit(1),
      Spacer(6),
      HStack(VerticalAlignment::center, std::nullopt,
             amountRow(localizedWidgetString(*device, keys::income),
                       amountText(entry, entry.income), income)),
      HStack(VerticalAlignment::center, std::nullopt,
             amountRow(localizedWidgetString(*device, keys::expense),
                       amountText(entry, entry.expense), expense)),
  };
}

ViewList TamsaWidgetEntryView::mediumSummaryView() const {
  AmountRowStyle income{12, secondaryTextColor(), 14, incomeColor()};
  AmountRowStyle expense{12, secondaryTextColor(), 14, expenseColor()};
  return {
      VStack(HorizontalAlignment::leading, 1, summaryHeader()).padding(EdgeSet::bottom, 10),
      HStack(VerticalAlignment::center, std::nullopt,
             amountRow(localizedWidgetString(*device, keys::income),
                       amountText(entry, entry.income), income))
          .padding(EdgeSet::bottom, 4),
      HStack(VerticalAlignment::center, std::nullopt,
             amountRow(localizedWidgetString(*device, keys::expense),
                       amountText(entry, entry.expense), expense))
          .padding(EdgeSet::bottom, 8),
      Rectangle().fill(dividerColor()).frame(FixedFrame{.height = 1}).padding(EdgeSet::bottom, 8),
      HStack(VerticalAlignment::center, std::nullopt, balanceRow()),
      Spacer(4),
      HStack(VerticalAlignment::center, 4, updatedAtFooter()),
  };
}

ViewList TamsaWidgetEntryView::balanceRow() const {
  return amountRow(localizedWidgetString(*device, keys::balance), amountText(entry, entry.balance),
                   {13, primaryTextColor(), 16, primaryTextColor()});
}

ViewList TamsaWidgetEntryView::updatedAtFooter() const {
  return {
      Spacer(),
      VStack(HorizontalAlignment::trailing, 0,
             {Text(localizedWidgetString(*device, keys::updatedAt)),
              Text(lastUpdateText(entry, *device))})
          .font(Font::system(9, regular))
          .foregroundColor(footerTextColor()),
  };
}

View summaryWidgetContent(const device::Device& device, const TamsaSummaryEntry& entry) {
  return widgetBackground(device, TamsaWidgetEntryView{entry, &device}.body());
}

}  // namespace tamsa

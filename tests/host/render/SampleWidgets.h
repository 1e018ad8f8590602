// Trees shaped like the extension's widgets (the summary's small and medium layouts, the
// signed-out message and the quick-add widget), with sample texts and colours, for the renderer's
// tests and benchmarks.
#pragma once

#include <string>

#include "platform/swiftui/View.h"

namespace render::samples {

using namespace swiftui;

inline Color adaptive(double lr, double lg, double lb, double dr, double dg, double db) {
  return Color(uikit::UIColor::withDynamicProvider([=](const uikit::UITraitCollection& t) {
    return t.userInterfaceStyle == uikit::UIUserInterfaceStyle::dark
               ? uikit::UIColor::withRed(dr, dg, db, 1)
               : uikit::UIColor::withRed(lr, lg, lb, 1);
  }));
}
inline Color primaryText() {
  return adaptive(0.07, 0.07, 0.09, 0.96, 0.96, 0.97);
}
inline Color secondaryText() {
  return adaptive(0.42, 0.42, 0.45, 0.64, 0.64, 0.68);
}
inline Color tertiaryText() {
  return adaptive(0.56, 0.56, 0.58, 0.52, 0.52, 0.56);
}
inline Color footerText() {
  return adaptive(0.6, 0.6, 0.62, 0.48, 0.48, 0.5);
}
inline Color divider() {
  return adaptive(0.88, 0.88, 0.9, 0.23, 0.23, 0.25);
}
inline Color income() {
  return adaptive(0.13, 0.6, 0.3, 0.2, 0.78, 0.4);
}
inline Color expense() {
  return adaptive(0.86, 0.2, 0.18, 1.0, 0.36, 0.33);
}

struct SummaryTexts {
  std::string wallet = "All wallets";
  std::string period = "This month";
  std::string balanceCaption = "Balance";
  std::string incomeCaption = "Income";
  std::string expenseCaption = "Expense";
  std::string updatedAt = "Updated";
  std::string balance = "$2,350";
  std::string income = "$4,200";
  std::string expense = "$1,850";
  std::string time = "09:41";
};

inline View header(const SummaryTexts& t) {
  return VStack(
      HorizontalAlignment::leading, 1,
      {Text(t.wallet)
           .font(Font::system(14, Font::Weight::bold))
           .foregroundColor(primaryText())
           .lineLimit(1),
       Text(t.period).font(Font::system(11)).foregroundColor(tertiaryText()).lineLimit(1)});
}

inline View smallRow(const std::string& caption, const std::string& amount, Color color) {
  return HStack({Text(caption).font(Font::system(10)).foregroundColor(secondaryText()), Spacer(),
                 Text(amount)
                     .font(Font::system(12, Font::Weight::bold))
                     .foregroundColor(color)
                     .lineLimit(1)
                     .minimumScaleFactor(0.7)});
}

inline View smallSummary(const SummaryTexts& t = {}) {
  return VStack(HorizontalAlignment::leading, 0,
                {header(t), Spacer(6),
                 Text(t.balanceCaption).font(Font::system(12)).foregroundColor(secondaryText()),
                 Text(t.balance)
                     .font(Font::system(18, Font::Weight::bold))
                     .foregroundColor(primaryText())
                     .minimumScaleFactor(0.6)
                     .lineLimit(1),
                 Spacer(6), smallRow(t.incomeCaption, t.income, income()),
                 smallRow(t.expenseCaption, t.expense, expense())});
}

inline ViewList mediumRow(const std::string& caption, double captionSize, Color captionColor,
                          const std::string& amount, double amountSize, Color amountColor) {
  return {Text(caption).font(Font::system(captionSize)).foregroundColor(captionColor), Spacer(),
          Text(amount)
              .font(Font::system(amountSize, Font::Weight::bold))
              .foregroundColor(amountColor)
              .lineLimit(1)
              .minimumScaleFactor(0.7)};
}

inline View mediumSummary(const SummaryTexts& t = {}) {
  return VStack(
      HorizontalAlignment::leading, 0,
      {header(t).padding(EdgeSet::bottom, 10),
       HStack(mediumRow(t.incomeCaption, 12, secondaryText(), t.income, 14, income()))
           .padding(EdgeSet::bottom, 4),
       HStack(mediumRow(t.expenseCaption, 12, secondaryText(), t.expense, 14, expense()))
           .padding(EdgeSet::bottom, 8),
       Rectangle().fill(divider()).frame(FixedFrame{.height = 1}).padding(EdgeSet::bottom, 8),
       HStack(mediumRow(t.balanceCaption, 13, primaryText(), t.balance, 16, primaryText())),
       Spacer(4),
       HStack(VerticalAlignment::center, 4,
              {Spacer(), VStack(HorizontalAlignment::trailing, 0, {Text(t.updatedAt), Text(t.time)})
                             .font(Font::system(9))
                             .foregroundColor(footerText())})});
}

inline View signedOut(const std::string& message) {
  return Text(message)
      .font(Font::system(14))
      .foregroundColor(secondaryText())
      .multilineTextAlignment(TextAlignment::center)
      .frame(FlexibleFrame{.maxWidth = infinity, .maxHeight = infinity});
}

inline View quickAdd(const std::string& title = "Add transaction") {
  return VStack(HorizontalAlignment::center, 2,
                {Text(LocalizedStringKey{"+"})
                     .font(Font::system(46, Font::Weight::bold))
                     .foregroundColor(Color::sRGB(0.082, 0.773, 0.808)),
                 Text(title)
                     .font(Font::system(12, Font::Weight::medium))
                     .foregroundColor(secondaryText())
                     .lineLimit(1)
                     .minimumScaleFactor(0.8)})
      .frame(FlexibleFrame{.maxWidth = infinity, .maxHeight = infinity});
}

// The host background the way the widgets choose it: a container background from iOS 17, else a
// 14-point inset over the system background.
inline View hosted(View content, bool modern, const char* url = "tamsaledger://widget") {
  View placed =
      modern ? AnyView(content.containerBackground(BackgroundStyle{},
                                                   ContainerBackgroundPlacement::widget))
             : content.padding(14).background(Color(uikit::UIColor::systemBackgroundColor()));
  return placed.widgetURL(url);
}

}  // namespace render::samples

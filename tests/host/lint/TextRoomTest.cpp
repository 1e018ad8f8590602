// The room each text has, on the shipped bundle laid out with the real fonts: the room is the
// widget's or less, and a translation made too long is reported on its table's line, the other
// languages not; a hostile value is reported, never a hang or a crash.
#include "host/lint/TextRoom.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "drawing/FontSet.h"
#include "entry/bundle/TamsaWidgetBundle.h"
#include "host/core/DeviceSetup.h"

namespace host {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTitle = "widget_add_transaction_title";

// A copy of the shipped resources whose German text of `key` (the title unless said) is `title`
// (nothing: as shipped).
class Resources {
 public:
  explicit Resources(const std::optional<std::string>& title = std::nullopt,
                     const std::string& key = kTitle) {
    fs::copy(TAMSA_RESOURCES_DIR, dir_, fs::copy_options::recursive);
    if (!title) return;
    const fs::path german = dir_ / "de.lproj" / "Localizable.strings";
    std::ifstream in(german);
    std::string out;
    for (std::string line; std::getline(in, line);) {
      if (line.rfind("\"" + key + "\"", 0) == 0) {
        line = "\"" + key + "\" = \"" + *title + "\";";
        titleLine_ = lineCount_ + 1;
      }
      out += line + "\n";
      ++lineCount_;
    }
    std::ofstream(german, std::ios::trunc) << out;
  }
  ~Resources() { fs::remove_all(dir_); }

  int titleLine() const { return titleLine_; }

  Result<RoomReport> room() const {
    DeviceOptions options;
    options.resources = dir_.string();
    options.now = foundation::Date{1767258000};
    auto device = makeDevice(options, [](const char*) { return nullptr; },
                             {dir_.string(), TAMSA_SAMPLE_CONTAINER, "", ""});
    if (!device) return device.failure();
    static const drawing::PangoTextMeasurer measurer(2);
    TextRoomInput input{*device,
                        [](const device::Device& d) { return tamsa::TamsaWidgetBundle{}.body(d); },
                        device->mainBundle.localizations(), *hostDevice(defaultDeviceName)};
    return measureTextRoom(input, measurer);
  }

 private:
  fs::path dir_ =
      fs::temp_directory_path() /
      ("text-room-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
       ::testing::UnitTest::GetInstance()->current_test_info()->name());
  int titleLine_ = 0, lineCount_ = 0;
};

class TextRoom : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(drawing::pinnedFonts().ok()); }
};

const RoomPlace* placeOf(const RoomReport& r, const std::string& key, const std::string& widget,
                         const std::string& family) {
  for (const KeyRoom& k : r.keys)
    for (const RoomPlace& p : k.places)
      if (k.key == key && p.widget == widget && p.family == family && p.occurrence == 0) return &p;
  return nullptr;
}

TEST_F(TextRoom, TheShippedBalanceHasNoMoreRoomThanTheSmallWidget) {
  auto report = Resources().room();
  ASSERT_TRUE(report.ok()) << report.failure().message;
  EXPECT_FALSE(report->hasErrors()) << roomProblemLines(*report);
  const RoomPlace* balance = placeOf(*report, "widget_balance", "TamsaWidget", "small");
  ASSERT_NE(balance, nullptr);
  const double smallWidth = hostDevice(defaultDeviceName)->small.width;
  ASSERT_NE(balance->english(), nullptr);
  for (const RoomUse& u : balance->uses) {
    ASSERT_TRUE(u.room) << u.language;
    EXPECT_GT(*u.room, 0) << u.language;
    EXPECT_LE(*u.room, smallWidth) << u.language;
    if (u.outcome == RoomOutcome::fits) EXPECT_LE(*u.share(), 100) << u.language;
  }
  EXPECT_GT(*balance->english()->share(), 0);
}

TEST_F(TextRoom, ATranslationTooLongIsAnErrorOnItsLineAndNoOtherLanguageIs) {
  Resources resources(std::string(200, 'W'));
  auto report = resources.room();
  ASSERT_TRUE(report.ok()) << report.failure().message;
  EXPECT_TRUE(report->hasErrors());
  bool inTheSmallWidget = false;
  for (const RoomProblem& p : report->problems) {
    if (p.severity != Severity::error) continue;
    EXPECT_EQ(p.file, "de.lproj/Localizable.strings") << p.message;
    EXPECT_EQ(p.line, resources.titleLine()) << p.message;
    EXPECT_EQ(p.key, kTitle);
    EXPECT_EQ(p.message.rfind(std::string(kTitle) + " needs ", 0), 0u) << p.message;
    inTheSmallWidget |=
        p.message.find(" in TamsaAddTransactionWidget small (room ") != std::string::npos;
  }
  EXPECT_TRUE(inTheSmallWidget) << roomProblemLines(*report);
  const RoomPlace* small = placeOf(*report, kTitle, "TamsaAddTransactionWidget", "small");
  ASSERT_NE(small, nullptr);
  for (const RoomUse& u : small->uses)
    EXPECT_EQ(u.outcome == RoomOutcome::cut, u.language == "de") << u.language;
  EXPECT_NE(resources.titleLine(), 0);
}

// Where a text may take any number of lines, a translation that wraps past English's is a
// warning on its line, not an error.
TEST_F(TextRoom, ATranslationWrappingPastEnglishIsAWarning) {
  Resources resources("Verfügbarer Kontostand aller Konten", "widget_balance");
  auto report = resources.room();
  ASSERT_TRUE(report.ok()) << report.failure().message;
  EXPECT_FALSE(report->hasErrors()) << roomProblemLines(*report);
  const std::string lines = roomProblemLines(*report);
  EXPECT_NE(lines.find("de.lproj/Localizable.strings:" + std::to_string(resources.titleLine()) +
                       ": warning: widget_balance wraps to "),
            std::string::npos)
      << lines;
}

// A value of 100 kB, or of control characters, is laid out and reported like any other: it
// is cut, and the lines show no control character.
TEST_F(TextRoom, AHostileValueIsReportedNotFatal) {
  for (const std::string& title :
       {std::string(100'000, 'x'),
        std::string("a\\U001B[2J\\ab\\U0000c") + std::string(300, '\t') + "\\n\\n"}) {
    Resources resources(title);
    auto report = resources.room();
    ASSERT_TRUE(report.ok()) << report.failure().message;
    EXPECT_TRUE(report->hasErrors()) << title.substr(0, 20);
    const std::string text = roomText(*report);
    EXPECT_LT(text.size(), 100'000u);
    for (const std::string& t : {text, roomJson(*report)}) {
      EXPECT_EQ(t.find('\x1B'), std::string::npos);
      EXPECT_EQ(t.find('\x07'), std::string::npos);
      EXPECT_EQ(t.find('\0'), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace host

namespace host {
namespace {

// States of the app merged: a place is kept once, a key only one state shows is added, and a
// problem two states find is listed once.
TEST(TextRoomMerge, KeepsEachPlaceAndProblemOnce) {
  auto report = [](const std::string& key, const std::string& family, int line) {
    RoomReport r;
    r.keys = {{key, {{"TamsaWidget", family, 0, {{.language = "de"}}}}}};
    r.problems = {{"de.lproj/Localizable.strings", line, key, Severity::error, key + " is cut"}};
    return r;
  };
  RoomReport merged = mergeRoomReports(
      {report("widget_period_month", "small", 5), report("widget_period_custom", "small", 8),
       report("widget_period_month", "small", 5), report("widget_period_month", "medium", 5)});
  ASSERT_EQ(merged.keys.size(), 2u);
  EXPECT_EQ(merged.keys[0].key, "widget_period_custom");
  EXPECT_EQ(merged.keys[1].places.size(), 2u);
  ASSERT_EQ(merged.problems.size(), 2u);
  EXPECT_EQ(merged.problems[0].line, 5);
}

}  // namespace
}  // namespace host

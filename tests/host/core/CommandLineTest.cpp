// Reading the command line: every value is checked once, mistakes are usage failures that name
// the option, and the last of a repeated option wins.
#include "host/core/CommandLine.h"

#include <gtest/gtest.h>

namespace host {
namespace {

HostOptions parsed(const std::vector<std::string>& args) {
  auto r = parseCommandLine(args);
  EXPECT_TRUE(r.ok()) << (r.ok() ? "" : r.failure().message);
  return r.ok() && r->run ? *r->run : HostOptions{};
}

// Values arrive typed; a repeated option's last value wins.
TEST(CommandLine, ValuesArriveTypedAndTheLastOfARepeatedOptionWins) {
  HostOptions o = parsed({"--os=16.4", "--locale=fr_FR", "render", "TamsaWidget", "-o", "a.png",
                          "-o", "m.svg", "--family=small", "--family=medium", "--appearance=dark",
                          "--entry=preview", "--scale=3", "--device=iphonese", "--hour-cycle=24",
                          "--language", "de-AT, en", "--locale=de_DE"});
  EXPECT_EQ(o.command, Command::render);
  EXPECT_EQ(o.output, "m.svg");
  EXPECT_EQ(o.drawing.family, swiftui::WidgetFamily::systemMedium);
  EXPECT_EQ(o.drawing.appearance, swiftui::ColorScheme::dark);
  EXPECT_EQ(o.drawing.entry, EntryChoice::preview);
  EXPECT_EQ(o.drawing.scale, 3);
  EXPECT_EQ(o.drawing.device.name, "iphonese");
  EXPECT_EQ(o.device.hourCycle, device::HourCycle::h24);
  EXPECT_EQ(o.device.systemVersion, (os::SystemVersion{16, 4, 0}));
  EXPECT_EQ(o.device.languages, (std::vector<std::string>{"de-AT", "en"}));
  EXPECT_EQ(o.device.locale, "de_DE");
  EXPECT_FALSE(parsed({"widgets", "--os", "unknown"}).device.systemVersion);
}

TEST(CommandLine, MistakesAreUsageFailuresNamingWhatIsWrong) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{}, "no command given"},
      {{"frobnicate"}, "unknown command 'frobnicate'"},
      {{"timeline", "TamsaWidget", "--now"}, "--now"},
      {{"--now"}, "--now"},
      {{"timeline", "TamsaWidget", "b", "c"}, "unexpected arguments: b c"},
      {{"render", "K", "-o", "x.png", "--scale", "0x2"}, "--scale: '0x2'"},
      {{"render", "K", "-o", "x.png", "--scale", "3.5"}, "--scale"},
      {{"render", "K", "-o", "x.png", "--scale", "nan"}, "--scale"},
      {{"render", "K", "-o", ""}, "-o: an empty path"},
      {{"render", "K", "-o", "x.png", "--layout", "./x.png"}, "--layout"},
      {{"render", "K", "-o", "x.png", "--family", "large2"}, "--family: 'large2'"},
      {{"render", "K", "-o", "x.png", "--appearance", "sepia"}, "accepted: light, dark"},
      {{"render", "K", "-o", "x.png", "--entry", "latest"}, "--entry"},
      {{"render", "K", "-o", "x.png", "--device", "nokia"}, "iphone15"},
      {{"timeline", "K", "--now", "yesterday"}, "--now"},
      {{"timeline", "K", "--time-zone", "Mars/Olympus"}, "--time-zone"},
      {{"timeline", "K", "--os", "seventeen"}, "--os"},
      {{"timeline", "K", "--hour-cycle", "13"}, "--hour-cycle"},
      {{"timeline", "K", "--language", " , "}, "--language"},
      {{"timeline", "K", "--locale", "en_US@=x"}, "--locale"},
      {{"serve", "--port", "65536"}, "--port: '65536'"},
      {{"serve", "--port", "80x"}, "--port"},
      {{"serve", "--listen", ""}, "--listen"},
  };
  for (const auto& [args, mentions] : cases) {
    auto r = parseCommandLine(args);
    ASSERT_FALSE(r.ok()) << mentions;
    EXPECT_EQ(r.failure().status, ExitStatus::usage);
    EXPECT_NE(r.failure().message.find(mentions), std::string::npos) << r.failure().message;
  }
}

}  // namespace
}  // namespace host

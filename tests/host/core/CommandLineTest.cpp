// Reading the command line against the table of commands: every value is checked once (the
// command line and a snapshot manifest through the same functions), mistakes are usage failures
// that name the option, the last of a repeated option wins, and the table, --help and README.md
// name the same commands.
#include "host/core/CommandLine.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "host/HostCommands.h"
#include "host/gallery/GalleryCommands.h"
#include "host/lint/LintCommand.h"
#include "host/render/DrawingCommands.h"
#include "host/requests/RequestCommands.h"
#include "host/snapshot/SnapshotCommands.h"

namespace host {
namespace {

Result<CommandLine> parse(const std::vector<std::string>& args) {
  return parseCommandLine(args, hostCommands());
}

ChosenCommand chosen(const std::vector<std::string>& args) {
  auto r = parse(args);
  EXPECT_TRUE(r.ok()) << (r.ok() ? "" : r.failure().message);
  return r.ok() && r->run ? *r->run : ChosenCommand{};
}

template <class Options>
Options optionsOf(const std::vector<std::string>& args) {
  const ChosenCommand c = chosen(args);
  const auto* o = std::any_cast<Options>(&c.options);
  EXPECT_TRUE(o) << c.name;
  return o ? *o : Options{};
}

void expectUsage(const std::vector<std::string>& args, const std::string& mentions) {
  auto r = parse(args);
  ASSERT_FALSE(r.ok()) << mentions;
  EXPECT_EQ(r.failure().status, ExitStatus::usage);
  EXPECT_NE(r.failure().message.find(mentions), std::string::npos) << r.failure().message;
}

// Values arrive typed; a repeated option's last value wins.
TEST(CommandLine, ValuesArriveTypedAndTheLastOfARepeatedOptionWins) {
  const std::vector<std::string> args = {"--os=16.4",
                                         "--locale=fr_FR",
                                         "render",
                                         "TamsaWidget",
                                         "-o",
                                         "a.png",
                                         "-o",
                                         "m.svg",
                                         "--family=small",
                                         "--family=medium",
                                         "--appearance=dark",
                                         "--entry=preview",
                                         "--scale=3",
                                         "--device=iphonese",
                                         "--hour-cycle=24",
                                         "--language",
                                         "de-AT, en",
                                         "--locale=de_DE"};
  ChosenCommand c = chosen(args);
  EXPECT_EQ(c.name, "render");
  auto o = optionsOf<RenderOptions>(args);
  EXPECT_EQ(o.output, "m.svg");
  EXPECT_EQ(o.drawing.family, swiftui::WidgetFamily::systemMedium);
  EXPECT_EQ(o.drawing.appearance, host::Appearance::dark);
  EXPECT_EQ(o.drawing.entry, EntryChoice::preview);
  EXPECT_EQ(o.drawing.look.scale, 3);
  EXPECT_EQ(o.drawing.look.device.name, "iphonese");
  EXPECT_EQ(c.device.hourCycle, device::HourCycle::h24);
  EXPECT_EQ(c.device.systemVersion, (os::SystemVersion{16, 4, 0}));
  EXPECT_EQ(c.device.languages, (std::vector<std::string>{"de-AT", "en"}));
  EXPECT_EQ(c.device.locale, "de_DE");
  EXPECT_FALSE(chosen({"widgets", "--os", "unknown"}).device.systemVersion);
}

// A flag is off until given, and on when given.
TEST(CommandLine, FlagsAreOffUnlessGiven) {
  EXPECT_FALSE(optionsOf<LintOptions>({"lint"}).json);
  EXPECT_TRUE(optionsOf<LintOptions>({"lint", "--json"}).json);
  EXPECT_FALSE(optionsOf<GalleryOptions>({"gallery", "-o", "g"}).matrix.pseudo);
  EXPECT_TRUE(optionsOf<GalleryOptions>({"gallery", "-o", "g", "--pseudo"}).matrix.pseudo);
  EXPECT_FALSE(optionsOf<EntryOptions>({"snapshot", "K"}).preview);
  EXPECT_TRUE(optionsOf<EntryOptions>({"snapshot", "K", "--preview"}).preview);
}

TEST(CommandLine, MistakesAreUsageFailuresNamingWhatIsWrong) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{}, "no command given"},
      {{"frobnicate"}, "unknown command 'frobnicate'"},
      {{"timeline", "TamsaWidget", "--now"}, "--now"},
      {{"--now"}, "--now"},
      {{"timeline", "TamsaWidget", "b", "c"}, "unexpected arguments: b c"},
      {{"render", "K", "-o", ""}, "-o: an empty path"},
      {{"render", "K", "-o", "x.png", "--layout", "./x.png"}, "--layout"},
      {{"render", "K", "-o", "x.png", "--family", "large2"}, "--family: 'large2'"},
      {{"render", "K", "-o", "x.png", "--appearance", "sepia"}, "accepted: light, dark"},
      {{"render", "K", "-o", "x.png", "--entry", "latest"}, "--entry"},
      {{"render", "K", "-o", "x.png", "--device", "nokia"}, "iphone15"},
      {{"timeline", "K", "--now", "yesterday"}, "--now"},
      {{"timeline", "K", "--time-zone", "Mars/Olympus"}, "--time-zone"},
      {{"timeline", "K", "--hour-cycle", "13"}, "--hour-cycle"},
      {{"timeline", "K", "--language", " , "}, "--language"},
      {{"timeline", "K", "--locale", "en_US@=x"}, "--locale"},
      {{"serve", "--port", "65536"}, "--port: '65536'"},
      {{"serve", "--port", "80x"}, "--port"},
      {{"serve", "--listen", ""}, "--listen"},
      {{"store", "rename"}, "accepted: show, set, delete, import"},
  };
  for (const auto& [args, mentions] : cases) expectUsage(args, mentions);
}

// --jobs is a whole number from 1 to 256 wherever it is taken.
TEST(CommandLine, JobsAreAWholeNumberInRange) {
  EXPECT_EQ(optionsOf<GalleryOptions>({"gallery", "-o", "g", "--jobs", "2"}).jobs, 2);
  EXPECT_FALSE(optionsOf<GalleryOptions>({"gallery", "-o", "g"}).jobs);
  EXPECT_EQ(optionsOf<SnapshotVerifyOptions>({"snapshot", "verify", "d", "--jobs=256"}).jobs, 256);
  for (const char* jobs : {"0", "-1", "2x", "257", "99999999999", " 2", ""}) {
    expectUsage({"gallery", "-o", "g", "--jobs", jobs}, "--jobs");
    expectUsage({"snapshot", "record", "d", "--jobs", jobs}, "--jobs");
  }
}

// --os and --scale are read by one function each, for every command and for a manifest: words
// that look almost right are refused everywhere, and the bounds are the bounds.
TEST(CommandLine, SystemVersionAndScaleAreReadOnceWhateverTheSource) {
  for (const char* os : {"17.", "17.4.1.2", "-1", ".17", "17..4", "1e3", "NaN", "٣", ""}) {
    expectUsage({"timeline", "K", "--os", os}, "--os");
    expectUsage({"gallery", "-o", "g", "--os", os}, "--os");
    EXPECT_FALSE(readRecordedMatrix({{"os", os}}).ok()) << os;
  }
  for (const char* scale : {"0.999", "3.0001", "-1", "1e3", "NaN", "inf", "0x2", "2 ", ""}) {
    expectUsage({"render", "K", "-o", "x.png", "--scale", scale}, "--scale");
    expectUsage({"serve", "--scale", scale}, "--scale");
    EXPECT_FALSE(readRecordedMatrix({{"scale", scale}}).ok()) << scale;
  }
  for (const char* scale : {"1", "3.0", "1.5"})
    EXPECT_TRUE(readRecordedMatrix({{"scale", scale}}).ok()) << scale;
  auto matrix = readRecordedMatrix({{"os", "17, unknown"}, {"scale", "1"}, {"pseudo", "true"}});
  ASSERT_TRUE(matrix.ok());
  EXPECT_EQ(matrix->systemVersions,
            (std::vector<std::optional<os::SystemVersion>>{os::SystemVersion{17, 0, 0}, {}}));
  EXPECT_EQ(matrix->device.systemVersion, (os::SystemVersion{17, 0, 0}));
  EXPECT_TRUE(matrix->pseudo);
  EXPECT_FALSE(readRecordedMatrix({{"jobs", "2"}}).ok());
  EXPECT_FALSE(readRecordedMatrix({{"pseudo", "yes"}}).ok());
}

// record and verify are subcommands of snapshot; a widget's snapshot entry stays `snapshot KIND`.
TEST(CommandLine, SnapshotRecordAndVerifyAreSubcommands) {
  auto record = optionsOf<SnapshotRecordOptions>(
      {"--os=17,18", "snapshot", "record", "d", "--scale", "1", "--language", "en"});
  EXPECT_EQ(record.folder, "d");
  EXPECT_EQ(record.matrix.scenarios, std::vector<std::string>{"all"});
  EXPECT_EQ(record.matrix.systemVersions.size(), 2u);
  EXPECT_EQ(record.words,
            (std::vector<std::pair<std::string, std::string>>{
                {"scenario", "all"}, {"language", "en"}, {"os", "17,18"}, {"scale", "1"}}));
  auto verify =
      optionsOf<SnapshotVerifyOptions>({"snapshot", "verify", "d", "-o", "r", "--update"});
  EXPECT_EQ(verify.folder, "d");
  EXPECT_EQ(verify.report, "r");
  EXPECT_TRUE(verify.update);
  EXPECT_EQ(chosen({"snapshot", "verify", "d"}).name, "snapshot verify");
  EXPECT_EQ(optionsOf<EntryOptions>({"snapshot", "TamsaWidget"}).kind, "TamsaWidget");
  expectUsage({"snapshot"}, "KIND");
  expectUsage({"snapshot", "record"}, "DIR");
  expectUsage({"snapshot", "verify", "d", "--language", "en"}, "--language is for snapshot record");
  expectUsage({"snapshot", "verify", "d", "--scale", "1"}, "unexpected");
  expectUsage({"snapshot", "record", "d", "e"}, "unexpected argument: e");
  expectUsage({"snapshot", "K", "record", "d"}, "unexpected argument: K");
}

// The commands README.md lists and --help lists are the table's, no more and no fewer.
TEST(CommandLine, HelpAndReadmeNameTheCommandsOfTheTable) {
  std::set<std::string> table, top;
  for (const auto& row : hostCommands()) {
    table.insert(row.name);
    if (row.name.find(' ') == std::string::npos) top.insert(row.name);
  }
  std::ifstream file(std::string(TAMSA_TEST_DATA) + "/../../README.md");
  std::stringstream content;
  content << file.rdbuf();
  const std::string readme = content.str();
  std::set<std::string> documented;
  const std::regex row(R"(\n\| `([a-z]+)( ([a-z]+))?[^`]*` \|)");
  for (std::sregex_iterator i(readme.begin(), readme.end(), row), end; i != end; ++i) {
    std::string two = (*i)[1].str() + " " + (*i)[3].str();
    documented.insert(table.count(two) ? two : (*i)[1].str());
  }
  EXPECT_EQ(documented, table);

  auto listed = [](const std::vector<std::string>& args) {
    auto help = parse(args);
    EXPECT_TRUE(help.ok() && !help->run);
    std::set<std::string> names;
    std::stringstream in(help.ok() ? help->text : "");
    bool inList = false;
    for (std::string line; std::getline(in, line);) {
      if (line == "Subcommands:" || line == "SUBCOMMANDS:")
        inList = true;
      else if (inList && line.rfind("  ", 0) == 0 && line.size() > 2 && line[2] != ' ')
        names.insert(line.substr(2, line.find(' ', 2) - 2));
    }
    return names;
  };
  EXPECT_EQ(listed({"--help"}), top);
  EXPECT_EQ(listed({"snapshot", "--help"}), (std::set<std::string>{"record", "verify"}));
  EXPECT_NE(parse({"--help"})->text.find("3 a check found problems"), std::string::npos);
}

}  // namespace
}  // namespace host

// The binary writer against our reader and against Python's plistlib, a reader of its own.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>

#include "platform/foundation/PropertyList.h"
#include "support/RunProgram.h"

namespace foundation {
namespace {

PlistValue integer(std::int64_t v, bool large = false) {
  return PlistValue{PlistInteger{v, large}};
}
PlistValue text(const char* s) {
  return PlistValue{std::string(s)};
}

PlistValue everyKind() {
  PlistArray many;  // past 0xFF objects: two-byte references
  for (int i = 0; i < 300; ++i) many.push_back(integer(i * 1000));
  return PlistValue{PlistDictionary{
      {"ascii", text("logged_in")},
      {"utf16 \xC3\xA9", text("Caf\xC3\xA9 \xF0\x9F\x92\xB0 \xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D")},
      {"long", PlistValue{std::string(70000, 'x')}},
      {"ints", PlistValue{PlistArray{integer(0), integer(255), integer(256), integer(65535),
                                     integer(70000), integer(5000000000), integer(-1),
                                     integer(INT64_MIN), integer(INT64_MAX), integer(-2, true)}}},
      {"reals", PlistValue{PlistArray{PlistValue{1.0}, PlistValue{-12.5}, PlistValue{-0.0},
                                      PlistValue{1e300}, PlistValue{0.1}}}},
      {"date", PlistValue{PlistDate{1700000000 - 978307200}}},
      {"data", PlistValue{PlistData{std::string("\0\xFF\x01", 3)}}},
      {"uid", PlistValue{PlistUid{300}}},
      {"flags", PlistValue{PlistArray{PlistValue{true}, PlistValue{false}, PlistValue{true}}}},
      {"many", PlistValue{std::move(many)}},
      {"", PlistValue{PlistDictionary{{"nested", PlistValue{PlistArray{}}}}}},
  }};
}

TEST(PropertyListWriter, WritesWhatTheReaderReadsBack) {
  const PlistValue value = everyKind();
  auto bytes = writeBinaryPropertyList(value);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(bytes->substr(0, 8), "bplist00");
  EXPECT_EQ(readPropertyList(*bytes), value);
  EXPECT_EQ((*bytes)[bytes->size() - 25], 2) << "object references sized for over 0xFF objects";
  EXPECT_NE(bytes->find(std::string("\x11\xFF\xFF", 3)), std::string::npos)
      << "65535 in two bytes, as CoreFoundation writes it";
  auto nan = readPropertyList(*writeBinaryPropertyList(PlistValue{std::nan("")}));
  EXPECT_TRUE(std::isnan(std::get<double>(nan->value)));
  auto back = std::get<PlistDictionary>(readPropertyList(*bytes)->value);
  EXPECT_TRUE(
      std::signbit(std::get<double>(std::get<PlistArray>(back.at("reals").value)[2].value)));
  // Equal scalars are written once: a second copy of the long text adds only a reference.
  PlistValue twice{
      PlistArray{PlistValue{std::string(70000, 'x')}, PlistValue{std::string(70000, 'x')}}};
  EXPECT_LT(writeBinaryPropertyList(twice)->size(), 70100u);
}

TEST(PropertyListWriter, RefusesNestingTheReaderWouldRefuse) {
  PlistValue deep{PlistArray{}};
  for (int i = 0; i < maxPropertyListDepth; ++i) deep = PlistValue{PlistArray{deep}};
  EXPECT_FALSE(writeBinaryPropertyList(deep));
  EXPECT_TRUE(writeBinaryPropertyList(std::get<PlistArray>(deep.value)[0]));
}

// plistlib reads what we write, lays the same values out byte for byte as we do (as CoreFoundation
// does), and writes them back as XML the same.
TEST(PropertyListWriter, PythonsPlistlibReadsTheSameValues) {
  if (std::system("python3 -c 'import plistlib' >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "no python3";
  const std::string dir = testing_support::makeTempDirectory();
  const PlistValue value = everyKind();
  std::ofstream(dir + "/in.plist", std::ios::binary) << *writeBinaryPropertyList(value);
  const std::string script =
      "import plistlib, sys; d = plistlib.load(open(sys.argv[1] + '/in.plist', 'rb')); "
      "assert d['ints'][7] == -2**63 and d['ints'][9] == 2**64 - 2, d['ints']; "
      "assert d['uid'] == plistlib.UID(300), d['uid']; "
      "assert plistlib.dumps(d, fmt=plistlib.FMT_BINARY) == open(sys.argv[1] + '/in.plist', "
      "'rb').read(), 'laid out otherwise'; "
      "open(sys.argv[1] + '/b.plist', 'wb').write(plistlib.dumps(d, fmt=plistlib.FMT_BINARY)); "
      "del d['uid']; open(sys.argv[1] + '/x.plist', 'wb').write(plistlib.dumps(d))";
  ASSERT_EQ(std::system(("python3 -c \"" + script + "\" " + dir).c_str()), 0);
  EXPECT_EQ(readPropertyList(testing_support::readFile(dir + "/b.plist")), value);
  auto withoutUid = std::get<PlistDictionary>(value.value);  // XML has no UIDs of its own
  withoutUid.erase("uid");
  EXPECT_EQ(readPropertyList(testing_support::readFile(dir + "/x.plist")), PlistValue{withoutUid});
}

}  // namespace
}  // namespace foundation

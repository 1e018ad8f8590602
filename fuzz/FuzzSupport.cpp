#include "FuzzSupport.h"

#include "FuzzCheck.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/Unicode.h"
#include "platform/os/MemoryFileSystem.h"
#include "summary/data/SummaryLoader.h"

namespace tamsa_fuzz {

std::string lossyUtf8(std::string_view bytes) {
  std::string out;
  for (std::size_t pos = 0; pos < bytes.size();) {
    char32_t c;
    if (!foundation::unicode::decodeUtf8(bytes, pos, c)) {
      c = foundation::unicode::replacementCharacter;
      ++pos;
    }
    foundation::unicode::appendUtf8(out, c);
  }
  return out;
}

// Keys in ASCII, texts in UTF-16, then the dictionary; eight-byte counts and offsets throughout.
std::string textStore(const std::map<std::string, std::string>& texts) {
  auto be = [](std::uint64_t v, int width) {
    std::string s;
    for (int i = width - 1; i >= 0; --i) s += static_cast<char>(v >> (8 * i));
    return s;
  };
  auto marker = [&](int kind, std::size_t n) { return char(kind << 4 | 15) + ("\x13" + be(n, 8)); };
  std::vector<std::string> objects;
  for (const auto& entry : texts) objects.push_back(marker(5, entry.first.size()) + entry.first);
  for (const auto& entry : texts) {
    std::string units;
    char32_t c;
    for (std::size_t pos = 0; foundation::unicode::decodeUtf8(entry.second, pos, c);) {
      if (c >= 0x10000) units += be(0xD800 + ((c - 0x10000) >> 10), 2), c = 0xDC00 + (c & 0x3FF);
      units += be(c, 2);
    }
    objects.push_back(marker(6, units.size() / 2) + units);
  }
  objects.push_back(marker(0xD, texts.size()));
  for (std::size_t i = 0; i < 2 * texts.size(); ++i) objects.back() += be(i, 1);
  std::string file = "bplist00", table;
  for (const auto& object : objects) table += be(file.size(), 8), file += object;
  return file + table + std::string(6, '\0') + "\x08\x01" + be(objects.size(), 8) +
         be(objects.size() - 1, 8) + be(file.size(), 8);
}

device::Device memoryDevice(std::string storeBytes) {
  auto fs = std::make_shared<os::MemoryFileSystem>();
  fs->addFile("/bundle/en.lproj/Localizable.strings", "\"widget_wallets_count\" = \"%@ wallets\";");
  fs->addFile("/container/Library/Preferences/group.com.tamsaledger.app.plist",
              std::move(storeBytes));
  device::Device d;
  d.fileSystem = fs;
  d.clock = std::make_shared<foundation::FixedClock>(foundation::Date{1767258000});
  d.appGroupContainer = "/container";
  d.mainBundle = *foundation::Bundle::atPath(fs, "/bundle", {"en"});
  return d;
}

void checkStoreOutcome(std::string_view bytes) {
  auto list = foundation::readPropertyList(bytes);
  auto entry = tamsa::loadSummaryEntry(memoryDevice(std::string(bytes)));
  const auto* dict = list ? std::get_if<foundation::PlistDictionary>(&list->value) : nullptr;
  if (!dict) {
    FUZZ_CHECK(entry == tamsa::loadSummaryEntry(memoryDevice("")));
    return;
  }
  auto auth = dict->find("widget_auth_status");
  const auto* text = auth == dict->end() ? nullptr : std::get_if<std::string>(&auth->second.value);
  FUZZ_CHECK(entry.isLoggedIn == (text && *text == "logged_in"));
}

}  // namespace tamsa_fuzz

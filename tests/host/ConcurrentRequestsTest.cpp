// The widget host asks for placeholders, snapshots and timelines from several threads at once
// while the host application rewrites the shared store on disk. Every entry must be the old
// store's or the new store's (or, for a writer that rewrites in place, the empty store's), never
// a mix; first uses of the sample entry and of the amount formatter race here too. Meant to run
// under ThreadSanitizer as well (scripts/test-sanitized thread).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "summary/data/SummaryLoader.h"
#include "summary/data/TamsaProvider.h"
#include "summary/views/SummaryFormatting.h"
#include "support/RunProgram.h"
#include "support/TestDevice.h"

namespace {

using tamsa::TamsaSummaryEntry;
using S = std::string;

// A store holding the values in this order, all as text (numbers convert).
S store(const std::vector<S>& values) {
  static const char* keys[] = {
      "widget_auth_status",  "widget_currency_symbol", "widget_period_type", "widget_wallet_mode",
      "widget_wallet_names", "widget_wallet_count",    "widget_last_update", "widget_income",
      "widget_expense",      "widget_balance",         "widget_language"};
  testing_support::StoreValues pairs;
  for (std::size_t i = 0; i < values.size(); ++i) pairs.push_back({keys[i], values[i]});
  return testing_support::xmlPlist(pairs);
}

// Two stores that differ in every field an entry shows, the recorded language included, and are
// laid out alike (same lengths), so a torn read would still parse.
const S kOld = store({"logged_in", "$", "week", "multi", "Cash", "3", "1700000000000", "1000.25",
                      "250.5", "749.75", "de"});
const S kNew = store({"logged_ix", "E", "year", "singl", "Bank", "7", "1800000000000", "2000.75",
                      "999.5", "701.25", "en"});

void writeFile(const S& path, const S& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Readers ask for entries from a real folder (a bundle with English and German tables and the
// app group's container) until `writer` is done; every entry a reader gets is one of `allowed`
// for the stores the writer writes ("" for the empty one).
void race(const std::function<void(const S& suite)>& writer, const std::vector<S>& allowed) {
  const S root = testing_support::makeTempDirectory(),
          suite = root + "/container/Library/Preferences/group.com.tamsaledger.app.plist";
  std::filesystem::create_directories(root + "/container/Library/Preferences");
  for (auto [language, table] :
       {std::pair{"en", R"("widget_period_year" = "This Year";)"},
        {"de", R"("widget_period_week" = "Diese Woche"; "widget_wallets_count" = "%@ Konten";)"}}) {
    std::filesystem::create_directories(root + "/bundle/" + language + ".lproj");
    writeFile(root + "/bundle/" + language + ".lproj/Localizable.strings", table);
  }
  device::Device d;
  d.fileSystem = os::posixFileSystem();
  d.clock = std::make_shared<foundation::FixedClock>(foundation::Date{1767258000});
  d.appGroupContainer = root + "/container";
  d.mainBundle = *foundation::Bundle::atPath(d.fileSystem, root + "/bundle", {"en"});
  d.localeIdentifier = "de_DE";
  d.timeZoneIdentifier = "Europe/Berlin";
  std::vector<TamsaSummaryEntry> entries;
  for (const S& bytes : allowed) {
    writeFile(suite, bytes);
    entries.push_back(tamsa::loadSummaryEntry(d));
  }
  ASSERT_EQ(entries[0].walletLabel, "3 Konten");  // the German table is in use

  std::atomic<bool> writing{true};
  std::atomic<int> ready{0}, requests{0}, strays{0};
  auto reader = [&] {
    widgetkit::TimelineProviderContext context{d};
    auto check = [&](const TamsaSummaryEntry& e) {
      ++requests;
      (void)tamsa::amountText(e, e.balance);  // the formatters' first uses race too
      (void)tamsa::lastUpdateText(e, d);
      strays += std::find(entries.begin(), entries.end(), e) == entries.end();
    };
    for (++ready; ready < 4;) std::this_thread::yield();
    const TamsaSummaryEntry& sample = tamsa::sampleSummaryEntry(*d.clock);
    do {
      EXPECT_EQ(tamsa::TamsaProvider{}.placeholder(context), sample);
      tamsa::TamsaProvider{}.getSnapshot(context, [&](TamsaSummaryEntry e) { check(e); });
      tamsa::TamsaProvider{}.getTimeline(context, [&](auto t) { check(t.entries.at(0)); });
      // Leaves the writer room on a busy machine; the requests still overlap its every step.
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    } while (writing);
  };
  std::vector<std::thread> readers;
  for (int r = 0; r < 4; ++r) readers.emplace_back(reader);
  while (ready < 4) std::this_thread::yield();
  for (int i = 0; i < 1000; ++i) writer(suite);
  writing = false;
  for (auto& t : readers) t.join();
  EXPECT_GT(requests, 0);
  EXPECT_EQ(strays, 0);
}

TEST(ConcurrentRequests, StoreReplacedWholeGivesTheOldOrTheNewEntry) {
  int i = 0;
  race(
      [&](const S& suite) {
        writeFile(suite + ".tmp", ++i % 2 ? kOld : kNew);
        std::filesystem::rename(suite + ".tmp", suite);
      },
      {kOld, kNew});
}

TEST(ConcurrentRequests, StoreRewrittenInPlaceGivesOldNewOrEmpty) {
  int i = 0;
  race(
      [&](const S& suite) {
        // Truncate, then write in small pieces: readers see every length on the way.
        const S& bytes = ++i % 2 ? kOld : kNew;
        int fd = ::open(suite.c_str(), O_WRONLY | O_TRUNC);
        for (std::size_t at = 0; fd >= 0 && at < bytes.size(); at += 64) {
          EXPECT_GT(::write(fd, bytes.data() + at, std::min<std::size_t>(64, bytes.size() - at)),
                    0);
          std::this_thread::yield();
        }
        EXPECT_EQ(::close(fd), 0);
      },
      {kOld, kNew, ""});
}

}  // namespace

// The widget host asks for placeholders, snapshots and timelines from several threads at once
// while the host application rewrites the shared store on disk. Every entry must be the old
// store's or the new store's (or, for a writer that rewrites in place, the empty store's), never
// a mix; first uses of the sample entry and of the amount formatter race here too. Meant to run
// under ThreadSanitizer as well (scripts/test-sanitized thread).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "summary/data/SummaryLoader.h"
#include "summary/data/TamsaProvider.h"
#include "summary/views/SummaryFormatting.h"
#include "support/RunProgram.h"
#include "support/TestDevice.h"

namespace {

using tamsa::TamsaSummaryEntry;
using testing_support::Integer;
using testing_support::Real;
using testing_support::StoreValues;

constexpr int kReaders = 4;
constexpr int kRewrites = 1000;

// Two stores that differ in every field an entry shows, the recorded language included, and are
// laid out alike (same lengths), so a torn read would still parse.
const StoreValues kOld = {
    {"widget_auth_status", std::string("logged_in")},
    {"widget_currency_symbol", std::string("$")},
    {"widget_period_type", std::string("week")},
    {"widget_wallet_mode", std::string("multi")},
    {"widget_wallet_names", std::string("Cash")},
    {"widget_wallet_count", std::string("3")},
    {"widget_last_update", std::string("1700000000000")},
    {"widget_income", Real{1000.25}},
    {"widget_expense", Real{250.5}},
    {"widget_balance", Real{749.75}},
    {"widget_language", std::string("de")},
};
const StoreValues kNew = {
    {"widget_auth_status", std::string("logged_ix")},
    {"widget_currency_symbol", std::string("E")},
    {"widget_period_type", std::string("year")},
    {"widget_wallet_mode", std::string("singl")},
    {"widget_wallet_names", std::string("Bank")},
    {"widget_wallet_count", std::string("7")},
    {"widget_last_update", std::string("1800000000000")},
    {"widget_income", Real{2000.75}},
    {"widget_expense", Real{999.5}},
    {"widget_balance", Real{701.25}},
    {"widget_language", std::string("en")},
};

bool sameButDate(const TamsaSummaryEntry& a, const TamsaSummaryEntry& b) {
  TamsaSummaryEntry c = b;
  c.date = a.date;
  return a == c;
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A real directory: bundle with English and German tables, and the app group's container.
class LiveContainer {
 public:
  LiveContainer() : root_(testing_support::makeTempDirectory()) {
    std::filesystem::create_directories(root_ + "/bundle/en.lproj");
    std::filesystem::create_directories(root_ + "/bundle/de.lproj");
    std::filesystem::create_directories(root_ + "/container/Library/Preferences");
    writeFile(root_ + "/bundle/en.lproj/Localizable.strings",
              testing_support::stringsTable({{"widget_period_month", "This Month"},
                                             {"widget_period_year", "This Year"},
                                             {"widget_all_wallets", "All Wallets"}}));
    writeFile(root_ + "/bundle/de.lproj/Localizable.strings",
              testing_support::stringsTable({{"widget_period_week", "Diese Woche"},
                                             {"widget_period_year", "Dieses Jahr"},
                                             {"widget_period_month", "Dieser Monat"},
                                             {"widget_all_wallets", "Alle Konten"},
                                             {"widget_wallets_count", "%@ Konten"}}));
    device_.fileSystem = os::posixFileSystem();
    device_.clock = std::make_shared<foundation::FixedClock>(foundation::Date{1767258000});
    device_.appGroupContainer = root_ + "/container";
    device_.mainBundle = *foundation::Bundle::atPath(device_.fileSystem, root_ + "/bundle", {"en"});
    device_.localeIdentifier = "de_DE";
    device_.timeZoneIdentifier = "Europe/Berlin";
  }

  const device::Device& device() const { return device_; }
  std::string suitePath() const {
    return root_ + "/container/Library/Preferences/group.com.tamsaledger.app.plist";
  }
  TamsaSummaryEntry entryFor(const std::string& bytes) {
    writeFile(suitePath(), bytes);
    return tamsa::loadSummaryEntry(device_);
  }

 private:
  std::string root_;
  device::Device device_;
};

// What the readers saw: requests, entries equal to each allowed entry, and the first entry that
// was none of them.
struct Tally {
  std::atomic<long> requests{0};
  std::atomic<long> matched[3] = {0, 0, 0};
  std::mutex mutex;
  std::optional<std::string> stray;
};

std::string show(const TamsaSummaryEntry& e) {
  return e.currencySymbol + " " + e.periodLabel + " / " + e.walletLabel + " " +
         std::to_string(e.balance) + (e.isLoggedIn ? " in" : " out");
}

// Runs the readers against the writer until it is done; each reader starts with the first uses.
void race(const LiveContainer& live, const std::function<void()>& writer,
          const std::vector<TamsaSummaryEntry>& allowed, Tally& tally) {
  std::atomic<bool> writing{true};
  std::atomic<int> ready{0};
  std::vector<std::thread> readers;
  for (int r = 0; r < kReaders; ++r) {
    readers.emplace_back([&, r] {
      const device::Device& d = live.device();
      widgetkit::TimelineProviderContext context{d};
      widgetkit::TimelineProviderContext preview{d, true};
      tamsa::TamsaProvider provider;
      auto check = [&](const TamsaSummaryEntry& e) {
        ++tally.requests;
        // The formatters' first uses race between the readers.
        (void)tamsa::amountText(e, e.balance);
        (void)tamsa::lastUpdateText(e, d);
        for (std::size_t i = 0; i < allowed.size(); ++i) {
          if (sameButDate(e, allowed[i])) {
            ++tally.matched[i];
            return;
          }
        }
        std::lock_guard lock(tally.mutex);
        if (!tally.stray) tally.stray = show(e);
      };
      ready.fetch_add(1);
      while (ready.load() < kReaders) std::this_thread::yield();
      const TamsaSummaryEntry& sample = tamsa::sampleSummaryEntry(*d.clock);
      do {
        TamsaSummaryEntry placeholder = provider.placeholder(context);
        EXPECT_EQ(placeholder, sample);
        (void)tamsa::amountText(placeholder, placeholder.income);
        provider.getSnapshot(r % 2 ? context : preview, [&](TamsaSummaryEntry e) {
          if (r % 2)
            check(e);
          else
            EXPECT_EQ(e, sample);
        });
        provider.getTimeline(context, [&](widgetkit::Timeline<TamsaSummaryEntry> t) {
          ASSERT_EQ(t.entries.size(), 1u);
          check(t.entries[0]);
        });
        // Leaves the writer room on a busy machine; the requests still overlap its every step.
        std::this_thread::sleep_for(std::chrono::microseconds(200));
      } while (writing.load());
    });
  }
  while (ready.load() < kReaders) std::this_thread::yield();
  writer();
  writing.store(false);
  for (auto& t : readers) t.join();
}

TEST(ConcurrentRequests, StoreReplacedWholeGivesTheOldOrTheNewEntry) {
  LiveContainer live;
  const std::string oldBytes = testing_support::xmlPlist(kOld);
  const std::string newBytes = testing_support::xmlPlist(kNew);
  ASSERT_EQ(oldBytes.size(), newBytes.size());
  const TamsaSummaryEntry oldEntry = live.entryFor(oldBytes);
  const TamsaSummaryEntry newEntry = live.entryFor(newBytes);
  ASSERT_TRUE(oldEntry.isLoggedIn);
  ASSERT_EQ(oldEntry.walletLabel, "3 Konten");
  ASSERT_EQ(newEntry.walletLabel, "Bank");
  ASSERT_EQ(oldEntry.periodLabel, "Diese Woche");
  ASSERT_EQ(newEntry.periodLabel, "This Year");

  Tally tally;
  const std::string temp = live.suitePath() + ".tmp";
  race(
      live,
      [&] {
        for (int i = 0; i < kRewrites; ++i) {
          writeFile(temp, i % 2 ? oldBytes : newBytes);
          std::filesystem::rename(temp, live.suitePath());
        }
      },
      {oldEntry, newEntry}, tally);
  EXPECT_EQ(tally.stray, std::nullopt);
  EXPECT_GT(tally.requests, 0);
  EXPECT_EQ(tally.matched[0] + tally.matched[1], tally.requests);
}

TEST(ConcurrentRequests, StoreRewrittenInPlaceGivesOldNewOrEmpty) {
  LiveContainer live;
  const std::string oldBytes = testing_support::xmlPlist(kOld);
  const std::string newBytes = testing_support::xmlPlist(kNew);
  const TamsaSummaryEntry oldEntry = live.entryFor(oldBytes);
  const TamsaSummaryEntry newEntry = live.entryFor(newBytes);
  const TamsaSummaryEntry emptyEntry = live.entryFor("");

  Tally tally;
  race(
      live,
      [&] {
        for (int i = 0; i < kRewrites; ++i) {
          const std::string& bytes = i % 2 ? oldBytes : newBytes;
          // Truncate, then write in small pieces: readers see every length on the way.
          int fd = ::open(live.suitePath().c_str(), O_WRONLY | O_TRUNC);
          ASSERT_GE(fd, 0);
          for (std::size_t at = 0; at < bytes.size(); at += 64) {
            std::size_t n = std::min<std::size_t>(64, bytes.size() - at);
            ASSERT_EQ(::write(fd, bytes.data() + at, n), static_cast<ssize_t>(n));
            std::this_thread::yield();
          }
          ::close(fd);
        }
      },
      {oldEntry, newEntry, emptyEntry}, tally);
  EXPECT_EQ(tally.stray, std::nullopt);
  EXPECT_EQ(tally.matched[0] + tally.matched[1] + tally.matched[2], tally.requests);
}

}  // namespace

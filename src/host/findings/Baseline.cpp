#include "host/findings/Baseline.h"

#include <algorithm>
#include <map>

#include "host/core/InputFiles.h"

namespace host {
namespace {

using nlohmann::ordered_json;

constexpr std::size_t kMaxBaselineBytes = std::size_t{16} << 20;
constexpr const char* kFormat = "tamsa-widgets findings baseline";

const BaselineEntry* find(const Baseline& baseline, const FindingCause& cause) {
  for (const auto& e : baseline.accepted)
    if (e.cause == cause) return &e;
  return nullptr;
}

}  // namespace

Result<Baseline> readBaseline(const os::WritableFileSystem& files,
                              const std::filesystem::path& path) {
  auto bad = [&](const std::string& why) {
    return Failure::runtime("--baseline " + path.string() + ": " + why);
  };
  auto bytes = readPlainFile(files, path, kMaxBaselineBytes);
  if (!bytes) return bad(bytes.failure().message);
  auto json = nlohmann::json::parse(*bytes, nullptr, false);
  if (json.is_discarded() || !json.is_object() || json.value("format", "") != kFormat ||
      !json.contains("accepted") || !json["accepted"].is_array())
    return bad("not a findings baseline (write one with gallery --update-baseline)");
  Baseline baseline;
  for (const auto& entry : json["accepted"]) {
    const std::string at = "entry " + std::to_string(baseline.accepted.size() + 1);
    if (!entry.is_object()) return bad(at + " is not an object");
    auto cause = FindingCause::fromJson(entry);
    if (!cause) return bad(at + ": " + cause.failure().message);
    auto reason = entry.find("reason"), said = entry.find("message");
    if (reason == entry.end() || !reason->is_string()) return bad(at + " gives no reason (a text)");
    baseline.accepted.push_back(
        {*cause, reason->get<std::string>(),
         said != entry.end() && said->is_string() ? said->get<std::string>() : ""});
  }
  return baseline;
}

void applyBaseline(std::vector<Finding>& findings, const Baseline& baseline) {
  for (auto& f : findings)
    if (const BaselineEntry* e = find(baseline, f.cause)) f.accepted = e->reason;
}

std::string baselineJson(const std::vector<Finding>& findings, const Baseline& previous,
                         const std::string& reason) {
  std::map<FindingCause, const Finding*> byCause;
  for (const auto& f : findings) byCause.emplace(f.cause, &f);
  ordered_json accepted = ordered_json::array();
  for (const auto& [cause, f] : byCause) {
    const BaselineEntry* before = find(previous, cause);
    ordered_json entry = cause.toJson();
    entry["severity"] = std::string(kSeverityNames.nameOf(f->severity));
    entry["reason"] = before ? before->reason : reason;
    entry["message"] = f->message;
    accepted.push_back(std::move(entry));
  }
  ordered_json out{{"format", kFormat}, {"accepted", std::move(accepted)}};
  return out.dump(2) + "\n";
}

}  // namespace host

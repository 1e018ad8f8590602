#include "host/core/HostSession.h"

#include "host/core/FamilyNames.h"

namespace host {
namespace {

std::string kindOf(const widgetkit::WidgetBundleMember& m) {
  return std::visit([](const auto& c) { return c.kind(); }, m);
}

template <class T>
const T* find(const std::vector<widgetkit::WidgetBundleMember>& declared, const std::string& kind) {
  for (const auto& m : declared)
    if (auto* c = std::get_if<T>(&m); c && c->kind() == kind) return c;
  return nullptr;
}

Failure notOffered(const HostSession& s, const std::string& kind) {
  std::string offered;
  for (const auto& m : s.declared) offered += (offered.empty() ? "" : ", ") + kindOf(m);
  std::string system =
      s.device.systemVersion ? "iOS " + s.device.systemVersion->text() : "an unknown iOS version";
  return Failure::usage("'" + kind + "' is not offered on " + system +
                        " (offered there: " + offered + ")");
}

}  // namespace

Result<const widgetkit::WidgetConfiguration*> HostSession::widget(const std::string& kind) const {
  if (auto* w = find<widgetkit::WidgetConfiguration>(declared, kind)) return w;
  if (find<widgetkit::ControlConfiguration>(declared, kind))
    return Failure::usage("'" + kind +
                          "' is a control: it has no entries and no tap link (use perform or "
                          "render)");
  return notOffered(*this, kind);
}

Result<const widgetkit::ControlConfiguration*> HostSession::control(const std::string& kind) const {
  if (auto* c = find<widgetkit::ControlConfiguration>(declared, kind)) return c;
  if (find<widgetkit::WidgetConfiguration>(declared, kind))
    return Failure::usage("'" + kind + "' is a widget: only a control has an intent to perform");
  return notOffered(*this, kind);
}

Result<widgetkit::WidgetFamily> HostSession::family(const widgetkit::WidgetConfiguration& widget,
                                                    std::optional<widgetkit::WidgetFamily> asked,
                                                    bool required) const {
  std::string offered;
  for (auto f : widget.families()) offered += (offered.empty() ? "" : ", ") + familyName(f);
  if (!asked) {
    if (required || widget.families().empty())
      return Failure::usage("--family is required for a widget (" + widget.kind() +
                            " offers: " + offered + ")");
    return widget.families().front();
  }
  if (!widget.supports(*asked))
    return Failure::usage(widget.kind() + " is not offered in the " + familyName(*asked) +
                          " family (offered: " + offered + ")");
  return *asked;
}

widgetkit::TimelineProviderContext HostSession::context(widgetkit::WidgetFamily family,
                                                        bool isPreview) const {
  widgetkit::TimelineProviderContext ctx{device};
  ctx.family = family;
  ctx.isPreview = isPreview;
  return ctx;
}

widgetkit::AnyTimelineEntry entryFor(const device::Device& d,
                                     const widgetkit::WidgetConfiguration& w,
                                     widgetkit::WidgetFamily family, EntryChoice which) {
  widgetkit::TimelineProviderContext ctx{d};
  ctx.family = family;
  ctx.isPreview = which == EntryChoice::preview;
  switch (which) {
    case EntryChoice::placeholder:
      return w.placeholder(ctx);
    case EntryChoice::snapshot:
    case EntryChoice::preview:
      return w.snapshot(ctx);
    case EntryChoice::timeline:
      break;
  }
  auto timeline = w.timeline(ctx);
  if (timeline.entries.empty()) return w.placeholder(ctx);
  return timeline.entries.front();
}

}  // namespace host

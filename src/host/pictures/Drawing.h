// Drawing what the bundle declares, as the home screen and the control gallery show it: a widget
// in a family with one of its provider's entries, or a control's button, each laid out and drawn
// by the one renderer into a picture's bytes with the layout tree of what was drawn. Texts take
// the language of the table they came from, so Han characters take that language's forms.
#pragma once

#include <string>

#include "drawing/PangoTextMeasurer.h"
#include "drawing/WidgetRenderer.h"
#include "drawing/WidgetScene.h"
#include "host/core/HostOptions.h"
#include "host/core/Result.h"
#include "platform/widgetkit/ControlConfiguration.h"
#include "platform/widgetkit/WidgetConfiguration.h"

namespace host {

// How a picture is drawn.
struct PictureLook {
  Appearance appearance = Appearance::light;
  host::HostDevice device;
  double scale = 2;
  drawing::PictureFormat format = drawing::PictureFormat::png;
  HomeScreen homeScreen{};
};

// The picture (its bytes, a PNG's pixels, its layout tree) and the scene it was drawn from.
struct DrawnPicture : drawing::Picture {
  drawing::WidgetScene scene;
};

Result<DrawnPicture> drawWidget(const device::Device& device,
                                const widgetkit::WidgetConfiguration& widget,
                                widgetkit::WidgetFamily family, EntryChoice entry,
                                const PictureLook& look,
                                const drawing::PangoTextMeasurer& measurer);

// The same, for an entry the host already holds (a timeline it keeps, as the phone does).
Result<DrawnPicture> drawWidgetEntry(const device::Device& device,
                                     const widgetkit::WidgetConfiguration& widget,
                                     widgetkit::WidgetFamily family,
                                     const widgetkit::AnyTimelineEntry& entry,
                                     const PictureLook& look,
                                     const drawing::PangoTextMeasurer& measurer);

// The same widget laid out as drawWidgetEntry lays it out, without painting anything: for what
// needs only the room each view was given.
Result<drawing::WidgetScene> layoutWidgetEntry(const device::Device& device,
                                               const widgetkit::WidgetConfiguration& widget,
                                               widgetkit::WidgetFamily family,
                                               const widgetkit::AnyTimelineEntry& entry,
                                               const PictureLook& look,
                                               const drawing::PangoTextMeasurer& measurer);

// The control gallery keeps its own colours: a tinted or clear look is a usage failure (the
// control is drawn in light and dark).
Result<DrawnPicture> drawControl(const device::Device& device,
                                 const widgetkit::ControlConfiguration& control,
                                 const PictureLook& look,
                                 const drawing::PangoTextMeasurer& measurer);

// The control laid out as drawControl lays it out (in the look's colour scheme), without painting.
drawing::WidgetScene layoutControl(const device::Device& device,
                                   const widgetkit::ControlConfiguration& control,
                                   const PictureLook& look,
                                   const drawing::PangoTextMeasurer& measurer);

}  // namespace host

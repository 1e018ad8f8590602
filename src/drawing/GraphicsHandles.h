// Owning handles for the Cairo and Pango objects the renderer makes: each releases its object
// with the library's own release function when it goes out of scope. Move-only values; a handle
// is used by one thread at a time, as the object it owns.
#pragma once

#include <pango/pangocairo.h>

#include <memory>

namespace drawing {

template <auto release>
struct Releaser {
  template <class T>
  void operator()(T* object) const {
    release(object);
  }
};

using CairoSurface = std::unique_ptr<cairo_surface_t, Releaser<cairo_surface_destroy>>;
using CairoContext = std::unique_ptr<cairo_t, Releaser<cairo_destroy>>;
using CairoFontOptions =
    std::unique_ptr<cairo_font_options_t, Releaser<cairo_font_options_destroy>>;
using PangoFontMapHandle = std::unique_ptr<PangoFontMap, Releaser<g_object_unref>>;
using PangoContextHandle = std::unique_ptr<PangoContext, Releaser<g_object_unref>>;
using PangoLayoutHandle = std::unique_ptr<PangoLayout, Releaser<g_object_unref>>;
using PangoFontDescriptionHandle =
    std::unique_ptr<PangoFontDescription, Releaser<pango_font_description_free>>;
using PangoAttrListHandle = std::unique_ptr<PangoAttrList, Releaser<pango_attr_list_unref>>;
using PangoLayoutIterHandle = std::unique_ptr<PangoLayoutIter, Releaser<pango_layout_iter_free>>;
using GlibString = std::unique_ptr<gchar, Releaser<g_free>>;

}  // namespace drawing

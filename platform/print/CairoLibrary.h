#pragma once

// Inside the print layer: Cairo, opened when a picture or a PDF is first painted
// (base::openSharedLibrary), so a process that never paints does not map it and what it
// brings (pixel, font and image libraries). Its headers give the types; calls go through
// the table.

#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <cairo.h>

#include <string>

namespace print::detail {

#define LECTORO_CAIRO_FUNCTIONS(X)                                                                                   \
    X(cairo_arc) X(cairo_arc_negative) X(cairo_clip) X(cairo_close_path) X(cairo_create) X(cairo_curve_to)             \
    X(cairo_destroy) X(cairo_fill) X(cairo_font_extents) X(cairo_get_current_point) X(cairo_get_source)                \
    X(cairo_has_current_point) X(cairo_image_surface_create) X(cairo_image_surface_create_from_png)                    \
    X(cairo_image_surface_get_height) X(cairo_image_surface_get_width) X(cairo_image_surface_get_data)        \
    X(cairo_image_surface_get_stride) X(cairo_line_to) X(cairo_mask_surface)          \
    X(cairo_matrix_init) X(cairo_matrix_invert) X(cairo_move_to) X(cairo_new_path) X(cairo_new_sub_path)               \
    X(cairo_paint) X(cairo_paint_with_alpha) X(cairo_pattern_add_color_stop_rgba) X(cairo_pattern_create_linear)       \
    X(cairo_pattern_destroy) X(cairo_pattern_set_extend) X(cairo_pattern_set_filter) X(cairo_pdf_surface_create)       \
    X(cairo_pdf_surface_set_metadata) X(cairo_pop_group_to_source) X(cairo_push_group) X(cairo_rectangle)             \
    X(cairo_restore) X(cairo_rotate) X(cairo_save) X(cairo_scale) X(cairo_select_font_face) X(cairo_set_dash)          \
    X(cairo_set_font_size) X(cairo_set_line_width) X(cairo_set_source) X(cairo_set_source_rgba)                       \
    X(cairo_set_source_surface) X(cairo_show_page) X(cairo_show_text) X(cairo_status) X(cairo_status_to_string)       \
    X(cairo_stroke) X(cairo_surface_destroy) X(cairo_surface_finish) X(cairo_surface_flush) X(cairo_surface_status)   \
    X(cairo_surface_write_to_png) X(cairo_text_extents) X(cairo_transform) X(cairo_translate)                        \
    X(cairo_ft_font_face_create_for_pattern) X(cairo_set_font_face) X(cairo_font_face_destroy) X(cairo_font_face_status)

struct CairoLibrary {
#define LECTORO_CAIRO_SLOT(name) decltype(&::name) name = nullptr;
    LECTORO_CAIRO_FUNCTIONS(LECTORO_CAIRO_SLOT)
#undef LECTORO_CAIRO_SLOT
};

// What of fontconfig a face read from a given font file needs.
#define LECTORO_FONTCONFIG_FUNCTIONS(X) X(FcPatternCreate) X(FcPatternAddString) X(FcPatternAddInteger) X(FcPatternDestroy)

struct FontconfigLibrary {
#define LECTORO_FONTCONFIG_SLOT(name) decltype(&::name) name = nullptr;
    LECTORO_FONTCONFIG_FUNCTIONS(LECTORO_FONTCONFIG_SLOT)
#undef LECTORO_FONTCONFIG_SLOT
};

// Cairo, loaded on the first call; null when it cannot be (the reason in `error`).
const CairoLibrary* loadCairo(std::string* error = nullptr);
// For code that holds a Cairo context already (so the library is mapped): the table.
const CairoLibrary& cairoLibrary();
// Fontconfig (which Cairo maps already), loaded on the first call; null when it cannot be.
const FontconfigLibrary* loadFontconfig();

// The painting code's calls read as Cairo's own, through the table: `cairo.cairo_fill(cr)`.
struct CairoCalls {
#define LECTORO_CAIRO_CALL(name)                                                                                       \
    template<class... Arguments>                                                                                       \
    auto name(Arguments... arguments) const                                                                            \
    {                                                                                                                  \
        return cairoLibrary().name(arguments...);                                                                      \
    }
    LECTORO_CAIRO_FUNCTIONS(LECTORO_CAIRO_CALL)
#undef LECTORO_CAIRO_CALL
};

} // namespace print::detail

namespace print {

inline constexpr detail::CairoCalls cairo {};

} // namespace print

// The metafile converters and the SVG renderer are opened when the first metafile picture is
// drawn, not when the program starts: few workbooks hold such pictures, and loading these
// libraries with the ones they pull in added milliseconds to every run. The functions below
// take the place of the libraries' own at link time; each calls the real one.
#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>
#include <librsvg/rsvg.h>

#include "workbook/pictures/shared_library.h"

namespace {

using kx::workbook::SharedLibrary;

const SharedLibrary& svgLibrary()
{
    static const SharedLibrary library("librsvg-2.so.2", {"rsvg_handle_new_from_data",
                                                          "rsvg_handle_get_intrinsic_size_in_pixels",
                                                          "rsvg_handle_render_document"});
    return library;
}

const SharedLibrary& emfLibrary()
{
    static const SharedLibrary library("libemf2svg.so.1", {"emf2svg"});
    return library;
}

// wmf_svg_function is called from inside the library, where nothing may throw: opening the
// library has already found it.
const SharedLibrary& wmfLibrary()
{
    static const SharedLibrary library("libwmf-0.2.so.7",
                                       {"wmf_api_create", "wmf_api_destroy", "wmf_mem_open", "wmf_scan", "wmf_size",
                                        "wmf_play", "wmf_stream_create", "wmf_stream_destroy", "wmf_free",
                                        "wmf_svg_function"});
    return library;
}

}  // namespace

// The real function of the same name in the library, found once.
#define KX_REAL(library, name) (*library().function<decltype(::name)>(#name))

RsvgHandle* rsvg_handle_new_from_data(const guint8* data, gsize length, GError** error)
{
    return KX_REAL(svgLibrary, rsvg_handle_new_from_data)(data, length, error);
}

gboolean rsvg_handle_get_intrinsic_size_in_pixels(RsvgHandle* handle, gdouble* width, gdouble* height)
{
    return KX_REAL(svgLibrary, rsvg_handle_get_intrinsic_size_in_pixels)(handle, width, height);
}

gboolean rsvg_handle_render_document(RsvgHandle* handle, cairo_t* cr, const RsvgRectangle* viewport, GError** error)
{
    return KX_REAL(svgLibrary, rsvg_handle_render_document)(handle, cr, viewport, error);
}

int emf2svg(char* contents, size_t length, char** out, size_t* outLength, generatorOptions* options)
{
    return KX_REAL(emfLibrary, emf2svg)(contents, length, out, outLength, options);
}

wmf_error_t wmf_api_create(wmfAPI** api, unsigned long flags, wmfAPI_Options* options)
{
    return KX_REAL(wmfLibrary, wmf_api_create)(api, flags, options);
}

wmf_error_t wmf_api_destroy(wmfAPI* api)
{
    return KX_REAL(wmfLibrary, wmf_api_destroy)(api);
}

wmf_error_t wmf_mem_open(wmfAPI* api, unsigned char* data, long length)
{
    return KX_REAL(wmfLibrary, wmf_mem_open)(api, data, length);
}

wmf_error_t wmf_scan(wmfAPI* api, unsigned long flags, wmfD_Rect* frame)
{
    return KX_REAL(wmfLibrary, wmf_scan)(api, flags, frame);
}

wmf_error_t wmf_size(wmfAPI* api, float* width, float* height)
{
    return KX_REAL(wmfLibrary, wmf_size)(api, width, height);
}

wmf_error_t wmf_play(wmfAPI* api, unsigned long flags, wmfD_Rect* frame)
{
    return KX_REAL(wmfLibrary, wmf_play)(api, flags, frame);
}

wmfStream* wmf_stream_create(wmfAPI* api, FILE* file)
{
    return KX_REAL(wmfLibrary, wmf_stream_create)(api, file);
}

void wmf_stream_destroy(wmfAPI* api, wmfStream* stream, char** memory, unsigned long* length)
{
    KX_REAL(wmfLibrary, wmf_stream_destroy)(api, stream, memory, length);
}

void wmf_free(wmfAPI* api, void* memory)
{
    KX_REAL(wmfLibrary, wmf_free)(api, memory);
}

void wmf_svg_function(wmfAPI* api)
{
    KX_REAL(wmfLibrary, wmf_svg_function)(api);
}

// Renders the scalable program icon as a square PNG, for the fixed sizes of the icon theme:
//   kx-render-icon ICON.svg SIZE OUTPUT.png
#include <cairo.h>
#include <librsvg/rsvg.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const int size = argc == 4 ? std::atoi(argv[2]) : 0;
    if (size <= 0 || size > 1024) {
        std::fprintf(stderr, "usage: %s ICON.svg SIZE OUTPUT.png\n", argv[0]);
        return 2;
    }
    GError* error = nullptr;
    RsvgHandle* icon = rsvg_handle_new_from_file(argv[1], &error);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* context = cairo_create(surface);
    const RsvgRectangle viewport{0, 0, double(size), double(size)};
    const bool drawn = icon && rsvg_handle_render_document(icon, context, &viewport, &error);
    const bool written = drawn && cairo_surface_write_to_png(surface, argv[3]) == CAIRO_STATUS_SUCCESS;
    if (!written)
        std::fprintf(stderr, "%s: cannot render %s: %s\n", argv[0], argv[1], error ? error->message : "write failed");
    cairo_destroy(context);
    cairo_surface_destroy(surface);
    if (icon)
        g_object_unref(icon);
    return written ? 0 : 1;
}

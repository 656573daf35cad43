#include "workbook/render/drawing_painter.h"

#include "workbook/render/cell_decoration.h"
#include "workbook/charts/chart_painter.h"
#include "workbook/layout/drawing_geometry.h"
#include "workbook/pictures/metafile_picture.h"
#include "workbook/canvas/pango_layout.h"
#include "workbook/pictures/picture_decoding.h"
#include "workbook/canvas/hidden_glyphs.h"
#include "workbook/render/shape_painter.h"

namespace kx::workbook {
namespace {

// The margins inside a text box: a tenth of an inch left and right, a twentieth above and below.
constexpr double textInsetX = 7.2, textInsetY = 3.6;

bool onPage(const DrawingAnchor& anchor, const SheetPage& page)
{
    return anchor.lastRow >= page.rows.first && anchor.firstRow <= page.rows.last &&
           anchor.lastColumn >= page.columns.first && anchor.firstColumn <= page.columns.last;
}

void paintPicture(cairo_t* cr, cairo_surface_t* image, const Box& box)
{
    const auto [width, height] = pictureSize(image);
    if (width <= 0 || height <= 0 || box.width <= 0 || box.height <= 0)
        return;
    cairo_save(cr);
    cairo_translate(cr, box.x, box.y);
    cairo_scale(cr, box.width / width, box.height / height);
    // Without any extend: a padded picture would go into the PostScript as pixels made again for
    // the page, never as the stored JPEG nor as the one copy that every page shares.
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_rectangle(cr, 0, 0, width, height);
    cairo_fill(cr);
    cairo_restore(cr);
}

PangoAlignment pangoAlignment(HorizontalAlign align)
{
    switch (align) {
    case HorizontalAlign::Center: return PANGO_ALIGN_CENTER;
    case HorizontalAlign::Right: return PANGO_ALIGN_RIGHT;
    default: return PANGO_ALIGN_LEFT;
    }
}

void paintText(cairo_t* cr, PangoLayout* layout, CellFonts& fonts, const Drawing& drawing, const Box& box)
{
    const double width = box.width - 2 * textInsetX, height = box.height - 2 * textInsetY;
    if (width <= 0 || height <= 0)
        return;
    pango_layout_set_font_description(layout, fonts.description(drawing.fontIndex));
    pango_layout_set_text(layout, drawing.text.utf8.data(), static_cast<int>(drawing.text.utf8.size()));
    AttrListPtr attributes = fonts.attributes(drawing.fontIndex, drawing.text.utf8, &drawing.text);
    pango_layout_set_attributes(layout, attributes.get());
    pango_layout_set_width(layout, static_cast<int>(width * PANGO_SCALE));
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    pango_layout_set_alignment(layout, pangoAlignment(drawing.horizontal));
    pango_layout_set_justify(layout, drawing.horizontal == HorizontalAlign::Justify ||
                                         drawing.horizontal == HorizontalAlign::Distributed);
    const double textHeight = logicalSize(layout).height;
    double y = box.y + textInsetY;
    if (drawing.vertical == VerticalAlign::Center)
        y += (height - textHeight) / 2;
    else if (drawing.vertical == VerticalAlign::Bottom)
        y += height - textHeight;
    cairo_save(cr);
    cairo_rectangle(cr, box.x, box.y, box.width, box.height);
    cairo_clip(cr);
    setSourceColor(cr, fonts.color(drawing.fontIndex));
    cairo_move_to(cr, box.x + textInsetX, y);
    showVisibleLayout(cr, layout);
    cairo_restore(cr);
}

}  // namespace

void paintTextBox(cairo_t* cr, CellFonts& fonts, const Drawing& drawing, const Box& box)
{
    paintShape(cr, drawing, box);
    paintText(cr, makeLayout(cr).get(), fonts, drawing, box);
}

void paintDrawings(cairo_t* cr, const Workbook& workbook, CellFonts& fonts, DecodedPictures& pictures,
                   const Sheet& sheet, const SheetMetrics& metrics, const SheetPage& page, const PageGrid& grid)
{
    if (sheet.drawings.empty())
        return;
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, grid.width, grid.height);
    cairo_clip(cr);
    LayoutPtr layout = makeLayout(cr);
    for (const Drawing& drawing : sheet.drawings) {
        if (!onPage(drawing.anchor, page))
            continue;
        const Box box = shareOf(drawingBox(drawing.anchor, metrics, page, grid), drawing.share);
        if (box.x >= grid.width || box.y >= grid.height || box.x + box.width <= 0 || box.y + box.height <= 0)
            continue;
        paintShape(cr, drawing, box);
        if (drawing.kind == DrawingKind::TextBox) {
            paintText(cr, layout.get(), fonts, drawing, box);
        } else if (drawing.kind == DrawingKind::Chart) {
            if (drawing.chart && *drawing.chart < sheet.charts.size())
                paintChart(cr, workbook, fonts, sheet.charts[*drawing.chart], box);
        } else if (cairo_surface_t* image = drawing.picture ? pictures.surface(*drawing.picture) : nullptr) {
            if (!paintMetafile(cr, image, box))
                paintPicture(cr, image, box);
        }
    }
    cairo_restore(cr);
}

}  // namespace kx::workbook

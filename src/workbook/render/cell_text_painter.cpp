#include "workbook/render/cell_text_painter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include <pango/pangocairo.h>

#include "workbook/canvas/hidden_glyphs.h"

namespace kx::workbook {
namespace {

constexpr double padding = cellTextPadding;
constexpr double indentCharacters = 3;  // digit widths per indent level
constexpr uint8_t stackedRotation = 255;
constexpr uint16_t defaultFontIndex = 0;  // the Normal style's font, which sizes the columns

bool isGeneral(const std::string& code)
{
    return code.size() == 7 && (code[0] == 'G' || code[0] == 'g') && code.substr(1) == "eneral";
}

std::string repeated(const std::string& piece, size_t count)
{
    std::string text;
    for (size_t i = 0; i < count; ++i)
        text += piece;
    return text;
}

std::string utf8Of(char32_t c)
{
    char bytes[6];
    const int length = g_unichar_to_utf8(static_cast<gunichar>(c), bytes);
    return std::string(bytes, static_cast<size_t>(length));
}

// Stacked text: one character a line.
std::string stacked(const std::string& text)
{
    std::string result;
    for (const char* c = text.c_str(); *c; c = g_utf8_next_char(c)) {
        if (!result.empty())
            result += '\n';
        result.append(c, static_cast<size_t>(g_utf8_next_char(c) - c));
    }
    return result;
}

PangoAlignment pangoAlignment(HorizontalAlign align)
{
    switch (align) {
    case HorizontalAlign::Right: return PANGO_ALIGN_RIGHT;
    case HorizontalAlign::Center:
    case HorizontalAlign::CenterAcross:
    case HorizontalAlign::Distributed: return PANGO_ALIGN_CENTER;
    default: return PANGO_ALIGN_LEFT;
    }
}

// Rotation as stored: 1-90 degrees counter-clockwise, 91-180 are 1-90 degrees clockwise.
double rotationAngle(uint8_t rotation)
{
    const double degrees = rotation <= 90 ? -static_cast<double>(rotation) : rotation <= 180 ? rotation - 90.0 : 0.0;
    return degrees * std::numbers::pi / 180;
}

LineAlign lineAlign(PangoAlignment alignment)
{
    switch (alignment) {
    case PANGO_ALIGN_RIGHT: return LineAlign::Right;
    case PANGO_ALIGN_CENTER: return LineAlign::Center;
    default: return LineAlign::Left;
    }
}

}  // namespace

CellTextPainter::CellTextPainter(cairo_t* cr, PangoLayout* layout, const Workbook& workbook, CellFonts& fonts,
                                 double digitWidth)
    : cr_(cr), context_(pango_layout_get_context(layout)), workbook_(workbook), fonts_(fonts), digitWidth_(digitWidth)
{
}

double CellTextPainter::setText(const std::string& text, uint16_t fontIndex, const RichText* rich, double shrink)
{
    line_ = rich || turned_ ? nullptr : fonts_.line(text, fontIndex, shrink);
    if (line_ && !line_->fits(paragraph_))
        line_.reset();
    if (line_)
        return line_->width();
    layout_ = fonts_.layout(text, fontIndex, rich, shrink, paragraph_);
    return static_cast<double>(logicalExtents().width) / PANGO_SCALE;
}

PangoRectangle CellTextPainter::logicalExtents() const
{
    if (line_)
        return line_->logical();
    PangoRectangle logical;
    pango_layout_get_extents(layout_, nullptr, &logical);
    return logical;
}

// Turning the text turns its layout's context; a kept layout's context never turns.
void CellTextPainter::keepText(TextPlan& plan)
{
    plan.line = line_;
    if (line_)
        plan.layout.reset();
    else
        plan.layout = plan.angle != 0 ? copyLayout(layout_, context_) : LayoutPtr(PANGO_LAYOUT(g_object_ref(layout_)));
}

// Numbers never spill into their neighbours: General first gives up digits, then any number shows
// as a row of #.
std::string CellTextPainter::numberFitted(const Cell& cell, const CellFormat& format, double room, double screen,
                                          double screenRoom)
{
    const std::string& code = workbook_.numberFormatCode(format.numberFormat);
    const int maxChars = static_cast<int>(room / digitWidth_);
    if (isGeneral(code) && maxChars > 0) {
        if (auto narrower = cellContent(workbook_, cell, std::min(maxChars, 11));
            narrower && setText(narrower->text, format.fontIndex, nullptr) * screen <= screenRoom)
            return narrower->text;
    }
    const double hashWidth = std::max(setText("#", format.fontIndex, nullptr), 0.1);
    return std::string(static_cast<size_t>(std::max(1.0, std::floor(room / hashWidth))), '#');
}

// A number too wide for its cell gives way (see numberFitted); a repeat fill grows to take the
// room left over.
std::string CellTextPainter::fittedText(const Cell& cell, CellContent& content, const CellFormat& format, double room)
{
    // Other text prints as it is, measured only as laid out for printing.
    if (!content.numeric && !content.fill && format.horizontal != HorizontalAlign::Fill)
        return content.text;
    const double width = setText(content.text, format.fontIndex, nullptr);
    // Measuring a font's screen digits loads it at screen size: only numbers need it.
    if (content.numeric) {
        const double screen = fonts_.screenWidthRatio(format.fontIndex);
        const double screenRoom = room * fonts_.screenWidthRatio(defaultFontIndex);
        if (width * screen > screenRoom)
            return numberFitted(cell, format, room, screen, screenRoom);
    }
    if (content.fill && width < room && !format.wrap) {
        const std::string piece = utf8Of(*content.fill);
        const double pieceWidth = setText(piece, format.fontIndex, nullptr);
        if (pieceWidth > 0) {
            const auto count = static_cast<size_t>(std::floor((room - width) / pieceWidth));
            std::string text = content.text;
            text.insert(std::min(content.fillOffset, text.size()), repeated(piece, count));
            return text;
        }
    }
    if (format.horizontal == HorizontalAlign::Fill && width > 0 && width < room)
        return repeated(content.text, static_cast<size_t>(std::floor(room / width)));
    return content.text;
}

namespace {

Paragraph paragraphOf(const TextPlan& plan, double wrapWidth)
{
    return {wrapWidth < 0 ? -1 : static_cast<int>(wrapWidth * PANGO_SCALE), plan.alignment, plan.justify};
}

}  // namespace

void CellTextPainter::setParagraph(const TextPlan& plan, double wrapWidth)
{
    paragraph_ = paragraphOf(plan, wrapWidth);
}

void CellTextPainter::setLayout(const TextPlan& plan)
{
    setParagraph(plan, plan.wrapWidth);
    setText(plan.text, plan.fontIndex, plan.rich, plan.shrink);
}

std::optional<TextPlan> CellTextPainter::plan(const Cell& cell, const Box& box, const OverflowRoom& overflow)
{
    std::optional<CellContent> content = cellContent(workbook_, cell);
    if (!content || content->text.empty())
        return std::nullopt;
    const CellFormat& format = cellFormat(workbook_, cell.format);
    const double indent = format.indent * indentCharacters * digitWidth_;
    const double room = std::max(box.width - 2 * padding - indent, 0.0);
    const bool rotated = format.rotation != 0;

    TextPlan plan;
    plan.alignment = format.rotation == stackedRotation ? PANGO_ALIGN_CENTER : pangoAlignment(content->align);
    plan.justify = format.horizontal == HorizontalAlign::Justify;
    setParagraph(plan, -1);  // fitting measures single lines
    plan.text = rotated ? content->text : fittedText(cell, *content, format, room);
    plan.rich = plan.text == content->text ? content->rich : nullptr;
    if (format.rotation == stackedRotation)
        plan.text = stacked(plan.text);
    plan.fontIndex = format.fontIndex;
    plan.color = content->color.value_or(fonts_.color(format.fontIndex));
    const bool wraps = !rotated && (format.wrap || plan.justify);
    // Lines break where the spreadsheet program breaks them on screen; columns widen on paper by
    // the default font's ratio, text by its own. Only wrapped text and numbers need the ratios.
    const double lineWidth =
        wraps || content->numeric
            ? room * fonts_.screenWidthRatio(defaultFontIndex) / fonts_.screenWidthRatio(format.fontIndex)
            : room;
    // Upright text wraps within the row's height, as the spreadsheet program wraps it.
    const bool upright = format.rotation == 90 || format.rotation == 180;
    plan.wrapWidth = wraps ? lineWidth : upright && format.wrap ? std::max(box.height - 2 * padding, 0.0) : -1;
    plan.angle = format.rotation == stackedRotation ? 0 : rotationAngle(format.rotation);
    turned_ = plan.angle != 0;
    setLayout(plan);
    if (format.shrinkToFit && !wraps && !rotated && !content->numeric) {
        const double natural = setText(plan.text, plan.fontIndex, plan.rich);
        plan.shrink = natural > room && room > 0 ? room / natural : 1;
        setLayout(plan);
    }

    keepText(plan);
    turned_ = false;
    const PangoRectangle logical = logicalExtents();
    double width = static_cast<double>(logical.width) / PANGO_SCALE;
    double height = static_cast<double>(logical.height) / PANGO_SCALE;
    if (plan.angle != 0) {
        // Aligned by the box around the turned text, drawn about its centre.
        const double c = std::fabs(std::cos(plan.angle)), s = std::fabs(std::sin(plan.angle));
        std::tie(width, height) = std::make_pair(width * c + height * s, width * s + height * c);
    }
    const MeasuredText measured{.width = width,
                                .height = height,
                                .room = room,
                                .lineWidth = lineWidth,
                                .indent = indent,
                                .lineAlign = lineAlign(plan.alignment),
                                .align = content->align,
                                .vertical = format.vertical,
                                .wraps = wraps,
                                .numeric = content->numeric,
                                .rotated = rotated,
                                .turned = plan.angle != 0};
    const TextPlace place = placeCellText(measured, box, overflow);
    plan.x = place.x;
    plan.y = place.y;
    plan.clip = place.clip;
    plan.spills = place.spills;
    plan.clipped = place.clipped;
    return plan;
}

namespace {

bool anyRightToLeft(PangoLayout* layout)
{
    for (GSList* run = pango_layout_get_line_readonly(layout, 0)->runs; run; run = run->next)
        if (static_cast<PangoLayoutRun*>(run->data)->item->analysis.level % 2)
            return true;
    return false;
}

// The byte index of the character under x (points from the layout's left), or of the last
// character when x lies past the text.
int indexAt(PangoLayout* layout, double x)
{
    int index = 0, trailing = 0;
    pango_layout_xy_to_index(layout, static_cast<int>(x * PANGO_SCALE), 0, &index, &trailing);
    return index;
}

}  // namespace

void CellTextPainter::trimToClip(TextPlan& plan)
{
    if (!plan.clipped || plan.alignment != PANGO_ALIGN_LEFT || plan.angle != 0 || plan.wrapWidth >= 0 ||
        plan.rich || plan.text.find('\n') != std::string::npos || (!plan.line && anyRightToLeft(plan.layout.get())))
        return;
    const double width = plan.line ? plan.line->width() : logicalSize(plan.layout.get()).width;
    const double clipRight = plan.clip.x + plan.clip.width - plan.x;
    if (clipRight >= width)
        return;
    // The character the clip cuts goes too: what is left is what shows whole.
    const double x = std::max(clipRight, 0.0);
    plan.text.resize(static_cast<size_t>(plan.line ? plan.line->indexAt(x) : indexAt(plan.layout.get(), x)));
    setParagraph(plan, -1);
    setText(plan.text, plan.fontIndex, nullptr, plan.shrink);
    keepText(plan);
}

void CellTextPainter::paint(const TextPlan& plan)
{
    layout_ = plan.layout.get();
    cairo_save(cr_);
    if (plan.clipped) {
        cairo_rectangle(cr_, plan.clip.x, plan.clip.y, plan.clip.width, plan.clip.height);
        cairo_clip(cr_);
    }
    setSourceColor(cr_, plan.color);
    if (plan.line) {
        plan.line->draw(cr_, plan.x, plan.y, paragraphOf(plan, plan.wrapWidth));
        cairo_restore(cr_);
        return;
    }
    if (plan.angle != 0) {
        PangoRectangle logical;
        pango_layout_get_extents(layout_, nullptr, &logical);
        cairo_translate(cr_, plan.x, plan.y);
        cairo_rotate(cr_, plan.angle);
        pango_cairo_update_layout(cr_, layout_);
        // Wrapped lines may be aligned inside the layout's width, away from its left edge.
        cairo_move_to(cr_, -(logical.x + logical.width / 2.0) / PANGO_SCALE,
                      -(logical.y + logical.height / 2.0) / PANGO_SCALE);
    } else {
        cairo_move_to(cr_, plan.x, plan.y);
    }
    showVisibleLayout(cr_, layout_);
    cairo_restore(cr_);
    if (plan.angle != 0)
        pango_cairo_update_layout(cr_, layout_);
}

}  // namespace kx::workbook

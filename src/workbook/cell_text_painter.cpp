#include "workbook/cell_text_painter.h"

#include <algorithm>
#include <cmath>

#include <pango/pangocairo.h>

namespace kx::workbook {
namespace {

constexpr double padding = 1.5;         // points between a cell's edge and its text
constexpr double indentCharacters = 3;  // digit widths per indent level

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

double textTop(VerticalAlign align, const Box& box, double height)
{
    switch (align) {
    case VerticalAlign::Top:
    case VerticalAlign::Justify: return box.y + 0.75;
    case VerticalAlign::Center:
    case VerticalAlign::Distributed: return box.y + (box.height - height) / 2;
    case VerticalAlign::Bottom: break;
    }
    return box.y + box.height - height - 0.75;
}

}  // namespace

CellTextPainter::CellTextPainter(cairo_t* cr, PangoLayout* layout, const Workbook& workbook, CellFonts& fonts,
                                 double digitWidth)
    : cr_(cr), layout_(layout), workbook_(workbook), fonts_(fonts), digitWidth_(digitWidth)
{
}

double CellTextPainter::setText(const std::string& text, const CellFormat& format, const RichText* rich)
{
    pango_layout_set_font_description(layout_, fonts_.description(format.fontIndex));
    AttrListPtr attributes = fonts_.attributes(format.fontIndex, text, rich);
    pango_layout_set_attributes(layout_, attributes.get());
    pango_layout_set_text(layout_, text.data(), static_cast<int>(text.size()));
    PangoRectangle logical;
    pango_layout_get_extents(layout_, nullptr, &logical);
    return static_cast<double>(logical.width) / PANGO_SCALE;
}

// Numbers never spill into their neighbours: General first gives up digits, then any number shows
// as a row of #. A repeat fill grows to take the room left over.
std::string CellTextPainter::fittedText(const Cell& cell, CellContent& content, const CellFormat& format, double room)
{
    const double width = setText(content.text, format, nullptr);
    if (content.numeric && width > room) {
        const std::string& code = workbook_.numberFormatCode(format.numberFormat);
        const int maxChars = static_cast<int>(room / digitWidth_);
        if (isGeneral(code) && maxChars > 0) {
            if (auto narrower = cellContent(workbook_, cell, std::min(maxChars, 11));
                narrower && setText(narrower->text, format, nullptr) <= room)
                return narrower->text;
        }
        const double hashWidth = std::max(setText("#", format, nullptr), 0.1);
        return std::string(static_cast<size_t>(std::max(1.0, std::floor(room / hashWidth))), '#');
    }
    if (content.fill && width < room && !format.wrap) {
        const std::string piece = utf8Of(*content.fill);
        const double pieceWidth = setText(piece, format, nullptr);
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

void CellTextPainter::show(const Box& clip, double x, double y, Color color)
{
    cairo_save(cr_);
    cairo_rectangle(cr_, clip.x, clip.y, clip.width, clip.height);
    cairo_clip(cr_);
    setSourceColor(cr_, color);
    cairo_move_to(cr_, x, y);
    pango_cairo_show_layout(cr_, layout_);
    cairo_restore(cr_);
}

void CellTextPainter::paint(const Cell& cell, const Box& box, const OverflowRoom& overflow)
{
    std::optional<CellContent> content = cellContent(workbook_, cell);
    if (!content || content->text.empty())
        return;
    const CellFormat& format = cellFormat(workbook_, cell.format);
    const double indent = format.indent * indentCharacters * digitWidth_;
    const double room = std::max(box.width - 2 * padding - indent, 0.0);
    const std::string text = fittedText(cell, *content, format, room);
    const bool wraps = format.wrap || format.horizontal == HorizontalAlign::Justify;

    pango_layout_set_width(layout_, wraps ? static_cast<int>(room * PANGO_SCALE) : -1);
    pango_layout_set_wrap(layout_, PANGO_WRAP_WORD_CHAR);
    pango_layout_set_alignment(layout_, pangoAlignment(content->align));
    pango_layout_set_justify(layout_, format.horizontal == HorizontalAlign::Justify);
    setText(text, format, text == content->text ? content->rich : nullptr);
    PangoRectangle logical;
    pango_layout_get_extents(layout_, nullptr, &logical);
    const double width = static_cast<double>(logical.width) / PANGO_SCALE;
    const double height = static_cast<double>(logical.height) / PANGO_SCALE;

    double x = box.x + padding + indent;
    if (!wraps && content->align == HorizontalAlign::Right)
        x = box.x + box.width - padding - indent - width;
    else if (!wraps && content->align != HorizontalAlign::Left && content->align != HorizontalAlign::Fill)
        x = box.x + (box.width - width) / 2;
    const bool spills = !wraps && !content->numeric && width > room;
    const Box clip = spills ? overflow(width + 2 * padding, content->align) : box;
    const Color color = content->color.value_or(fonts_.color(format.fontIndex));
    show(clip, x, textTop(format.vertical, box, height), color);
    pango_layout_set_width(layout_, -1);
    pango_layout_set_justify(layout_, false);
}

}  // namespace kx::workbook

#include "workbook/layout/text_place.h"

#include <algorithm>

namespace kx::workbook {
namespace {

constexpr double levelTextInset = 0.75;  // points between a cell's top or bottom and level text

double alignedStart(double start, double length, double content, double inset, LineAlign align)
{
    switch (align) {
    case LineAlign::Right: return start + length - inset - content;
    case LineAlign::Center: return start + (length - content) / 2;
    case LineAlign::Left: break;
    }
    return start + inset;
}

// inset: points kept free at the top or bottom edge the text is aligned to.
double alignedTop(VerticalAlign align, const Box& box, double height, double inset)
{
    switch (align) {
    case VerticalAlign::Top:
    case VerticalAlign::Justify: return box.y + inset;
    case VerticalAlign::Center:
    case VerticalAlign::Distributed: return box.y + (box.height - height) / 2;
    case VerticalAlign::Bottom: break;
    }
    return box.y + box.height - height - inset;
}

}  // namespace

TextPlace placeCellText(const MeasuredText& text, const Box& box, const OverflowRoom& overflow)
{
    TextPlace place;
    const double width = text.width, height = text.height, room = text.room, lineWidth = text.lineWidth;
    const double textWidth = text.wraps ? lineWidth : width;
    place.x = alignedStart(box.x, box.width, textWidth, cellTextPadding + text.indent,
                           text.wraps ? LineAlign::Left : text.lineAlign);
    if (text.wraps && text.lineAlign != LineAlign::Left)
        place.x -= (lineWidth - room) / (text.lineAlign == LineAlign::Center ? 2 : 1);
    // Turned text runs up or down the cell and keeps the same distance from the edge it is
    // aligned to as level text keeps from its cell's sides; level text sits closer, its line
    // height holding room of its own.
    place.y = alignedTop(text.vertical, box, height, text.turned ? cellTextPadding : levelTextInset);
    if (text.turned) {
        place.x += width / 2;
        place.y += height / 2;
    }
    place.spills = !text.wraps && !text.rotated && !text.numeric && width > room;
    place.clip = place.spills ? overflow(width + 2 * cellTextPadding + text.indent, text.align) : box;
    const double left = text.turned ? place.x - width / 2 : place.x;
    const double top = text.turned ? place.y - height / 2 : place.y;
    const double right = left + textWidth;
    if (text.wraps || text.numeric) {
        // What fits on screen prints whole, though its outlines may reach a little past the cell;
        // a font narrower on screen than on paper never narrows the clip below the cell.
        const double reach = std::max(lineWidth - room, 0.0);
        place.clip.x -= reach;
        place.clip.width += 2 * reach;
    }
    place.clipped = left < place.clip.x || top < place.clip.y || right > place.clip.x + place.clip.width ||
                    top + height > place.clip.y + place.clip.height;
    return place;
}

}  // namespace kx::workbook

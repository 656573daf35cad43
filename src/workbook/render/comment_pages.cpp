#include "workbook/render/comment_pages.h"

#include <algorithm>
#include <numeric>

#include "workbook/canvas/cell_fonts.h"
#include "workbook/canvas/font_description.h"
#include "workbook/render/page_painter.h"
#include "workbook/canvas/pango_layout.h"
#include "workbook/canvas/hidden_glyphs.h"

namespace kx::workbook {
namespace {

constexpr double blockGap = 12;  // points between two comments

std::vector<size_t> printOrder(const Sheet& sheet)
{
    std::vector<size_t> order(sheet.comments.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const CellRef &first = sheet.comments[a].cell, &second = sheet.comments[b].cell;
        return std::tie(first.row, first.column) < std::tie(second.row, second.column);
    });
    return order;
}

// Lays out one comment across the width between the margins; returns its height.
double layoutComment(PangoLayout* layout, const Comment& comment, const Font& font, const PageFrame& frame)
{
    FontDescriptionPtr description = describeFont(font, font.heightTwips / kTwipsPerPoint);
    pango_layout_set_font_description(layout, description.get());
    pango_layout_set_width(layout, static_cast<int>(frame.contentWidth * PANGO_SCALE));
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    const std::string text = commentPrintText(comment);
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    AttrListPtr attributes(pango_attr_list_new());
    addNoLigatures(attributes.get());
    addNoHyphens(attributes.get());
    pango_layout_set_attributes(layout, attributes.get());
    return logicalSize(layout).height;
}

}  // namespace

std::string commentPrintText(const Comment& comment)
{
    return "Cell: " + columnName(comment.cell.column) + std::to_string(comment.cell.row + 1) + "\nComment: " +
           comment.text;
}

std::vector<std::vector<size_t>> groupIntoPages(const std::vector<double>& heights, double gap, double pageHeight)
{
    std::vector<std::vector<size_t>> pages;
    double used = 0;
    for (size_t i = 0; i < heights.size(); ++i) {
        if (pages.empty() || (!pages.back().empty() && used + gap + heights[i] > pageHeight)) {
            pages.emplace_back();
            used = -gap;
        }
        pages.back().push_back(i);
        used += gap + heights[i];
    }
    return pages;
}

CommentPages commentPages(const Sheet& sheet, const Font& font, const PageFrame& frame)
{
    if (sheet.pageSetup.comments != CommentPrinting::AtEnd || sheet.comments.empty())
        return {};
    const MeasuringLayout layout;
    const std::vector<size_t> order = printOrder(sheet);
    std::vector<double> heights;
    for (size_t index : order)
        heights.push_back(layoutComment(layout.get(), sheet.comments[index], font, frame));

    CommentPages pages = groupIntoPages(heights, blockGap, frame.contentHeight);
    for (auto& page : pages)
        for (size_t& position : page)
            position = order[position];
    return pages;
}

void paintCommentPage(cairo_t* cr, const Sheet& sheet, const Font& font, const PageFrame& frame,
                      const std::vector<size_t>& comments)
{
    LayoutPtr layout = makeLayout(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    double y = frame.top;
    for (size_t index : comments) {
        const double height = layoutComment(layout.get(), sheet.comments[index], font, frame);
        cairo_move_to(cr, frame.left, y);
        showVisibleLayout(cr, layout.get());
        y += height + blockGap;
    }
}

}  // namespace kx::workbook

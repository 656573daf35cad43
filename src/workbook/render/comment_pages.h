#pragma once
// Comments printed at the end of a sheet: on pages of their own after the sheet's cells, each
// as "Cell: B2" and "Comment: " with its text, in row then column order.
#include <cairo.h>

#include <string>
#include <vector>

#include "workbook/model/model.h"
#include "workbook/layout/page_geometry.h"

namespace kx::workbook {

std::string commentPrintText(const Comment& comment);

// Indexes into sheet.comments, page by page.
using CommentPages = std::vector<std::vector<size_t>>;

// Groups blocks of the given heights into pages of pageHeight, a gap between blocks; a block
// taller than a page gets a page of its own.
std::vector<std::vector<size_t>> groupIntoPages(const std::vector<double>& heights, double gap, double pageHeight);

// The comment pages of a sheet set to print its comments at the end; none otherwise.
CommentPages commentPages(const Sheet& sheet, const Font& font, const PageFrame& frame);

void paintCommentPage(cairo_t* cr, const Sheet& sheet, const Font& font, const PageFrame& frame,
                      const std::vector<size_t>& comments);

}  // namespace kx::workbook

#include <gtest/gtest.h>

#include "workbook/render/comment_pages.h"

using namespace kx::workbook;

TEST(CommentPages, BlocksFillPagesAndAnOversizedBlockStandsAlone)
{
    using Pages = std::vector<std::vector<size_t>>;
    EXPECT_EQ(groupIntoPages({40, 40, 40}, 10, 100), (Pages{{0, 1}, {2}}));
    EXPECT_EQ(groupIntoPages({300, 20, 20}, 10, 100), (Pages{{0}, {1, 2}}));
    EXPECT_EQ(groupIntoPages({}, 10, 100), Pages{});
    EXPECT_EQ(commentPrintText({.cell = {9, 27}, .text = "note"}), "Cell: AB10\nComment: note");
}

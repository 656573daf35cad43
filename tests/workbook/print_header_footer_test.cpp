#include <gtest/gtest.h>

#include "workbook/layout/header_footer.h"

using namespace kx::workbook;

namespace {

std::string sectionText(const std::vector<HeaderRun>& runs, const HeaderValues& values)
{
    std::string text;
    for (const HeaderRun& run : runs)
        text += fieldText(run, values);
    return text;
}

}  // namespace

TEST(HeaderFooter, SectionsFieldsAndEscapes)
{
    const HeaderValues values{.page = 3, .pages = 9, .date = "12/7/2026", .time = "2:05 PM",
                              .fileName = "book.xls", .sheetName = "Data"};
    const HeaderSections sections = parseHeaderFooter("Top &P+2 of &N&L&A on &D&R&F at &T, 50&&&P-1");
    EXPECT_EQ(sectionText(sections[CenterSection], values), "Top 5 of 9");  // text before a code is centred
    EXPECT_EQ(sectionText(sections[LeftSection], values), "Data on 12/7/2026");
    EXPECT_EQ(sectionText(sections[RightSection], values), "book.xls at 2:05 PM, 50&2");
}

TEST(HeaderFooter, StylesToggleAndFontCodesApplyToWhatFollows)
{
    const HeaderSections sections = parseHeaderFooter("&Bbold&B plain &\"Times New Roman,Bold Italic\"&14big&Uu");
    const auto& runs = sections[CenterSection];
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_TRUE(runs[0].style.bold);
    EXPECT_EQ(runs[1].text, " plain ");
    EXPECT_FALSE(runs[1].style.bold);
    EXPECT_EQ(runs[2].style.fontName, "Times New Roman");
    EXPECT_TRUE(runs[2].style.bold && runs[2].style.italic);
    EXPECT_EQ(runs[2].style.size, 14);
    EXPECT_TRUE(runs[3].style.underline);
}

TEST(HeaderFooter, MalformedCodesNeverRunPastTheText)
{
    for (const char* text : {"&", "&\"Arial", "&P+", "&999999999999", "&\"", "&Z&G&K12"}) {
        const HeaderSections sections = parseHeaderFooter(text);
        for (const auto& runs : sections)
            for (const HeaderRun& run : runs)
                EXPECT_LE(run.text.size(), std::string(text).size());
    }
    EXPECT_EQ(parseHeaderFooter("&999999999999x")[CenterSection][0].style.size, 409);
}

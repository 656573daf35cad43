#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "workbook/number_format.h"

using namespace kx::workbook;

namespace {

struct Case {
    const char* code;
    double value;
    const char* expected;
};

void expectAll(const std::vector<Case>& cases)
{
    for (const Case& c : cases)
        EXPECT_EQ(formatNumber(c.value, c.code, false).text, c.expected) << c.code << " with " << c.value;
}

}  // namespace

TEST(NumberFormatGeneral, ShortFormsInANormalCell)
{
    expectAll({
        {"General", 0, "0"},
        {"General", 1234567890123, "1.23457E+12"},
        {"General", 0.1 + 0.2, "0.3"},
        {"General", -42.5, "-42.5"},
        {"General", 12345678901, "12345678901"},
        {"General", 123456789012, "1.23457E+11"},
        {"General", 123456.789012345, "123456.789"},
        {"General", 0.00001, "0.00001"},
        {"General", 0.00012345678, "0.000123457"},
        {"General", 0.000012345678, "1.23457E-05"},
        {"General", 1e-10, "1E-10"},
        {"General", 1.5e100, "1.5E+100"},
        {"General", 2.0 / 3.0, "0.666666667"},
    });
}

TEST(NumberFormatGeneral, WiderCellsShowMoreDigitsUpToFifteen)
{
    EXPECT_EQ(formatNumber(2.0 / 3.0, "General", false, 20).text, "0.666666666666667");
    EXPECT_EQ(formatNumber(123456789012, "General", false, 20).text, "1.23456789012E+11");
    EXPECT_EQ(formatNumber(1234.5678, "General", false, 6).text, "1234.6");
}

TEST(NumberFormatFixed, DecimalsAndThousands)
{
    expectAll({
        {"0", 2.5, "3"},
        {"0", -2.5, "-3"},
        {"0.00", 1.005, "1.01"},
        {"0.00", -0.001, "0.00"},
        {"#,##0", 1234567.4, "1,234,567"},
        {"#,##0.00", 1234.5, "1,234.50"},
    });
}

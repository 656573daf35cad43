#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "../fuzz/number_format_input.h"
#include "workbook/model/builtin_formats.h"
#include "workbook/format/number_format.h"
#include "workbook/format/number_format_decimal.h"

using namespace kx::workbook;

namespace {

struct Case {
    const char* code;
    double value;
    const char* expected;
};

void expectAll(const std::vector<Case>& cases, bool dateSystem1904 = false)
{
    for (const Case& c : cases)
        EXPECT_EQ(formatNumber(c.value, c.code, dateSystem1904).text, c.expected) << c.code << " with " << c.value;
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
        {"General", 99999999999.9, "1E+11"},
        {"general", 7, "7"},
        {"", 7, "7"},
        {"@", -7.25, "-7.25"},
    });
}

TEST(NumberFormatGeneral, WiderCellsShowMoreDigitsUpToFifteen)
{
    EXPECT_EQ(formatNumber(2.0 / 3.0, "General", false, 20).text, "0.666666666666667");
    EXPECT_EQ(formatNumber(123456789012, "General", false, 20).text, "1.23456789012E+11");
    EXPECT_EQ(formatNumber(1234.5678, "General", false, 6).text, "1234.6");
}

TEST(NumberFormatFixed, DecimalsThousandsPercentAndScaling)
{
    expectAll({
        {"0", 2.5, "3"},
        {"0", -2.5, "-3"},
        {"0", 0, "0"},
        {"0.00", 1.005, "1.01"},
        {"0.00", -0.001, "-0.00"},
        {"0", -0.4, "-0"},
        {"0.00", 1e20, "100000000000000000000.00"},
        {"#,##0", 1234567.4, "1,234,567"},
        {"#,##0", 0, "0"},
        {"#,##0.00", 1234.5, "1,234.50"},
        {"#,##0.00", -1234.5, "-1,234.50"},
        {"#", 0, ""},
        {"#.##", 0.5, ".5"},
        {"#.##", 12, "12."},
        {"0.0#", 1.5, "1.5"},
        {"0.0#", 1.234, "1.23"},
        {"???.??", 1.5, "  1.5 "},
        {".00", 12.5, "12.50"},
        {"00000", 42, "00042"},
        {"000-0000", 5551234, "555-1234"},
        {"0,000", 5, "0,005"},
        {"0%", 0.256, "26%"},
        {"0.00%", -0.0123, "-1.23%"},
        {"0.0,,", 1234567, "1.2"},
        {"#,##0,\"K\"", 1234567, "1,235K"},
        {"0.0,,\" M\"", 25000000, "25.0 M"},
    });
}

TEST(NumberFormatScientific, MantissaAndExponent)
{
    expectAll({
        {"0.00E+00", 12345, "1.23E+04"},
        {"0.00E+00", 0.00012345, "1.23E-04"},
        {"0.00E+00", 0, "0.00E+00"},
        {"0.00E+00", -9.999, "-1.00E+01"},
        {"0.00E-00", 12345, "1.23E04"},
        {"0.00E+00", 1.5e200, "1.50E+200"},
        {"0E+0", 5, "5E+0"},
        {"##0.0E+0", 12345, "12.3E+3"},
        {"##0.0E+0", 1234567, "1.2E+6"},
        {"##0.0E+0", 0.001234, "1.2E-3"},
        {"##0.0E+0", 999.96, "1.0E+3"},
        {"00.00E+00", 12345, "12.35E+03"},
    });
}

TEST(NumberFormatFraction, ClosestAndFixedDenominators)
{
    expectAll({
        {"# ?/?", 1.5, "1 1/2"},
        {"# ?/?", 0.5, " 1/2"},
        {"# ?/?", 2, "2    "},
        {"# ?/?", 0, "0    "},
        {"# ?/?", -1.25, "-1 1/4"},
        {"# ?/?", 3.14159, "3 1/7"},
        {"# ?\?/??", 3.14159, "3 14/99"},
        {"# ?\?/??", 0.25, "  1/4 "},
        {"# ?/?", 0.99, "1    "},
        {"?/?", 1.5, "3/2"},
        {"?/?", 0, "0/1"},
        {"# ?/8", 1.3, "1 2/8"},
        {"# ?/8", 1.99, "2    "},
        {"?/10", 0.35, "4/10"},
        {"# ?/?\" in\"", 1.5, "1 1/2 in"},
    });
}

TEST(NumberFormatLiterals, TextCurrencyPaddingAndEscapes)
{
    expectAll({
        {"\"$\"#,##0.00", 1234.5, "$1,234.50"},
        {"\"$\"#,##0.00", -1234.5, "-$1,234.50"},
        {"$#,##0", 12, "$12"},
        {"\\x0", 3, "x3"},
        {"0\" units\"", 3, "3 units"},
        {"0_)", 3, "3 "},
        {"(0)", 3, "(3)"},
        {"[$€-2] #,##0.00", 5, "€ 5.00"},
        {"[$-409]0.0", 5, "5.0"},
        {"#,##0 [$USD]", 1000, "1,000 USD"},
        {"\"only text\"", 5, "only text"},
        {"\"unterminated", 5, "unterminated"},
    });
}

TEST(NumberFormatLiterals, FillRepeatsACharacterAtItsPlace)
{
    FormattedValue money = formatNumber(1234.5, "_(\"$\"* #,##0.00_)", false);
    EXPECT_EQ(money.text, " $1,234.50 ");
    ASSERT_TRUE(money.fill);
    EXPECT_EQ(*money.fill, U' ');
    EXPECT_EQ(money.fillOffset, 2u);

    FormattedValue negative = formatNumber(-5, "*-0", false);
    EXPECT_EQ(negative.text, "-5");
    EXPECT_EQ(negative.fillOffset, 1u);
    EXPECT_EQ(negative.fill, U'-');

    EXPECT_EQ(formatNumber(1, "0*€", false).fill, U'€');
    EXPECT_FALSE(formatNumber(1, "0", false).fill);
}

TEST(NumberFormatSections, DefaultRulesAndSigns)
{
    expectAll({
        {"0.00;(0.00)", -3, "(3.00)"},
        {"0.00;(0.00)", 0, "0.00"},
        {"0;-0;\"zero\"", 0, "zero"},
        {"0;-0;\"zero\"", -2, "-2"},
        {"0;0", -2, "2"},
        {"0;;", 0, ""},
        {";;;", 5, ""},
        {"0.00;(0.00)", -0.001, "(0.00)"},
        {"0;-0;0;\"text\"", -4, "-4"},
        {"0;@", -4, "-4"},
        {"_(* #,##0_);_(* \\(#,##0\\);_(* \"-\"_);_(@_)", -1234, " (1,234)"},
        {"_(* #,##0_);_(* \\(#,##0\\);_(* \"-\"_);_(@_)", 0, " - "},
        {"_(\"$\"* #,##0.00_);_(\"$\"* \\(#,##0.00\\);_(\"$\"* \"-\"??_);_(@_)", 0, " $-   "},
    });
}

TEST(NumberFormatSections, ConditionsChooseSections)
{
    expectAll({
        {"[<100]\"small\";\"large\"", 5, "small"},
        {"[<100]\"small\";\"large\"", 500, "large"},
        {"[>=1000]#,##0,\"K\";0", 25000, "25K"},
        {"[>=1000]#,##0,\"K\";0", -5, "5"},
        {"[<-100]0;0;\"z\"", -5, "5"},
        {"[<0]\"neg\";[>0]\"pos\";\"zero\"", 0, "zero"},
        {"[<=-1]0;[>=1]0.0", -3, "-3"},
        {"[>10]0;[<0]0", -3, "3"},
    });
    EXPECT_EQ(formatNumber(0, "[<0]0;[>0]0", false).text, "###########");
}

TEST(NumberFormatSections, ColorsComeFromNamesAndThePalette)
{
    EXPECT_EQ(formatNumber(-5, "0;[Red]0", false).color, (Color{255, 0, 0}));
    EXPECT_FALSE(formatNumber(5, "0;[Red]0", false).color);
    EXPECT_EQ(formatNumber(5, "[blue]0", false).color, (Color{0, 0, 255}));
    EXPECT_EQ(formatNumber(5, "[Color10]0", false).color, (Color{0, 128, 0}));
    EXPECT_EQ(formatNumber(5, "[Color56]0", false).color, (Color{0x33, 0x33, 0x33}));
    EXPECT_FALSE(formatNumber(5, "[Color57]0", false).color);
    EXPECT_EQ(formatNumber(5, "[Color57]0", false).text, "5");
    EXPECT_EQ(formatNumber(-5, "0;[Red]-0", false).text, "-5");
}

TEST(NumberFormatDates, DateTokens)
{
    // 45000 is Monday 15 March 2023.
    expectAll({
        {"m/d/yyyy", 45000, "3/15/2023"},
        {"mm/dd/yy", 45000, "03/15/23"},
        {"d-mmm-yy", 45000, "15-Mar-23"},
        {"dddd, mmmm d, yyyy", 45000, "Wednesday, March 15, 2023"},
        {"ddd mmmmm", 45000, "Wed M"},
        {"yyy y", 45000, "2023 23"},
        {"[$-404]e\"/\"m", 45000, "2023/3"},
        {"[$-409]mmmm d, yyyy;@", 45000, "March 15, 2023"},
        {"dd.mm.yyyy", 45000.75, "15.03.2023"},
        {"m/d/yyyy", 2958465, "12/31/9999"},
        {"m/d/yyyy", 2958466, "###########"},
        {"m/d/yyyy", -1, "###########"},
    });
}

TEST(NumberFormatDates, The1900LeapYearQuirkAnd1904System)
{
    expectAll({
        {"m/d/yyyy", 0, "1/0/1900"},
        {"m/d/yyyy", 1, "1/1/1900"},
        {"m/d/yyyy", 59, "2/28/1900"},
        {"m/d/yyyy", 60, "2/29/1900"},
        {"m/d/yyyy", 61, "3/1/1900"},
        {"dddd", 1, "Sunday"},
        {"dddd", 61, "Thursday"},
        {"ddd", 0, "Sat"},
    });
    expectAll({
        {"m/d/yyyy", 0, "1/1/1904"},
        {"m/d/yyyy", 43538, "3/15/2023"},
        {"dddd", 0, "Friday"},
        {"m/d/yyyy", 2957003, "12/31/9999"},
        {"m/d/yyyy", 2957004, "###########"},
    },
              true);
}

TEST(NumberFormatTimes, ClockElapsedAndFractionsOfSeconds)
{
    const double oneSecond = 1.0 / 86400;
    expectAll({
        {"h:mm", 0.75, "18:00"},
        {"h:mm AM/PM", 0.75, "6:00 PM"},
        {"h:mm am/pm", 0.25, "6:00 am"},
        {"hh:mm A/P", 0, "12:00 A"},
        {"h:mm:ss AM/PM", 0.5, "12:00:00 PM"},
        {"h:mm:ss", 0.5 + 61 * oneSecond, "12:01:01"},
        {"hh:mm:ss", 3 * oneSecond, "00:00:03"},
        {"mm:ss", 0.5 + 125 * oneSecond, "02:05"},
        {"[h]:mm:ss", 1.5, "36:00:00"},
        {"[h]:mm", 2.0 + 90 * 60 * oneSecond, "49:30"},
        {"[mm]:ss", 1.0 / 24, "60:00"},
        {"[ss]", 1.0 / 24, "3600"},
        {"mm:ss.0", 12.3456 * oneSecond, "00:12.3"},
        {"h:mm:ss.000", 0.1234 * oneSecond, "0:00:00.123"},
        {"h:mm:ss", 59.6 * oneSecond, "0:01:00"},
        {"h:mm:ss", 0.99999999, "0:00:00"},
        {"m/d/yyyy h:mm", 45000.99999999, "3/16/2023 0:00"},
        {"m/d/yyyy h:mm", 45000.5, "3/15/2023 12:00"},
        {"h \"h\" m \"min\"", 0.5 + 5 * 60 * oneSecond, "12 h 5 min"},
    });
}

TEST(NumberFormatText, TextSections)
{
    EXPECT_EQ(formatText("abc", "General").text, "abc");
    EXPECT_EQ(formatText("abc", "0.00").text, "abc");
    EXPECT_EQ(formatText("abc", "@").text, "abc");
    EXPECT_EQ(formatText("abc", "0;-0;0;\"<\"@\">\"").text, "<abc>");
    EXPECT_EQ(formatText("abc", "0;-0;0;\"fixed\"").text, "fixed");
    EXPECT_EQ(formatText("abc", "\\+0.0;\\-0.0;General;[Blue]General").text, "abc");
    EXPECT_EQ(formatText("abc", "_(@_)").text, " abc ");
    EXPECT_EQ(formatText("abc", "0;[Red]@").color, (Color{255, 0, 0}));
    FormattedValue filled = formatText("abc", "@*.");
    EXPECT_EQ(filled.text, "abc");
    EXPECT_EQ(filled.fill, U'.');
    EXPECT_EQ(filled.fillOffset, 3u);
}

TEST(NumberFormatKinds, DateFormatsAreRecognised)
{
    for (const char* code : {"m/d/yyyy", "h:mm", "[h]:mm:ss", "mm:ss.0", "[$-409]d-mmm;@", "[Red]yyyy"})
        EXPECT_TRUE(isDateFormat(code)) << code;
    for (const char* code : {"General", "0.00", "\"d\"0", "@", "# ?/?", "0.00E+00", "\\h0"})
        EXPECT_FALSE(isDateFormat(code)) << code;
    EXPECT_TRUE(formatNumber(1, "h:mm", false).isDateOrTime);
    EXPECT_FALSE(formatNumber(1, "0", false).isDateOrTime);
}

TEST(NumberFormatRobustness, OddValuesAndCodesNeverFail)
{
    EXPECT_EQ(formatNumber(std::numeric_limits<double>::infinity(), "0", false).text, "#NUM!");
    EXPECT_EQ(formatNumber(std::nan(""), "General", false).text, "#NUM!");
    EXPECT_EQ(formatNumber(1e308, "0%%%%", false).text.size(), 321u);
    EXPECT_EQ(formatNumber(1e308, "[h]", false).text, "###########");
    for (const char* code : {"[", "\\", "_", "*", "[$", "0.0E+", "?/", "/?", "[<]0", "[Color]0", "E+0", "\"", ";;;;;;"})
        formatNumber(-1.5, code, false);
}

TEST(NumberFormatRobustness, WidthsOutsideAnyCellAreBounded)
{
    EXPECT_EQ(formatNumber(1.5, "General", false, -2147483647).text, "2");
    EXPECT_EQ(formatNumber(2.0 / 3.0, "General", false, 2147483647).text, "0.666666666666667");
    EXPECT_EQ(formatNumber(-1, "[h]", false, 1000).text.size(), 255u);
}

TEST(NumberFormatRobustness, InputsTheFuzzerFoundFormatSoundly)
{
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(KX_TEST_DATA_DIR "/fuzz/number_format")) {
        std::ifstream file(entry.path(), std::ios::binary);
        const std::string input{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        EXPECT_TRUE(kx::fuzz::formatsSoundly(input)) << entry.path();
        ++replayed;
    }
    EXPECT_GT(replayed, 0);
}

TEST(NumberFormatBuiltins, EveryBuiltinFormatShowsValues)
{
    const std::vector<std::pair<uint16_t, const char*>> expected{
        {1, "1235"}, {2, "1234.57"}, {3, "1,235"}, {4, "1,234.57"}, {5, "$1,235 "}, {7, "$1,234.57 "},
        {9, "123457%"}, {10, "123456.70%"}, {11, "1.23E+03"}, {12, "1234 4/7"}, {13, "1234 55/97"},
        {14, "5/18/1903"}, {15, "18-May-03"}, {16, "18-May"}, {17, "May-03"}, {18, "1:36 PM"},
        {19, "1:36:29 PM"}, {20, "13:36"}, {21, "13:36:29"}, {22, "5/18/1903 13:36"}, {37, "1,235 "},
        {39, "1,234.57 "}, {41, " 1,235 "}, {42, " $1,235 "}, {43, " 1,234.57 "}, {44, " $1,234.57 "},
        {45, "36:29"}, {46, "29629:36:29"}, {47, "36:28.8"}, {48, "1.2E+3"}, {49, "1234.567"},
    };
    for (const auto& [id, text] : expected)
        EXPECT_EQ(formatNumber(1234.567, builtinNumberFormat(id), false).text, text) << "format " << id;
    EXPECT_EQ(formatNumber(-1234.567, builtinNumberFormat(6), false).text, "($1,235)");
    EXPECT_EQ(formatNumber(-1234.567, builtinNumberFormat(6), false).color, (Color{255, 0, 0}));
}

TEST(NumberFormatBuiltins, RegionalIdsShowAsTheirEnUsKindAndUnknownIdsAsGeneral)
{
    // A Japanese workbook's dates under id 56, Thai numbers under 59-62 and 67-81.
    const std::vector<std::pair<uint16_t, const char*>> expected{
        {27, "7/1/2002"}, {31, "7/1/2002"}, {50, "7/1/2002"}, {56, "7/1/2002"}, {58, "7/1/2002"},
        {59, "37438"}, {62, "37,438.25"}, {67, "3743825%"}, {71, "7/1/2002"}, {73, "1-Jul-02"},
        {76, "6:00"}, {81, "00:00.0"}, {23, "37438.25"}, {82, "37438.25"}, {163, "37438.25"},
    };
    for (const auto& [id, text] : expected)
        EXPECT_EQ(formatNumber(37438.25, builtinNumberFormat(id), false).text, text) << "format " << id;
}

// The digits a value is shown from are its 15 significant digits correctly rounded, as printf's
// "%.14e" has always given them: also for values whose 16th digit is a 5 and for the extremes.
TEST(NumberFormatDigits, FifteenSignificantDigitsAsPrintfRoundsThem)
{
    std::vector<double> values = {1, 0.5, 0.1, 2.5, 1e-300, 1.7976931348623157e308, 4.9406564584124654e-324,
                                  123456789012345.5, 0.000123456789012345, 99999999999999.95, 1.000000000000005};
    uint64_t state = 0x9E3779B97F4A7C15ull;
    for (int i = 0; i < 20000; ++i) {
        state ^= state << 13, state ^= state >> 7, state ^= state << 17;
        double value;
        std::memcpy(&value, &state, sizeof value);
        if (std::isfinite(value))
            values.push_back(std::fabs(value));
        values.push_back(static_cast<double>(state % 100000000) / 100.0);
    }
    for (const double value : values) {
        char printed[40];
        std::snprintf(printed, sizeof printed, "%.14e", value);
        std::string digits = std::string(1, printed[0]) + std::string(printed + 2, 14);
        digits.erase(digits.find_last_not_of('0') + 1);
        const Decimal decimal = toDecimal(value);
        EXPECT_EQ(decimal.digits, digits) << printed;
        EXPECT_EQ(decimal.point, std::atoi(printed + 17) + 1) << printed;
    }
}

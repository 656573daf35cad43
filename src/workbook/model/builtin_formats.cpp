#include "workbook/model/builtin_formats.h"

#include <map>

namespace kx::workbook {

const std::string& builtinNumberFormat(uint16_t id)
{
    // The en-US built-in formats that files refer to by id without storing a FORMAT record.
    static const std::map<uint16_t, std::string> formats{
        {0, "General"}, {1, "0"}, {2, "0.00"}, {3, "#,##0"}, {4, "#,##0.00"},
        {5, "\"$\"#,##0_);(\"$\"#,##0)"}, {6, "\"$\"#,##0_);[Red](\"$\"#,##0)"},
        {7, "\"$\"#,##0.00_);(\"$\"#,##0.00)"}, {8, "\"$\"#,##0.00_);[Red](\"$\"#,##0.00)"},
        {9, "0%"}, {10, "0.00%"}, {11, "0.00E+00"}, {12, "# ?/?"}, {13, "# ?\?/??"},
        {14, "m/d/yyyy"}, {15, "d-mmm-yy"}, {16, "d-mmm"}, {17, "mmm-yy"}, {18, "h:mm AM/PM"},
        {19, "h:mm:ss AM/PM"}, {20, "h:mm"}, {21, "h:mm:ss"}, {22, "m/d/yyyy h:mm"},
        {37, "#,##0_);(#,##0)"}, {38, "#,##0_);[Red](#,##0)"}, {39, "#,##0.00_);(#,##0.00)"},
        {40, "#,##0.00_);[Red](#,##0.00)"},
        {41, "_(* #,##0_);_(* \\(#,##0\\);_(* \"-\"_);_(@_)"},
        {42, "_(\"$\"* #,##0_);_(\"$\"* \\(#,##0\\);_(\"$\"* \"-\"_);_(@_)"},
        {43, "_(* #,##0.00_);_(* \\(#,##0.00\\);_(* \"-\"??_);_(@_)"},
        {44, "_(\"$\"* #,##0.00_);_(\"$\"* \\(#,##0.00\\);_(\"$\"* \"-\"??_);_(@_)"},
        {45, "mm:ss"}, {46, "[h]:mm:ss"}, {47, "mm:ss.0"}, {48, "##0.0E+0"}, {49, "@"},
    };
    // Ids the East Asian and Thai editions define: the en-US program shows them as the en-US
    // format of the same kind (a date as m/d/yyyy, a Thai number as its plain form); other
    // unknown ids show as General.
    static const std::map<uint16_t, uint16_t> regionalAliases{
        {27, 14}, {28, 14}, {29, 14}, {30, 14}, {31, 14}, {50, 14}, {51, 14}, {52, 14}, {53, 14},
        {54, 14}, {55, 14}, {56, 14}, {57, 14}, {58, 14}, {59, 1}, {60, 2}, {61, 3}, {62, 4},
        {67, 9}, {68, 10}, {69, 12}, {70, 13}, {71, 14}, {72, 14}, {73, 15}, {74, 16}, {75, 17},
        {76, 20}, {77, 21}, {78, 22}, {79, 45}, {80, 46}, {81, 47},
    };
    const auto alias = regionalAliases.find(id);
    const auto found = formats.find(alias != regionalAliases.end() ? alias->second : id);
    return found != formats.end() ? found->second : formats.at(0);
}

}  // namespace kx::workbook

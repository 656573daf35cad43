#include "generated_workbook.h"

#include <string>

#include "xls_builder.h"

namespace kx::bench {

std::vector<std::byte> generatedWorkbook(unsigned rows, unsigned columns)
{
    using namespace kx::testing;
    SheetContents sheet{.name = "Data"};
    sheet.records.reserve(static_cast<size_t>(rows) * columns);
    for (unsigned row = 0; row < rows; ++row) {
        for (unsigned column = 0; column < columns; ++column) {
            const auto r = static_cast<uint16_t>(row);
            const auto c = static_cast<uint16_t>(column);
            switch (column % 3) {
            case 0: sheet.records.push_back(numberCell(r, c, row * 1.25 + column)); break;
            case 1: sheet.records.push_back(rkCell(r, c, (row * 4 + column) << 2 | 0x02)); break;
            default: {
                const std::string text = "Item " + std::to_string(row * columns + column);
                sheet.records.push_back(labelCell(r, c, std::u16string(text.begin(), text.end())));
            }
            }
        }
    }
    return WorkbookBuilder().sheet(std::move(sheet)).file();
}

}  // namespace kx::bench

// The text of a printed PDF: every character printed must come back from pdftotext.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "print_test_support.h"
#include "workbook/print/print.h"

using namespace kx::workbook;
using namespace kx::workbook::testing;

namespace {

// count ideographs from U+4E00 + first on; 300 of them are more glyphs than one font encoding holds.
std::string ideographs(int first, int count)
{
    std::string text;
    for (int code = 0x4E00 + first; code < 0x4E00 + first + count; ++code) {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
    return text;
}

}  // namespace

TEST(PrintTextLayer, EveryScriptAndLigatureWordComesBackFromThePdf)
{
    Workbook book = workbookWithSheet();
    for (const char* family : { "Calibri", "Arial", "Times New Roman" }) {
        book.fonts.push_back(Font{ .name = family, .heightTwips = 220 });
        book.formats.push_back(CellFormat{ .fontIndex = static_cast<uint16_t>(book.fonts.size() - 1) });
    }
    const std::vector<std::string> words = { "Bottom", "Left", "Cell", "often", "afflicted", "office", "fjord",
        "уменьшение", "ОТЕЛИ", "İŞLEM", "ığüşöç", "Ελληνικά", "κείμενο", "Größe", "café", "naïve", "œuvre",
        "Łódź", "中文字符", "日本語のテキスト" };
    Sheet& sheet = book.sheets[0];
    uint32_t row = 0;
    for (uint16_t format = 1; format < book.formats.size(); ++format)
        for (const std::string& word : words)
            setText(book, sheet, row++, 0, word, format);
    for (int part = 0; part < 10; ++part)
        setText(book, sheet, row++, 0, ideographs(part * 30, 30));

    ScratchFolder scratch;
    const auto postScript = scratch.path("print.ps");
    const auto pdf = scratch.path("print.pdf");
    printWorkbook(book, { .outputPath = postScript.string() });
    ASSERT_TRUE(convertToPdf(postScript, pdf));
    const std::string text = pdfText(pdf);
    for (const std::string& word : words)
        EXPECT_NE(text.find(word), std::string::npos) << word << " missing from:\n" << text;
    for (int part = 0; part < 10; ++part)
        EXPECT_NE(text.find(ideographs(part * 30, 30)), std::string::npos) << "ideographs " << part * 30;
}

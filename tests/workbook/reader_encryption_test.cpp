// Encrypted workbooks: the password every copy of the spreadsheet program knows opens them,
// and those that need a password of their own stay shut.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "workbook/xls/compound_file.h"
#include "workbook/xls/decryption.h"
#include "workbook/xls/reader.h"
#include "workbook/xls/xor_obfuscation.h"
#include "print_test_support.h"
#include "reader_test_support.h"
#include "xls_builder.h"

using namespace kx::workbook;
using namespace kx::testing;

namespace {

uint16_t typeAt(const std::vector<std::byte>& stream, size_t at)
{
    return static_cast<uint16_t>(std::to_integer<uint16_t>(stream[at]) | std::to_integer<uint16_t>(stream[at + 1]) << 8);
}

// Calls `body(type, start, size)` for each record of a stream.
template <typename Visit>
void forEachRecord(const std::vector<std::byte>& stream, Visit&& body)
{
    for (size_t at = 0; at + 4 <= stream.size(); at += 4 + typeAt(stream, at + 2))
        body(typeAt(stream, at), at + 4, size_t{typeAt(stream, at + 2)});
}

// The XOR obfuscation as the spreadsheet program writes it: each byte combined with the array
// entry its position selects, then turned right by three bits.
std::vector<std::byte> obfuscated(std::vector<std::byte> stream, std::u16string_view password)
{
    const auto array = detail::xorArray(password);
    forEachRecord(stream, [&](uint16_t type, size_t start, size_t size) {
        if (type == 0x0809 || type == 0x002F)
            return;
        const size_t from = type == 0x0085 ? start + 4 : start;  // a sheet's stream offset stays clear
        for (size_t at = from, index = (from + size) % 16; at < start + size; ++at, index = (index + 1) % 16) {
            const auto mixed = static_cast<uint8_t>(std::to_integer<uint8_t>(stream[at]) ^ array[index]);
            stream[at] = static_cast<std::byte>(mixed >> 3 | mixed << 5);
        }
    });
    return stream;
}

std::vector<std::byte> xorProtectedWorkbook(std::u16string_view password)
{
    WorkbookBuilder builder;
    builder.global(0x002F, Body().u16(0).u16(detail::xorPasswordKey(password)).u16(detail::xorPasswordVerifier(password)));
    builder.sheet({.name = "Budget", .records = {labelCell(0, 0, u"Rent"), numberCell(0, 1, 1250.5)}});
    return compoundFile(obfuscated(builder.stream(), password));
}

std::string textAt(const Workbook& book, const Sheet& sheet, uint32_t row, uint16_t column)
{
    const Cell* cell = sheet.cell(row, column);
    return cell && cell->kind == CellKind::Text ? book.strings[cell->text].utf8 : std::string("(no text)");
}

std::vector<std::byte> fileBytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::vector<char> chars((std::istreambuf_iterator<char>(file)), {});
    std::vector<std::byte> bytes(chars.size());
    std::transform(chars.begin(), chars.end(), bytes.begin(), [](char c) { return static_cast<std::byte>(c); });
    return bytes;
}

}  // namespace

TEST(Encryption, XorKeysOfAKnownPassword)
{
    const std::array<uint8_t, 16> expected{0xAC, 0xCC, 0xA4, 0xAB, 0xD6, 0xBA, 0xC3, 0xBA,
                                           0xD6, 0xA3, 0x2B, 0x45, 0xD3, 0x79, 0x29, 0xBB};
    EXPECT_EQ(detail::xorPasswordKey(u"abc"), 20810);
    EXPECT_EQ(detail::xorPasswordVerifier(u"abc"), 52250);
    EXPECT_EQ(detail::xorArray(u"abc"), expected);
}

TEST(Encryption, DefaultPasswordOpensAndAnyOtherIsRefused)
{
    const Workbook book = loadWorkbook(xorProtectedWorkbook(detail::kDefaultPassword));
    ASSERT_EQ(book.sheets.size(), 1u);
    EXPECT_EQ(book.sheets[0].name, "Budget");
    EXPECT_EQ(textAt(book, book.sheets[0], 0, 0), "Rent");
    ASSERT_NE(book.sheets[0].cell(0, 1), nullptr);
    EXPECT_EQ(book.sheets[0].cell(0, 1)->number, 1250.5);

    EXPECT_EQ(failureOf(xorProtectedWorkbook(u"secret")), ErrorCode::PasswordProtected);
}

// Real workbooks encrypted with their own passwords check each method against the spreadsheet
// program's own output; opened plainly they stay refused.
TEST(Encryption, EachMethodDecryptsARealWorkbookWithItsPassword)
{
    const std::filesystem::path folder = kx::workbook::testing::corpusFolder() / "bad";
    if (!std::filesystem::is_directory(folder))
        GTEST_SKIP() << "no corpus at " << folder;
    struct Case {
        const char* file;
        std::u16string_view password;
        const char* firstSheet;
        std::vector<double> numbers;  // of the first sheet, row by row; none where it holds text
    };
    const Case cases[] = {
        {"bad-encrypted-rc4.xls", u"password", "Лист1", {}},
        {"bad-encrypted-cryptoapi.xls", u"password", "Sheet1", {1, 2, 10, 3, 4}},
        {"bad-encrypted-xor.xls", u"abc", "Sheet1", {1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::vector<std::byte> file = fileBytes(folder / c.file);
        EXPECT_EQ(failureOf(file), ErrorCode::PasswordProtected);

        std::vector<std::byte> stream = detail::extractWorkbookStream(file).bytes;
        detail::decryptWorkbookStream(stream, c.password);
        forEachRecord(stream, [&](uint16_t type, size_t start, size_t) {
            if (type == 0x002F)
                stream[start - 4] = std::byte{0xE2};  // FILEPASS becomes a record read past
        });
        const Workbook book = loadWorkbook(compoundFile(stream));
        const Sheet& sheet = book.sheets.at(0);
        EXPECT_EQ(sheet.name, c.firstSheet);
        std::vector<double> numbers;
        for (const Row& row : sheet.rows)
            for (const Cell& cell : row.cells)
                if (cell.kind == CellKind::Number)
                    numbers.push_back(cell.number);
        EXPECT_EQ(numbers, c.numbers);
        if (c.numbers.empty()) {
            const Cell& first = sheet.rows.at(0).cells.at(0);
            EXPECT_EQ(textAt(book, sheet, sheet.rows[0].index, first.column).rfind("A ZIP bomb is a variant", 0), 0u);
        }
    }
}

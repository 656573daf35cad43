#include "workbook/xls/compound_file.h"

#include <gsf/gsf.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "workbook/xls/document_summary.h"
#include "workbook/xls/read_failure.h"

namespace kx::workbook::detail {

namespace {

constexpr std::array<unsigned char, 8> kCompoundFileSignature{0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

struct GObjectUnref {
    void operator()(void* object) const { g_object_unref(object); }
};
template <typename T>
using GsfPtr = std::unique_ptr<T, GObjectUnref>;

bool startsWith(std::span<const std::byte> bytes, std::string_view prefix)
{
    return bytes.size() >= prefix.size() && std::memcmp(bytes.data(), prefix.data(), prefix.size()) == 0;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return g_ascii_tolower(x) == g_ascii_tolower(y);
           });
}

// Names what a file that is no compound file most likely is, for a message a user can act on.
[[noreturn]] void failNotCompoundFile(std::span<const std::byte> bytes)
{
    if (bytes.empty())
        throw ReadFailure(ErrorCode::NotAWorkbook, "the file is empty");
    if (startsWith(bytes, "PK\x03\x04"))
        throw ReadFailure(ErrorCode::Unsupported,
                          "it is an Excel 2007 or later workbook (.xlsx), not an Excel 97-2003 workbook");
    // Excel 2.1 to 4.0 wrote their records directly, without a compound file around them.
    static constexpr std::array<std::string_view, 4> oldBofs{std::string_view("\x09\x00", 2), "\x09\x02",
                                                            "\x09\x04", "\x09\x08"};
    for (std::string_view bof : oldBofs)
        if (startsWith(bytes, bof))
            throw ReadFailure(ErrorCode::Unsupported,
                              "it was saved in an Excel 2.1 to 4.0 format, which this program does not read");
    throw ReadFailure(ErrorCode::NotAWorkbook,
                      "it is not an Excel 97-2003 workbook (it may be a text, HTML or other file renamed to .xls)");
}

void ignoreLogMessage(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

// A damaged file is reported through the engine's error; libgsf's own warnings about it would
// only clutter the output of a batch conversion.
void initialiseGsfOnce()
{
    static std::once_flag once;
    std::call_once(once, [] {
        gsf_init();
        const auto levels = static_cast<GLogLevelFlags>(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_CRITICAL);
        for (const char* domain : {"libgsf", "libgsf:msole"})
            g_log_set_handler(domain, levels, ignoreLogMessage, nullptr);
        // libgsf's reader of property sets (the summary information) warns without a domain.
        g_log_set_handler(nullptr, levels, ignoreLogMessage, nullptr);
    });
}

GsfInput* findWorkbookChild(GsfInfile* root, bool& namedBook)
{
    GsfInput* book = nullptr;
    for (int i = 0; i < gsf_infile_num_children(root); ++i) {
        const char* name = gsf_infile_name_by_index(root, i);
        if (!name)
            continue;
        if (equalsIgnoringCase(name, "Workbook")) {
            if (book)
                g_object_unref(book);
            namedBook = false;
            return gsf_infile_child_by_index(root, i);
        }
        if (!book && equalsIgnoringCase(name, "Book"))
            book = gsf_infile_child_by_index(root, i);
    }
    namedBook = book != nullptr;
    return book;
}

std::vector<std::byte> readWhole(GsfInput* stream, size_t fileSize)
{
    const gsf_off_t size = gsf_input_size(stream);
    // A stream is stored inside the file, so it cannot be larger than the file.
    if (size < 0 || static_cast<uint64_t>(size) > fileSize)
        throw ReadFailure(ErrorCode::Corrupt, "the file is damaged (its workbook stream claims more bytes than the file holds)");
    std::vector<std::byte> bytes(static_cast<size_t>(size));
    if (size > 0 && !gsf_input_read(stream, static_cast<size_t>(size), reinterpret_cast<guint8*>(bytes.data())))
        throw ReadFailure(ErrorCode::Corrupt, "the file is damaged (its workbook stream cannot be read to the end)");
    return bytes;
}

}  // namespace

WorkbookStream extractWorkbookStream(std::span<const std::byte> fileBytes)
{
    if (fileBytes.size() < kCompoundFileSignature.size() ||
        std::memcmp(fileBytes.data(), kCompoundFileSignature.data(), kCompoundFileSignature.size()) != 0)
        failNotCompoundFile(fileBytes);

    initialiseGsfOnce();
    GsfPtr<GsfInput> input(gsf_input_memory_new(reinterpret_cast<const guint8*>(fileBytes.data()),
                                                static_cast<gsf_off_t>(fileBytes.size()), FALSE));
    GError* error = nullptr;
    GsfPtr<GsfInfile> root(gsf_infile_msole_new(input.get(), &error));
    if (!root) {
        std::string detail = error && error->message ? error->message : "unknown reason";
        if (error)
            g_error_free(error);
        throw ReadFailure(ErrorCode::NotAWorkbook, "its compound-file structure cannot be read (" + detail + ")");
    }
    WorkbookStream result;
    GsfPtr<GsfInput> stream(findWorkbookChild(root.get(), result.namedBook));
    if (!stream)
        throw ReadFailure(ErrorCode::NotAWorkbook, "it holds no workbook stream (it may be another Office document)");
    result.bytes = readWhole(stream.get(), fileBytes.size());
    result.summary = readDocumentSummary(root.get());
    return result;
}

}  // namespace kx::workbook::detail

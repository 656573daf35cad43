#include "cli/single_job.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "conversion/driver.h"
#include "conversion/ghostscript.h"
#include "platform/filesystem.h"
#include "platform/held_folder.h"
#include "platform/private_folder.h"

namespace kx::cli {
namespace {

// The one row of this conversion's job list.
class SingleJobRow final : public conversion::JobRows {
public:
    explicit SingleJobRow(std::string fileName) : fileName_(std::move(fileName)) {}
    void setStatus(std::int16_t, const std::string& status) override { status_ = status; }
    std::string fileName(std::int16_t) const override { return fileName_; }
    const std::string& status() const { return status_; }

private:
    std::string fileName_;
    std::string status_ = conversion::kStatusConverting;
};

ConversionReport failure(const conversion::JobResult& result)
{
    return {.errorNumber = result.fault ? std::optional<std::int32_t>(result.fault->number) : std::nullopt,
            .message = result.reason.empty() ? conversion::kFailedToCreatePdfMessage : result.reason};
}

// The start of a file, or its end, as far as `length` bytes.
std::string partOf(const std::string& path, std::size_t length, bool fromEnd)
{
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    const std::streamoff size = file.tellg();
    if (!file || size <= 0)
        return {};
    const std::streamoff part = std::min<std::streamoff>(size, static_cast<std::streamoff>(length));
    file.seekg(fromEnd ? size - part : 0);
    std::string bytes(static_cast<std::size_t>(part), '\0');
    file.read(bytes.data(), part);
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return bytes;
}

// The page count that the print's PostScript states among its first comments; for a PDF the
// engine printed itself, the count of its page tree, which cairo writes after the pages.
int printedPages(const std::string& workspace, conversion::PdfRoute route)
{
    if (route == conversion::PdfRoute::Direct) {
        const std::string tail = partOf(platform::joinPath(workspace, conversion::kFinishedPdfFile), 1 << 20, true);
        const auto tree = tail.rfind("/Type /Pages");
        const auto count = tree == std::string::npos ? tree : tail.find("/Count ", tree);
        return count == std::string::npos ? 0 : std::atoi(tail.c_str() + count + 7);
    }
    const std::string header = partOf(platform::joinPath(workspace, conversion::kPostScriptFile), 4096, false);
    const auto mark = header.find("\n%%Pages: ");
    return mark == std::string::npos ? 0 : std::atoi(header.c_str() + mark + 10);
}

ConversionReport convertIn(const std::string& workspace, conversion::EngineApplicationFactory& engine,
                           const conversion::OptionValues& options, const std::string& source, const std::string& target,
                           std::chrono::milliseconds ghostscriptTimeout)
{
    const conversion::FixedOptions fixed(options);
    SingleJobRow row(platform::fileNameOf(source));
    conversion::ConversionDriver driver(engine, fixed, row, workspace,
                                        conversion::installedJobServices(ghostscriptTimeout));
    try {
        const conversion::JobResult result = driver.ConvertWorkbook(source, target, 1, 1);
        if (result.outcome == conversion::JobOutcome::Completed && row.status() == conversion::kStatusCompleted)
            return {.converted = true, .pages = printedPages(workspace, options.route)};
        return failure(result);
    } catch (const conversion::automation::Failure& error) {
        return {.errorNumber = error.number(), .message = error.what()};
    } catch (const std::exception& error) {
        return {.message = error.what()};
    }
}

}  // namespace

// One folder kept from run to run when possible, else one made for this conversion alone.
ConversionReport convertWorkbook(conversion::EngineApplicationFactory& engine, const conversion::OptionValues& options,
                                 const std::string& source, const std::string& target,
                                 std::chrono::milliseconds ghostscriptTimeout)
{
    constexpr const char* name = "korvendal-xl-convert";
    if (const auto held = platform::HeldFolder::take(name))
        return convertIn(held->path(), engine, options, source, target, ghostscriptTimeout);
    const auto workspace = platform::createPrivateFolder(name);
    if (!workspace)
        return {.message = "cannot create a working folder in the temporary folder"};
    ConversionReport report = convertIn(*workspace, engine, options, source, target, ghostscriptTimeout);
    platform::removeFolderTree(*workspace);
    return report;
}

}  // namespace kx::cli

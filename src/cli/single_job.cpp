#include "cli/single_job.h"

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

// The page count that the print's PostScript states among its first comments.
int printedPages(const std::string& workspace)
{
    constexpr std::size_t kHeaderBytes = 4096;
    std::ifstream print(platform::joinPath(workspace, conversion::kPostScriptFile), std::ios::binary);
    std::string header(kHeaderBytes, '\0');
    print.read(header.data(), static_cast<std::streamsize>(header.size()));
    header.resize(static_cast<std::size_t>(print.gcount()));
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
            return {.converted = true, .pages = printedPages(workspace)};
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

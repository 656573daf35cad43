#include "cli/arguments.h"

namespace kx::cli {
namespace {

using conversion::UsageError;

int wholeNumberOf(const std::string& text, int lowest, int highest, const std::string& what)
{
    if (const auto number = conversion::wholeNumberOf(text, lowest, highest))
        return *number;
    throw UsageError(what + " needs a whole number from " + std::to_string(lowest) + " to " + std::to_string(highest)
                     + ", not '" + text + "'");
}

// The batch options taken out of the arguments; the rest stays in order for the page set-up
// options and the paths.
struct BatchSplit {
    BatchOptions batch;
    bool outputFolderGiven = false;
    bool anyBatchOption = false;
    std::vector<std::string> rest;
};

BatchSplit splitBatchOptions(const std::vector<std::string>& arguments)
{
    BatchSplit split;
    BatchOptions& batch = split.batch;
    for (std::size_t next = 0; next < arguments.size(); ++next) {
        const std::string& argument = arguments[next];
        if (argument == "--") {
            split.rest.insert(split.rest.end(), arguments.begin() + static_cast<std::ptrdiff_t>(next), arguments.end());
            break;
        }
        const auto value = [&]() -> const std::string& {
            if (next + 1 == arguments.size())
                throw UsageError(argument + " needs a value");
            return arguments[++next];
        };
        bool batchOption = true;
        if (argument == "--output-dir" || argument == "-o") {
            batch.outputFolder = value();
            split.outputFolderGiven = true;
        } else if (argument == "--manifest")
            batch.manifest = value();
        else if (argument == "--recursive" || argument == "-r")
            batch.recursive = true;
        else if (argument == "--jobs" || argument == "-j")
            batch.jobs = wholeNumberOf(value(), 1, 256, "--jobs");
        else if (argument == "--results")
            batch.resultsFile = value();
        else if (argument == "--skip-existing")
            batch.skipExisting = true;
        else if (argument == "--shard")
            batch.shard = shardOf(value());
        else if (argument == "--quiet" || argument == "-q")
            batch.quiet = true;
        else {
            batchOption = false;
            split.rest.push_back(argument);
        }
        split.anyBatchOption = split.anyBatchOption || batchOption;
    }
    return split;
}

void checkBatch(const BatchSplit& split)
{
    const BatchOptions& batch = split.batch;
    if (batch.manifest && split.outputFolderGiven)
        throw UsageError("--manifest names every target: leave out --output-dir");
    if (batch.manifest && !batch.sources.empty())
        throw UsageError("--manifest names every source: leave out the SOURCE arguments");
    if (!batch.manifest && !split.outputFolderGiven)
        throw UsageError("several sources need --output-dir DIR (or --manifest FILE)");
    if (split.outputFolderGiven && batch.outputFolder.empty())
        throw UsageError("--output-dir needs a folder");
    if (!batch.manifest && batch.sources.empty())
        throw UsageError("expected SOURCE files or folders before --output-dir");
}

}  // namespace

Shard shardOf(const std::string& text)
{
    const auto slash = text.find('/');
    if (slash == std::string::npos)
        throw UsageError("--shard needs K/N, such as 2/5, not '" + text + "'");
    Shard shard;
    shard.count = wholeNumberOf(text.substr(slash + 1), 1, 1000000, "--shard's N");
    shard.index = wholeNumberOf(text.substr(0, slash), 1, shard.count, "--shard's K");
    return shard;
}

Arguments parseArguments(const std::vector<std::string>& arguments)
{
    BatchSplit split = splitBatchOptions(arguments);
    conversion::ConversionArguments parsed = conversion::parseConversionArguments(split.rest);
    Arguments result{.options = std::move(parsed.options),
                     .helpWanted = parsed.helpWanted,
                     .versionWanted = parsed.versionWanted,
                     .verbose = parsed.verbose,
                     .ghostscriptTimeout = parsed.ghostscriptTimeout};
    if (result.helpWanted || result.versionWanted)
        return result;
    if (!split.anyBatchOption) {
        if (parsed.paths.size() != 2)
            throw UsageError("expected SOURCE.xls and TARGET.pdf, or SOURCE... --output-dir DIR");
        result.source = parsed.paths[0];
        result.target = parsed.paths[1];
        return result;
    }
    split.batch.sources = std::move(parsed.paths);
    checkBatch(split);
    result.batch = std::move(split.batch);
    return result;
}

}  // namespace kx::cli

#include "workbook/print/font_name_filter.h"

#include <cctype>

namespace kx::workbook {
namespace {

constexpr std::string_view prefix = "/FontName /";
constexpr std::string_view suffix = " def";

// cairo's own names ("f-0-1") are the keys its Type 1 and Type 3 fonts are defined under; they
// are unique already and must stay as they are.
bool isCairoKey(std::string_view name)
{
    return name.size() > 2 && name.starts_with("f-") && std::isdigit(static_cast<unsigned char>(name[2]));
}

}  // namespace

void FontNameFilter::appendRenamed(std::string& output, std::string_view line)
{
    const std::string_view name =
        line.starts_with(prefix) && line.ends_with(suffix) && line.size() > prefix.size() + suffix.size()
            ? line.substr(prefix.size(), line.size() - prefix.size() - suffix.size())
            : std::string_view();
    if (name.empty() || isCairoKey(name) || name.find(' ') != std::string_view::npos) {
        output += line;
        return;
    }
    output += prefix;
    output += name;
    output += "_" + std::to_string(++subsets_);
    output += suffix;
}

// Whole lines go from the chunk to the output as they are, unless they name a font; only a line
// that a chunk ends inside is kept back, to be joined with the start of the next chunk.
void FontNameFilter::filter(std::string_view chunk, std::string& output)
{
    size_t start = 0;
    for (size_t end = chunk.find('\n'); end != std::string_view::npos; end = chunk.find('\n', start)) {
        if (pending_.empty()) {
            appendRenamed(output, chunk.substr(start, end - start));
        } else {
            pending_.append(chunk.substr(start, end - start));
            appendRenamed(output, pending_);
            pending_.clear();
        }
        output += '\n';
        start = end + 1;
    }
    pending_.append(chunk.substr(start));
}

void FontNameFilter::finish(std::string& output)
{
    appendRenamed(output, pending_);
    pending_.clear();
}

}  // namespace kx::workbook

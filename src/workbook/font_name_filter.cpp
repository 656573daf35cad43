#include "workbook/font_name_filter.h"

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

std::string FontNameFilter::renamed(const std::string& line)
{
    if (!line.starts_with(prefix) || !line.ends_with(suffix))
        return line;
    const std::string_view name = std::string_view(line).substr(prefix.size(), line.size() - prefix.size() - suffix.size());
    if (name.empty() || isCairoKey(name) || name.find(' ') != std::string_view::npos)
        return line;
    return std::string(prefix) + std::string(name) + "_" + std::to_string(++subsets_) + std::string(suffix);
}

std::string FontNameFilter::filter(std::string_view chunk)
{
    std::string output;
    output.reserve(chunk.size() + 16);
    size_t start = 0;
    for (size_t end = chunk.find('\n'); end != std::string_view::npos; end = chunk.find('\n', start)) {
        pending_.append(chunk.substr(start, end - start));
        output += renamed(pending_);
        output += '\n';
        pending_.clear();
        start = end + 1;
    }
    pending_.append(chunk.substr(start));
    return output;
}

std::string FontNameFilter::finish()
{
    std::string rest = renamed(pending_);
    pending_.clear();
    return rest;
}

}  // namespace kx::workbook

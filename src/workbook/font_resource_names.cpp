#include "workbook/font_resource_names.h"

namespace kx::workbook {
namespace {

constexpr std::string_view kResourceStart = "%%BeginResource: font ";
constexpr std::string_view kFontName = "/FontName /";
constexpr std::string_view kFontNameEnd = " def";
constexpr std::string_view kSetUpEnd = "%%EndSetup";

}  // namespace

std::string_view FontResourceNames::pass(std::string_view text)
{
    if (setUpDone_)
        return text;
    output_.clear();
    while (!text.empty()) {
        const size_t newline = text.find('\n');
        if (newline == std::string_view::npos) {
            partialLine_.append(text);
            break;
        }
        partialLine_.append(text.substr(0, newline + 1));
        text.remove_prefix(newline + 1);
        rewriteLine(partialLine_);
        partialLine_.clear();
        if (setUpDone_) {
            output_.append(text);
            break;
        }
    }
    return output_;
}

std::string_view FontResourceNames::finish()
{
    output_.swap(partialLine_);
    partialLine_.clear();
    return output_;
}

void FontResourceNames::rewriteLine(std::string_view line)
{
    std::string_view content = line.substr(0, line.find_last_not_of("\r\n") + 1);
    if (content.starts_with(kResourceStart)) {
        currentName_ = content.substr(kResourceStart.size());
        const int uses = ++definitions_[currentName_];
        currentRenamed_ = uses == 1 ? currentName_ : currentName_ + "_" + std::to_string(uses);
        output_.append(kResourceStart).append(currentRenamed_).append(line.substr(content.size()));
        return;
    }
    if (content.starts_with(kFontName) && content.ends_with(kFontNameEnd) && !currentName_.empty()
        && content.substr(kFontName.size(), content.size() - kFontName.size() - kFontNameEnd.size()) == currentName_) {
        output_.append(kFontName).append(currentRenamed_).append(line.substr(content.size() - kFontNameEnd.size()));
        return;
    }
    setUpDone_ = content == kSetUpEnd;
    output_.append(line);
}

}  // namespace kx::workbook

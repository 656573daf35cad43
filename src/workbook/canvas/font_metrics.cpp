#include "workbook/canvas/font_metrics.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "workbook/canvas/font_description.h"
#include "workbook/canvas/pango_layout.h"

namespace kx::workbook {
namespace {

constexpr double pixelsPerPoint = 96.0 / 72.0;

double measureMaxDigitWidth(const Font& font)
{
    const MeasuringLayout layout;
    FontDescriptionPtr description = describeFont(font, font.heightTwips / kTwipsPerPoint * pixelsPerPoint);
    pango_layout_set_font_description(layout.get(), description.get());
    double widest = 0;
    for (char digit = '0'; digit <= '9'; ++digit) {
        pango_layout_set_text(layout.get(), &digit, 1);
        widest = std::max(widest, logicalSize(layout.get()).width);
    }
    return widest;
}

// Measured once per name and size for the whole program.
double lockedMaxDigitWidth(const Font& font)
{
    static std::mutex mutex;
    static std::map<std::pair<std::string, uint16_t>, double> cache;
    std::lock_guard lock(mutex);
    auto key = std::make_pair(font.name, font.heightTwips);
    auto found = cache.find(key);
    if (found == cache.end())
        found = cache.emplace(key, measureMaxDigitWidth(font)).first;
    return found->second;
}

// The exact width in pixels. Cells ask for their font's width one after another, mostly for the
// same font: the last answer is kept at hand for each thread, without a lock or a copied name.
double exactMaxDigitWidth(const Font& font)
{
    thread_local std::optional<std::tuple<std::string, uint16_t, double>> last;
    if (last && std::get<1>(*last) == font.heightTwips && std::get<0>(*last) == font.name)
        return std::get<2>(*last);
    const double width = lockedMaxDigitWidth(font);
    last.emplace(font.name, font.heightTwips, width);
    return width;
}

}  // namespace

int maxDigitWidthPixels(const Font& font)
{
    return std::max(1, static_cast<int>(std::lround(exactMaxDigitWidth(font))));
}

double screenWidthRatio(const Font& font)
{
    const double exact = exactMaxDigitWidth(font);
    return exact > 0 ? maxDigitWidthPixels(font) / exact : 1.0;
}

double paperColumnScale(const Font& defaultFont)
{
    return 1.0 / screenWidthRatio(defaultFont);
}

}  // namespace kx::workbook

#include "workbook/font_metrics.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "workbook/font_description.h"

namespace kx::workbook {
namespace {

constexpr double pixelsPerPoint = 96.0 / 72.0;

int measureMaxDigitWidth(const Font& font)
{
    PangoFontMap* fontMap = pango_cairo_font_map_get_default();
    std::unique_ptr<PangoContext, decltype(&g_object_unref)> context(pango_font_map_create_context(fontMap),
                                                                      g_object_unref);
    std::unique_ptr<PangoLayout, decltype(&g_object_unref)> layout(pango_layout_new(context.get()),
                                                                    g_object_unref);
    FontDescriptionPtr description = describeFont(font, font.heightTwips / 20.0 * pixelsPerPoint);
    pango_layout_set_font_description(layout.get(), description.get());
    double widest = 0;
    for (char digit = '0'; digit <= '9'; ++digit) {
        pango_layout_set_text(layout.get(), &digit, 1);
        PangoRectangle logical;
        pango_layout_get_extents(layout.get(), nullptr, &logical);
        widest = std::max(widest, static_cast<double>(logical.width) / PANGO_SCALE);
    }
    return std::max(1, static_cast<int>(std::lround(widest)));
}

}  // namespace

int maxDigitWidthPixels(const Font& font)
{
    static std::mutex mutex;
    static std::map<std::pair<std::string, uint16_t>, int> cache;
    std::lock_guard lock(mutex);
    auto key = std::make_pair(font.name, font.heightTwips);
    auto found = cache.find(key);
    if (found == cache.end())
        found = cache.emplace(key, measureMaxDigitWidth(font)).first;
    return found->second;
}

}  // namespace kx::workbook

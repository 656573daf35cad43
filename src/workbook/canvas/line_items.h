#pragma once
// What itemizing has found for the lines of one font, kept so that later lines of the same
// characters skip it: finding the font, script and direction of each character costs nearly as
// much as shaping the line.
#include <pango/pango.h>

#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace kx::workbook {

class LineItems {
public:
    LineItems() = default;
    ~LineItems();
    LineItems(const LineItems&) = delete;
    LineItems& operator=(const LineItems&) = delete;

    // The one item pango_itemize would make of the whole text, as a new item, when every
    // character that chooses a font went into an item of the same script before; else nullptr.
    // Only for the context, font and attributes the learnt items were made with.
    PangoItem* itemFor(const std::string& text) const;
    // Takes in an item pango_itemize made of the whole of text.
    void learn(const std::string& text, const PangoItem& item);

private:
    struct Known {
        PangoItem* item = nullptr;
        std::unordered_set<gunichar> characters;  // those that chose the item's font
    };

    std::unordered_map<int, Known> byScript_;
};

// The script pango gives a run of the whole text: its one script besides the common and
// inherited characters, or the common script. Nothing for text in several scripts.
std::optional<GUnicodeScript> lineScript(const std::string& text);

}  // namespace kx::workbook

#include "workbook/canvas/line_items.h"

namespace kx::workbook {
namespace {

// Pango lets spaces and other characters without a glyph of their own keep the font around them.
bool choosesFont(gunichar c)
{
    const GUnicodeType type = g_unichar_type(c);
    return g_unichar_isgraph(c) || type == G_UNICODE_PRIVATE_USE || type == G_UNICODE_UNASSIGNED;
}

}  // namespace

std::optional<GUnicodeScript> lineScript(const std::string& text)
{
    std::optional<GUnicodeScript> found;
    for (const char* c = text.c_str(); *c; c = g_utf8_next_char(c)) {
        const GUnicodeScript script = g_unichar_get_script(g_utf8_get_char(c));
        if (script == G_UNICODE_SCRIPT_COMMON || script == G_UNICODE_SCRIPT_INHERITED)
            continue;
        if (found && *found != script)
            return std::nullopt;
        found = script;
    }
    return found.value_or(G_UNICODE_SCRIPT_COMMON);
}

LineItems::~LineItems()
{
    for (auto& [script, known] : byScript_)
        pango_item_free(known.item);
}

PangoItem* LineItems::itemFor(const std::string& text) const
{
    const std::optional<GUnicodeScript> script = lineScript(text);
    const auto known = script ? byScript_.find(*script) : byScript_.end();
    if (known == byScript_.end())
        return nullptr;
    bool anyChoosing = false;
    for (const char* c = text.c_str(); *c; c = g_utf8_next_char(c)) {
        const gunichar character = g_utf8_get_char(c);
        if (!choosesFont(character))
            continue;
        if (!known->second.characters.contains(character))
            return nullptr;
        anyChoosing = true;
    }
    if (!anyChoosing)
        return nullptr;
    PangoItem* item = pango_item_copy(known->second.item);
    item->offset = 0;
    item->length = static_cast<int>(text.size());
    item->num_chars = static_cast<int>(g_utf8_strlen(text.data(), static_cast<gssize>(text.size())));
    return item;
}

void LineItems::learn(const std::string& text, const PangoItem& item)
{
    if (lineScript(text) != static_cast<GUnicodeScript>(item.analysis.script))
        return;
    Known& known = byScript_[item.analysis.script];
    if (!known.item)
        known.item = pango_item_copy(const_cast<PangoItem*>(&item));
    else if (known.item->analysis.font != item.analysis.font || known.item->analysis.level != item.analysis.level)
        return;
    for (const char* c = text.c_str(); *c; c = g_utf8_next_char(c))
        if (choosesFont(g_utf8_get_char(c)))
            known.characters.insert(g_utf8_get_char(c));
}

}  // namespace kx::workbook

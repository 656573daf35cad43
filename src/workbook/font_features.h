#pragma once
// The OpenType features that text is shaped with.

namespace kx::workbook {

// Shapes text with one glyph per character where the font allows it: standard and contextual
// ligatures ("tt", "ft", "fi" in Carlito) are switched off for every font fontconfig gives pango.
// A ligature glyph has no character of its own in the font's cmap, so a PostScript print cannot
// name it and the text of the finished PDF loses those letters; the spreadsheet program does not
// join them on screen either. Takes effect for fonts loaded afterwards; call before the first
// layout. Safe to call more than once and from any thread.
void useOneGlyphPerCharacter();

}  // namespace kx::workbook

#pragma once
// Gives every font a PostScript print defines a name of its own.
//
// cairo writes a font in several pieces when a print uses more of its glyphs than one encoding
// holds (256) or glyphs outside the Latin set, and gives every piece the font's own name.
// Ghostscript's pdfwrite takes pieces of one name for one font: the glyphs of the later pieces
// then lose their characters (drawn through a Type 3 font without a Unicode map), so the text of
// the PDF misses them although the page looks right. This filter sits between cairo and the file
// and renames the second and later pieces of a name ("Carlito", "Carlito_2", "Carlito_3"); the
// fonts are all defined at the start of the file, so after its set-up section text passes unread.
#include <map>
#include <string>
#include <string_view>

namespace kx::workbook {

class FontResourceNames {
public:
    // Takes the next piece of the PostScript text and returns what to write for it now; the
    // returned text stays valid until the next call.
    std::string_view pass(std::string_view text);
    // The rest held back at the end of the file (an unfinished last line).
    std::string_view finish();

private:
    void rewriteLine(std::string_view line);

    bool setUpDone_ = false;
    std::string partialLine_;
    std::string output_;
    std::map<std::string, int, std::less<>> definitions_;  // per font name, how many so far
    std::string currentName_, currentRenamed_;           // the resource being defined
};

}  // namespace kx::workbook

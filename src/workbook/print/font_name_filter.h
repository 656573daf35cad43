#pragma once
// cairo gives every subset of a font the same FontName, and Ghostscript's pdfwrite then merges
// subsets that do not fit together and falls back to a Type 3 font without text: the PDF loses
// the words of that font. This filter, between cairo and the file, gives each subset a name of its own.
#include <string>
#include <string_view>

namespace kx::workbook {

class FontNameFilter {
public:
    // Appends to output the PostScript to write for a chunk of cairo's output; a partial last
    // line is held back.
    void filter(std::string_view chunk, std::string& output);
    // Appends what is held back, at the end of the output.
    void finish(std::string& output);

private:
    void appendRenamed(std::string& output, std::string_view line);

    std::string pending_;
    int subsets_ = 0;
};

}  // namespace kx::workbook

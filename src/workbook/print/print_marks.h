#pragma once
// What a reader navigates a printed document by: its information (title, author, ...), one
// bookmark per printed sheet and clickable link areas. A PDF print carries them as cairo's
// tags and outline; a PostScript print carries them as pdfmark operators, which Ghostscript's
// PDF writer turns into the same outline, links and information.
#include <cairo.h>

#include <ctime>
#include <string>
#include <vector>

#include "workbook/render/page_links.h"

namespace kx::workbook {

struct DocumentInfo {
    std::string title, subject, author, keywords, creator;
    std::time_t created = 0;
};

class PrintMarks {
public:
    // Every later bookmark and link belongs to this page, until the next one starts.
    void startPage(double height);
    // A bookmark opening at the current page.
    void bookmark(const std::string& title);
    void link(const LinkArea& area);

    // On a PDF page just begun: the destination that links to this page lead to.
    void tagPageDestination(cairo_t* cr) const;
    // The current page's links, as cairo tags on a PDF page about to be shown.
    void tagPageLinks(cairo_t* cr) const;
    // The outline and the document information, on a PDF surface not yet finished.
    void describePdf(cairo_surface_t* pdf, const DocumentInfo& info) const;
    // PostScript that makes everything with pdfmark; harmless to a printer without pdfmark.
    std::string pdfmarks(const DocumentInfo& info) const;

private:
    struct Bookmark {
        std::string title;
        int page;
    };
    struct PageLink {
        LinkArea area;
        int page;
    };
    std::vector<double> pageHeights_;
    std::vector<Bookmark> bookmarks_;
    std::vector<PageLink> links_;
};

}  // namespace kx::workbook

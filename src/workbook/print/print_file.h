#pragma once
// A PostScript or PDF file that appears at its path only when it is complete: pages go to a
// temporary file beside it, which commit() renames into place. Without commit() the temporary
// file is removed.
#include <cairo.h>

#include <cstdio>
#include <string>

#include "workbook/print/font_name_filter.h"
#include "workbook/print/print.h"
#include "workbook/print/print_marks.h"

namespace kx::workbook {

class PrintFile {
public:
    // Throws WorkbookError(PrintFailed).
    explicit PrintFile(const std::string& outputPath, PrintFormat format = PrintFormat::PostScript);
    ~PrintFile();
    PrintFile(const PrintFile&) = delete;
    PrintFile& operator=(const PrintFile&) = delete;

    // Starts a page of the given size in points; the returned context draws on it.
    cairo_t* beginPage(double width, double height);
    void endPage();
    void commit();  // throws WorkbookError(PrintFailed)

    void setDocumentInfo(const DocumentInfo& info) { info_ = info; }
    // Marks on the page begun last.
    void bookmark(const std::string& title) { marks_.bookmark(title); }
    void link(const LinkArea& area) { marks_.link(area); }

private:
    static cairo_status_t write(void* closure, const unsigned char* data, unsigned int length);
    bool writeOut();
    void fail(const std::string& reason) const;

    std::string outputPath_, temporaryPath_;
    PrintFormat format_;
    DocumentInfo info_;
    PrintMarks marks_;
    std::FILE* file_ = nullptr;
    FontNameFilter fontNames_;
    // cairo writes in pieces of a line or less: they go to the file together.
    std::string unwritten_;
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
    bool committed_ = false;
};

}  // namespace kx::workbook

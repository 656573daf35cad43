#pragma once
// A PostScript file that appears at its path only when it is complete: pages go to a temporary
// file beside it, which commit() renames into place. Without commit() the temporary file is removed.
#include <cairo.h>

#include <cstdio>
#include <string>

#include "workbook/print/font_name_filter.h"

namespace kx::workbook {

class PrintFile {
public:
    explicit PrintFile(const std::string& outputPath);  // throws WorkbookError(PrintFailed)
    ~PrintFile();
    PrintFile(const PrintFile&) = delete;
    PrintFile& operator=(const PrintFile&) = delete;

    // Starts a page of the given size in points; the returned context draws on it.
    cairo_t* beginPage(double width, double height);
    void endPage();
    void commit();  // throws WorkbookError(PrintFailed)

private:
    static cairo_status_t write(void* closure, const unsigned char* data, unsigned int length);
    bool writeOut();
    void fail(const std::string& reason) const;

    std::string outputPath_, temporaryPath_;
    std::FILE* file_ = nullptr;
    FontNameFilter fontNames_;
    // cairo writes in pieces of a line or less: they go to the file together.
    std::string unwritten_;
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
    bool committed_ = false;
};

}  // namespace kx::workbook

#include "workbook/print/print_file.h"

#include <cairo-pdf.h>
#include <cairo-ps.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "workbook/model/error.h"

namespace kx::workbook {

PrintFile::PrintFile(const std::string& outputPath, PrintFormat format) : outputPath_(outputPath), format_(format)
{
    std::vector<char> name(outputPath.begin(), outputPath.end());
    const std::string suffix = ".partial-XXXXXX";
    name.insert(name.end(), suffix.begin(), suffix.end());
    name.push_back('\0');
    const int descriptor = mkstemp(name.data());
    if (descriptor < 0)
        fail(std::strerror(errno));
    temporaryPath_ = name.data();
    fchmod(descriptor, 0644);  // as readable as any file the user writes, not private like a temporary one
    file_ = fdopen(descriptor, "wb");
    if (!file_) {
        close(descriptor);
        fail(std::strerror(errno));
    }
    // The first page sets its own size; this one is only the surface's initial default.
    surface_ = format == PrintFormat::Pdf ? cairo_pdf_surface_create_for_stream(&PrintFile::write, this, 595, 842)
                                          : cairo_ps_surface_create_for_stream(&PrintFile::write, this, 595, 842);
    if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS)
        fail(cairo_status_to_string(cairo_surface_status(surface_)));
}

PrintFile::~PrintFile()
{
    if (cr_)
        cairo_destroy(cr_);
    if (surface_)
        cairo_surface_destroy(surface_);
    if (file_)
        std::fclose(file_);
    if (!committed_ && !temporaryPath_.empty())
        std::remove(temporaryPath_.c_str());
}

cairo_status_t PrintFile::write(void* closure, const unsigned char* data, unsigned int length)
{
    constexpr size_t piece = 64 << 10;
    auto* self = static_cast<PrintFile*>(closure);
    if (self->format_ == PrintFormat::Pdf)
        self->unwritten_.append(reinterpret_cast<const char*>(data), length);
    else
        self->fontNames_.filter({reinterpret_cast<const char*>(data), length}, self->unwritten_);
    return self->unwritten_.size() < piece || self->writeOut() ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

bool PrintFile::writeOut()
{
    const bool written = std::fwrite(unwritten_.data(), 1, unwritten_.size(), file_) == unwritten_.size();
    unwritten_.clear();
    return written;
}

void PrintFile::fail(const std::string& reason) const
{
    throw WorkbookError(ErrorCode::PrintFailed, "The print file \"" + outputPath_ + "\" could not be written: " + reason);
}

cairo_t* PrintFile::beginPage(double width, double height)
{
    marks_.startPage(height);
    if (format_ == PrintFormat::Pdf) {
        // In whole points, as PostScript states the paper: both routes then put every mark
        // at the same place on the same paper.
        cairo_pdf_surface_set_size(surface_, std::round(width), std::round(height));
        if (!cr_)
            cr_ = cairo_create(surface_);
        marks_.tagPageDestination(cr_);
        return cr_;
    }
    cairo_ps_surface_set_size(surface_, width, height);
    // Every page is drawn upright on its paper; said so, Ghostscript does not turn a page whose
    // text runs mostly up the page (a row of turned headings) on its side.
    cairo_ps_surface_dsc_begin_page_setup(surface_);
    cairo_ps_surface_dsc_comment(surface_, "%%PageOrientation: Portrait");
    if (!cr_)
        cr_ = cairo_create(surface_);
    return cr_;
}

void PrintFile::endPage()
{
    if (format_ == PrintFormat::Pdf)
        marks_.tagPageLinks(cr_);
    cairo_show_page(cr_);
    if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS)
        fail(cairo_status_to_string(cairo_status(cr_)));
}

void PrintFile::commit()
{
    if (cr_) {
        cairo_destroy(cr_);
        cr_ = nullptr;
    }
    if (format_ == PrintFormat::Pdf)
        marks_.describePdf(surface_, info_);
    cairo_surface_finish(surface_);
    const cairo_status_t status = cairo_surface_status(surface_);
    cairo_surface_destroy(surface_);
    surface_ = nullptr;
    if (status != CAIRO_STATUS_SUCCESS)
        fail(cairo_status_to_string(status));
    if (format_ == PrintFormat::PostScript) {
        fontNames_.finish(unwritten_);
        unwritten_ += marks_.pdfmarks(info_);
    }
    if (!writeOut())
        fail(std::strerror(errno));
    // Not forced to disk: a print file is read at once by whoever asked for it, and one lost to a
    // system crash is printed again rather than used. Forcing it cost each print milliseconds.
    const bool flushed = std::fflush(file_) == 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!flushed || !closed)
        fail(std::strerror(errno));
    if (std::rename(temporaryPath_.c_str(), outputPath_.c_str()) != 0)
        fail(std::strerror(errno));
    committed_ = true;
}

}  // namespace kx::workbook

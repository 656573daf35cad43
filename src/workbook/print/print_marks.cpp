#include "workbook/print/print_marks.h"

#include <cairo-pdf.h>
#include <glib.h>

#include <algorithm>
#include <cstdio>

namespace kx::workbook {
namespace {

std::string hexBytes(const std::string& bytes)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string hex = "<";
    for (const unsigned char byte : bytes) {
        hex += digits[byte >> 4];
        hex += digits[byte & 0xF];
    }
    return hex + ">";
}

// A PDF text string: plain text as a literal string, which every reader takes (Ghostscript's
// PDF/A writer drops UTF-16 information), else UTF-16 big-endian after its byte order mark.
std::string pdfText(const std::string& utf8)
{
    if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return c >= 0x20 && c < 0x7F; })) {
        std::string literal = "(";
        for (const char c : utf8) {
            if (c == '(' || c == ')' || c == '\\')
                literal += '\\';
            literal += c;
        }
        return literal + ")";
    }
    glong units = 0;
    gunichar2* utf16 = g_utf8_to_utf16(utf8.c_str(), static_cast<glong>(utf8.size()), nullptr, &units, nullptr);
    std::string bytes = "\xFE\xFF";
    for (glong i = 0; utf16 && i < units; ++i) {
        bytes += static_cast<char>(utf16[i] >> 8);
        bytes += static_cast<char>(utf16[i] & 0xFF);
    }
    g_free(utf16);
    return hexBytes(bytes);
}

std::string formatTime(std::time_t time, const char* pattern)
{
    std::tm utc{};
    gmtime_r(&time, &utc);
    char text[32];
    return std::string(text, std::strftime(text, sizeof text, pattern, &utc));
}

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// A value inside cairo's attribute strings, where quotes and backslashes are escaped.
std::string attributeText(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "'";
}

// cairo 1.16 writes a link's address into the PDF as it is given, so a parenthesis or
// backslash would end or break the string there; escaped as in any URI, it leads to the same place.
std::string uriForCairo(const std::string& uri)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string escaped;
    for (const unsigned char c : uri) {
        if (c <= 0x20 || c >= 0x7F || c == '(' || c == ')' || c == '\\') {
            escaped += '%';
            escaped += digits[c >> 4];
            escaped += digits[c & 0xF];
        } else {
            escaped += static_cast<char>(c);
        }
    }
    return escaped;
}

// cairo 1.16 writes a link to a page by number only when that page is already written; a link
// to a named destination it resolves at the end, so links lead to later pages too.
std::string pageDestination(int page) { return "kx-page-" + std::to_string(page); }

std::string pdfmarkInfo(const DocumentInfo& info)
{
    std::string entries;
    const std::pair<const char*, const std::string*> texts[] = {
        {"/Title", &info.title}, {"/Subject", &info.subject}, {"/Author", &info.author},
        {"/Keywords", &info.keywords}, {"/Creator", &info.creator}};
    for (const auto& [key, value] : texts)
        if (!value->empty())
            entries += std::string(" ") + key + " " + pdfText(*value);
    if (info.created)
        entries += " /CreationDate (" + formatTime(info.created, "D:%Y%m%d%H%M%SZ") + ")";
    return "[" + entries + " /DOCINFO pdfmark\n";
}

}  // namespace

void PrintMarks::startPage(double height) { pageHeights_.push_back(height); }

void PrintMarks::bookmark(const std::string& title)
{
    bookmarks_.push_back({title, static_cast<int>(pageHeights_.size())});
}

void PrintMarks::link(const LinkArea& area) { links_.push_back({area, static_cast<int>(pageHeights_.size())}); }

void PrintMarks::tagPageDestination(cairo_t* cr) const
{
    const std::string attributes = "name=" + attributeText(pageDestination(static_cast<int>(pageHeights_.size())));
    cairo_tag_begin(cr, CAIRO_TAG_DEST, attributes.c_str());
    cairo_tag_end(cr, CAIRO_TAG_DEST);
}

void PrintMarks::tagPageLinks(cairo_t* cr) const
{
    cairo_save(cr);
    cairo_identity_matrix(cr);
    // Links come in page order: the current page's are the last ones.
    const int page = static_cast<int>(pageHeights_.size());
    for (auto link = links_.rbegin(); link != links_.rend() && link->page == page; ++link) {
        const LinkArea& area = link->area;
        const std::string target = area.uri.empty() ? "dest=" + attributeText(pageDestination(area.targetPage))
                                                    : "uri=" + attributeText(uriForCairo(area.uri));
        const std::string attributes = "rect=[" + number(area.x) + " " + number(area.y) + " " + number(area.width) +
                                       " " + number(area.height) + "] " + target;
        cairo_tag_begin(cr, CAIRO_TAG_LINK, attributes.c_str());
        cairo_tag_end(cr, CAIRO_TAG_LINK);
    }
    cairo_restore(cr);
}

void PrintMarks::describePdf(cairo_surface_t* pdf, const DocumentInfo& info) const
{
    for (const Bookmark& mark : bookmarks_) {
        const std::string target = "page=" + std::to_string(mark.page);
        cairo_pdf_surface_add_outline(pdf, CAIRO_PDF_OUTLINE_ROOT, mark.title.c_str(), target.c_str(),
                                      CAIRO_PDF_OUTLINE_FLAG_OPEN);
    }
    const std::pair<cairo_pdf_metadata_t, const std::string*> texts[] = {
        {CAIRO_PDF_METADATA_TITLE, &info.title}, {CAIRO_PDF_METADATA_SUBJECT, &info.subject},
        {CAIRO_PDF_METADATA_AUTHOR, &info.author}, {CAIRO_PDF_METADATA_KEYWORDS, &info.keywords},
        {CAIRO_PDF_METADATA_CREATOR, &info.creator}};
    for (const auto& [key, value] : texts)
        if (!value->empty())
            cairo_pdf_surface_set_metadata(pdf, key, value->c_str());
    if (info.created)
        cairo_pdf_surface_set_metadata(pdf, CAIRO_PDF_METADATA_CREATE_DATE,
                                       formatTime(info.created, "%Y-%m-%dT%H:%M:%SZ").c_str());
}

std::string PrintMarks::pdfmarks(const DocumentInfo& info) const
{
    // A printer without pdfmark takes each mark off the stack again.
    std::string text = "\n/pdfmark where {pop} {userdict /pdfmark /cleartomark load put} ifelse\ninitmatrix\n";
    text += pdfmarkInfo(info);
    for (const Bookmark& mark : bookmarks_)
        text += "[/Title " + pdfText(mark.title) + " /Page " + std::to_string(mark.page) +
                " /View [/XYZ null null null] /OUT pdfmark\n";
    for (const PageLink& link : links_) {
        const LinkArea& area = link.area;
        // pdfmark counts upwards from the page's bottom edge. Flag 4: the link prints, as
        // PDF/A asks of every annotation.
        const double bottom = pageHeights_[static_cast<size_t>(link.page - 1)] - area.y - area.height;
        const std::string target = area.uri.empty()
                                       ? "/Page " + std::to_string(area.targetPage) + " /View [/XYZ null null null]"
                                       : "/Action << /Subtype /URI /URI " + hexBytes(area.uri) + " >>";
        text += "[/Rect [" + number(area.x) + " " + number(bottom) + " " + number(area.x + area.width) + " " +
                number(bottom + area.height) + "] /Border [0 0 0] " + target + " /SrcPg " +
                std::to_string(link.page) + " /F 4 /Subtype /Link /ANN pdfmark\n";
    }
    return text;
}

}  // namespace kx::workbook

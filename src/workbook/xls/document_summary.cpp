#include "workbook/xls/document_summary.h"

#include <gsf/gsf.h>

#include <memory>

namespace kx::workbook::detail {
namespace {

struct GObjectUnref {
    void operator()(void* object) const { g_object_unref(object); }
};

std::string textProperty(GsfDocMetaData* meta, const char* name)
{
    GsfDocProp* property = gsf_doc_meta_data_lookup(meta, name);
    const GValue* value = property ? gsf_doc_prop_get_val(property) : nullptr;
    const char* text = value && G_VALUE_HOLDS_STRING(value) ? g_value_get_string(value) : nullptr;
    // The property set names its own code page; libgsf converts, but a wrong page can leave bytes
    // that are no UTF-8, which would spoil every text built from them.
    return text && g_utf8_validate(text, -1, nullptr) ? text : "";
}

}  // namespace

DocumentSummary readDocumentSummary(GsfInfile* root)
{
    std::unique_ptr<GsfInput, GObjectUnref> stream(gsf_infile_child_by_name(root, "\005SummaryInformation"));
    if (!stream)
        return {};
    std::unique_ptr<GsfDocMetaData, GObjectUnref> meta(gsf_doc_meta_data_new());
    if (GError* error = gsf_doc_meta_data_read_from_msole(meta.get(), stream.get())) {
        g_error_free(error);
        return {};
    }
    return {.title = textProperty(meta.get(), GSF_META_NAME_TITLE),
            .subject = textProperty(meta.get(), GSF_META_NAME_SUBJECT),
            .author = textProperty(meta.get(), GSF_META_NAME_CREATOR),
            .keywords = textProperty(meta.get(), GSF_META_NAME_KEYWORDS)};
}

}  // namespace kx::workbook::detail

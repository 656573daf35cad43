#pragma once
// The summary information an Office file keeps beside its content (title, subject, author,
// keywords), in the property-set stream of the compound file.
#include <gsf/gsf-infile.h>

#include "workbook/model/model.h"

namespace kx::workbook::detail {

// Empty texts when the file has no summary or a damaged one: it only describes the workbook.
DocumentSummary readDocumentSummary(GsfInfile* root);

}  // namespace kx::workbook::detail

#include "workbook/xls/custom_views.h"

#include <algorithm>
#include <array>

#include "workbook/xls/record_types.h"

namespace kx::workbook::detail {

namespace {

constexpr uint16_t kViewBegin = 0x01AA;
constexpr uint16_t kViewEnd = 0x01AB;

// What a custom view holds, after the format description's CUSTOMVIEW: selections, page breaks,
// header and footer, centring, margins, printer settings, set-up, print size and filters.
constexpr std::array<uint16_t, 23> kViewRecords{
    0x001D,  // SELECTION
    0x0041,  // PANE
    record_type::HorizontalPageBreaks, record_type::VerticalPageBreaks,
    record_type::Header, record_type::Footer,
    record_type::HCenter, record_type::VCenter,
    record_type::LeftMargin, record_type::RightMargin, record_type::TopMargin, record_type::BottomMargin,
    record_type::PrintGridlines, record_type::PrintHeaders,
    0x004D,  // PLS, the printer's own settings
    record_type::Setup,
    0x0033,  // PRINTSIZE, of a chart sheet
    0x089C,  // HEADERFOOTER
    0x009D,  // AUTOFILTERINFO
    0x009E,  // AUTOFILTER
    0x087E,  // AUTOFILTER12
    0x087F,  // CONTINUEFRT12
    0x0874,  // DROPDOWNOBJIDS
};

bool heldByViews(uint16_t type)
{
    return std::find(kViewRecords.begin(), kViewRecords.end(), type) != kViewRecords.end();
}

}  // namespace

bool CustomViewSkipper::belongsToView(const Record& record)
{
    if (record.type == kViewBegin) {
        inView_ = true;
        return true;
    }
    if (!inView_)
        return false;
    if (record.type == kViewEnd || heldByViews(record.type)) {
        inView_ = record.type != kViewEnd;
        return true;
    }
    inView_ = false;
    return false;
}

}  // namespace kx::workbook::detail

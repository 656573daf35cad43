#pragma once
// The records of a chart: a chart sheet's own stream, or the substream an embedded chart keeps
// inside its worksheet. Blocks open with BEGIN and close with END; what a record means depends
// on the block it sits in. After the chart come the values its series showed last, as cells
// whose row is the point and whose column is the series.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "workbook/model/model.h"
#include "workbook/xls/record_stream.h"
#include "workbook/xls/sheet_context.h"

namespace kx::workbook::detail {

class ChartReader {
public:
    explicit ChartReader(const SheetContext& context) : context_(context) {}
    // Takes note of any record of the chart's stream; a damaged record loses only what it says.
    void read(const Record& record);
    // The chart, or nothing when the records describe none that can be drawn.
    std::optional<Chart> take();

private:
    struct Block {
        uint16_t opener = 0;  // the record before BEGIN
        uint16_t owner = 0;   // for a frame: what it frames
    };
    struct PendingText {
        uint16_t link = 0;  // what the text labels: 1 the chart, 2 the value axis, 3 the category axis
        std::string text;
        std::optional<uint16_t> font;
        bool defaults = false;  // the text format that chart texts without their own follow
        bool across = false;    // not turned
        std::optional<DrawingShare> box;  // where the program last drew it
        bool moved = false;               // away from where the program puts it by itself
    };
    // The stored corner and size of a chart part, in the units its mode names.
    struct StoredPosition {
        uint16_t cornerMode = 0, sizeMode = 0;
        std::array<int16_t, 4> values{};  // x, y, width, height
    };
    struct PendingGroup {
        ChartGroup group;
        uint16_t order = 0;     // the number series name their group by
        bool drawable = false;  // a kind of chart this engine draws
    };

    void readRecord(uint16_t type, RecordReader& reader);
    void readSeriesText(RecordReader& reader);
    void readLink(RecordReader& reader);
    void readDataFormat(RecordReader& reader);
    void readLineFormat(RecordReader& reader);
    void readAreaFormat(RecordReader& reader);
    void readMarkerFormat(RecordReader& reader);
    void readChartKind(uint16_t type, RecordReader& reader);
    void readAxis(RecordReader& reader);
    void readValueRange(RecordReader& reader);
    void readLegend(RecordReader& reader);
    void readText(RecordReader& reader);
    void readPosition(RecordReader& reader);
    void readPlotLayout(RecordReader& reader);
    void placePlot(Chart& chart) const;
    void placeLegend(Chart& chart) const;
    void readFont(RecordReader& reader);
    void readCachedCell(uint16_t type, RecordReader& reader);
    void closeBlock();
    uint16_t enclosing() const { return blocks_.empty() ? 0 : blocks_.back().opener; }
    ChartSeries* currentSeries();
    ChartAxis* currentAxis();
    ChartFrame* currentFrame();

    const SheetContext& context_;
    Chart chart_;
    std::vector<PendingGroup> groups_;
    bool seenChart_ = false;
    bool hasTitle_ = false;
    bool secondaryAxes_ = false;
    bool threeD_ = false;  // drawn in 3-D, which this engine draws flat
    std::vector<Block> blocks_;
    uint16_t previous_ = 0;        // the type of the record before this one
    uint16_t frameOwner_ = 0;      // what the last FRAME record frames
    uint16_t axisLine_ = 0;        // which line of the axis the next LINEFORMAT draws
    bool seriesWideFormat_ = false;
    uint16_t formatPoint_ = 0;
    ChartAxis* axis_ = nullptr;    // the axis whose block this is, when it is one that is kept
    std::optional<PendingText> text_;
    uint16_t cacheKind_ = 0;       // 1 values, 2 categories, 3 bubble sizes
    size_t blocksTooDeep_ = 0;     // blocks opened past the nesting limit, not kept
    uint16_t sheetProperties_ = 0;
    std::array<int32_t, 4> legendUnits_{};  // the legend's corner and size in 1/4000 of the chart
    std::optional<StoredPosition> plotPosition_;  // the primary axes': the plot area with its labels
    // The newer layout of the plot area, when it agrees with plotPosition_: manual or automatic,
    // and the rectangle it names when that is manual.
    std::optional<bool> plotLayoutManual_;
    std::optional<DrawingShare> plotLayoutBox_;
    bool plotLayoutInner_ = false;
};

}  // namespace kx::workbook::detail

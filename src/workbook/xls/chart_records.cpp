#include "workbook/xls/chart_records.h"

#include <algorithm>
#include <cmath>

#include "workbook/xls/cell_formats.h"
#include "workbook/xls/defined_names.h"
#include "workbook/format/number_format.h"
#include "workbook/xls/read_failure.h"
#include "workbook/xls/record_types.h"
#include "workbook/xls/text_decoding.h"

namespace kx::workbook::detail {

namespace {

namespace chart_record {
constexpr uint16_t Chart = 0x1002;
constexpr uint16_t Series = 0x1003;
constexpr uint16_t DataFormat = 0x1006;
constexpr uint16_t LineFormat = 0x1007;
constexpr uint16_t MarkerFormat = 0x1009;
constexpr uint16_t AreaFormat = 0x100A;
constexpr uint16_t SeriesText = 0x100D;
constexpr uint16_t PointLabel = 0x100C;
constexpr uint16_t ChartFormat = 0x1014;
constexpr uint16_t Legend = 0x1015;
constexpr uint16_t Bar = 0x1017;
constexpr uint16_t Line = 0x1018;
constexpr uint16_t Pie = 0x1019;
constexpr uint16_t Area = 0x101A;
constexpr uint16_t Scatter = 0x101B;
constexpr uint16_t Radar = 0x103E;
constexpr uint16_t Surface = 0x103F;
constexpr uint16_t RadarArea = 0x1040;
constexpr uint16_t BarOfPie = 0x1061;
constexpr uint16_t ThreeD = 0x103A;
constexpr uint16_t Axis = 0x101D;
constexpr uint16_t Tick = 0x101E;
constexpr uint16_t ValueRange = 0x101F;
constexpr uint16_t CategoryRange = 0x1020;
constexpr uint16_t AxisLine = 0x1021;
constexpr uint16_t DefaultText = 0x1024;
constexpr uint16_t Text = 0x1025;
constexpr uint16_t FontIndex = 0x1026;
constexpr uint16_t ObjectLink = 0x1027;
constexpr uint16_t Frame = 0x1032;
constexpr uint16_t Begin = 0x1033;
constexpr uint16_t End = 0x1034;
constexpr uint16_t PlotArea = 0x1035;
constexpr uint16_t AxisParent = 0x1041;
constexpr uint16_t SheetProperties = 0x1044;
constexpr uint16_t Position = 0x104F;
constexpr uint16_t PlotLayout = 0x08A7;
constexpr uint16_t SeriesToGroup = 0x1045;
constexpr uint16_t AxisNumberFormat = 0x104E;
constexpr uint16_t SeriesIndex = 0x1065;
constexpr uint16_t Ai = 0x1051;
constexpr uint16_t PrintSize = 0x0033;
}  // namespace chart_record

namespace cell_record {
constexpr uint16_t Number = 0x0203;
constexpr uint16_t Label = 0x0204;
}  // namespace cell_record

constexpr size_t kMaximumNesting = 64;
constexpr size_t kMaximumPoints = 32000;
constexpr uint16_t kWholeSeries = 0xFFFF;
constexpr uint16_t kNoLine = 5;
constexpr uint16_t kAutomaticBit = 0x0001;
constexpr uint16_t kValueAxis = 1;
constexpr uint16_t kCategoryAxis = 0;
constexpr uint16_t kAxisLine = 0;
constexpr uint16_t kMajorGridline = 1;
constexpr double kChartUnits = 4000;             // positions are stored in 1/4000 of the chart
constexpr uint16_t kStoredPlotArea = 0x0010;     // the plot area lies where its position says
constexpr uint16_t kRelativeToParent = 2;        // position modes
constexpr uint16_t kRelativeToChart = 5;
constexpr uint16_t kLayoutAutomatic = 0;         // layout modes
constexpr uint16_t kLayoutFactor = 1;
constexpr uint16_t kLayoutEdge = 2;
constexpr double kSmallestPlot = 0.05;  // of the chart's width or height; less is not a plot area

Color readRgb(RecordReader& reader)
{
    Color color;
    color.red = reader.u8();
    color.green = reader.u8();
    color.blue = reader.u8();
    reader.skip(1);
    return color;
}

double fixedPoint(uint32_t value)
{
    return static_cast<double>(static_cast<int32_t>(value)) / 65536.0;
}

MarkerShape markerShape(uint16_t stored)
{
    return stored <= static_cast<uint16_t>(MarkerShape::Plus) ? static_cast<MarkerShape>(stored) : MarkerShape::Square;
}

LegendPosition legendPosition(uint8_t stored)
{
    switch (stored) {
    case 0: return LegendPosition::Bottom;
    case 1: return LegendPosition::Corner;
    case 2: return LegendPosition::Top;
    case 4: return LegendPosition::Left;
    case 7: return LegendPosition::Floating;
    default: return LegendPosition::Right;
    }
}

// A rectangle as shares of the chart, when it lies on the chart: a little past an edge is
// kept (the program stores plot areas a few units over), more is not trusted, nor a rectangle
// smaller than `smallest` either way.
std::optional<DrawingShare> onChart(double left, double top, double width, double height, double smallest)
{
    constexpr double kOver = 0.05;
    if (!std::isfinite(left) || !std::isfinite(top) || !std::isfinite(width) || !std::isfinite(height) ||
        width < smallest || height < smallest || left < -kOver || top < -kOver || left + width > 1 + kOver ||
        top + height > 1 + kOver)
        return std::nullopt;
    return DrawingShare{std::max(0.0, left), std::max(0.0, top), std::min(1.0, left + width), std::min(1.0, top + height)};
}

std::optional<DrawingShare> onChart(const std::array<int32_t, 4>& units, double smallest)
{
    return onChart(units[0] / kChartUnits, units[1] / kChartUnits, units[2] / kChartUnits, units[3] / kChartUnits,
                   smallest);
}

template <typename T>
T& pointAt(std::vector<T>& points, size_t index)
{
    if (points.size() <= index)
        points.resize(index + 1);
    return points[index];
}

}  // namespace

void ChartReader::read(const Record& record)
{
    if (record.pieces.empty())
        return;
    RecordReader reader(record);
    try {
        readRecord(record.type, reader);
    } catch (const ReadFailure&) {
        if (context_.warnings)
            context_.warnings->add(record.type, record.offset, "a damaged chart record, whose part of the chart is left out");
    }
    previous_ = record.type;
}

void ChartReader::readRecord(uint16_t type, RecordReader& reader)
{
    using namespace chart_record;
    switch (type) {
    case Chart:
        if (seenChart_)
            return;
        seenChart_ = true;
        reader.skip(8);
        chart_.width = std::max(0.0, fixedPoint(reader.u32()));
        chart_.height = std::max(0.0, fixedPoint(reader.u32()));
        return;
    case PrintSize: {
        const uint16_t size = reader.u16();
        if (size == 2)
            chart_.printSize = ChartPrintSize::Proportional;
        else if (size == 3)
            chart_.printSize = ChartPrintSize::Stored;
        return;
    }
    case Begin:
        if (blocks_.size() >= kMaximumNesting)
            ++blocksTooDeep_;
        else
            blocks_.push_back({previous_, previous_ == Frame ? frameOwner_ : uint16_t{0}});
        return;
    case End: closeBlock(); return;
    case Series:
        if (enclosing() == Chart && chart_.series.size() < kMaximumPoints)
            chart_.series.emplace_back();
        return;
    case Ai: readLink(reader); return;
    case SeriesText: readSeriesText(reader); return;
    case SeriesToGroup:
        if (ChartSeries* series = currentSeries())
            series->group = reader.u16();
        return;
    case DataFormat: readDataFormat(reader); return;
    case LineFormat: readLineFormat(reader); return;
    case AreaFormat: readAreaFormat(reader); return;
    case MarkerFormat: readMarkerFormat(reader); return;
    case PointLabel:
        if (ChartSeries* series = currentSeries(); series && enclosing() == DataFormat && seriesWideFormat_) {
            const uint16_t shown = reader.u16();
            series->format.valueLabels = (shown & 0x0001) != 0;
            series->format.percentLabels = (shown & 0x0006) != 0;
            series->format.categoryLabels = (shown & 0x0014) != 0;
        }
        return;
    case ChartFormat: {
        reader.skip(16);
        ChartGroup group;
        group.variedColors = (reader.u16() & 0x0001) != 0;
        group.secondary = secondaryAxes_;
        groups_.push_back({group, reader.u16(), false});
        return;
    }
    case Bar:
    case Line:
    case Pie:
    case Area:
    case Scatter:
    case Radar:
    case Surface:
    case RadarArea:
    case BarOfPie: readChartKind(type, reader); return;
    case AxisParent: secondaryAxes_ = reader.u16() != 0; return;
    case ThreeD: threeD_ = threeD_ || enclosing() == ChartFormat; return;
    case Axis: readAxis(reader); return;
    case ValueRange: readValueRange(reader); return;
    case CategoryRange:
        if (ChartAxis* axis = currentAxis()) {
            reader.skip(2);
            axis->labelInterval = std::max<uint16_t>(1, reader.u16());
            reader.skip(2);
            axis->betweenCategories = (reader.u16() & 0x0001) != 0;
        }
        return;
    case Tick:
        if (ChartAxis* axis = currentAxis()) {
            reader.skip(2);
            axis->labels = reader.u8() != 0;
        }
        return;
    case AxisNumberFormat:
        if (ChartAxis* axis = currentAxis())
            axis->numberFormat = reader.u16();
        return;
    case AxisLine: axisLine_ = reader.u16(); return;
    case Text: readText(reader); return;
    case Position: readPosition(reader); return;
    case SheetProperties: sheetProperties_ = reader.u16(); return;
    case PlotLayout: readPlotLayout(reader); return;
    case ObjectLink:
        if (text_ && enclosing() == Text)
            text_->link = reader.u16();
        return;
    case FontIndex: readFont(reader); return;
    case Frame:
        frameOwner_ = previous_ == PlotArea ? PlotArea : enclosing();
        return;
    case Legend: readLegend(reader); return;
    case SeriesIndex: cacheKind_ = reader.u16(); return;
    case cell_record::Number:
    case cell_record::Label: readCachedCell(type, reader); return;
    default: return;
    }
}

void ChartReader::closeBlock()
{
    if (blocksTooDeep_ > 0) {
        --blocksTooDeep_;
        return;
    }
    if (blocks_.empty())
        return;
    const uint16_t opener = blocks_.back().opener;
    blocks_.pop_back();
    if (opener == chart_record::Text && text_) {
        const std::optional<DrawingShare> moved = text_->moved ? text_->box : std::nullopt;
        if (text_->link == 1) {
            chart_.title = text_->text;
            chart_.titleBox = moved;
            hasTitle_ = true;
            if (text_->font)
                chart_.titleFont = text_->font;
        } else if (text_->link == 2) {
            ChartAxis& axis = secondaryAxes_ ? chart_.secondaryValueAxis : chart_.valueAxis;
            axis.title = text_->text;
            axis.titleAcross = text_->across;
            axis.titleBox = moved;
        } else if (text_->link == 3 && !secondaryAxes_) {
            chart_.categoryAxis.title = text_->text;
            chart_.categoryAxis.titleBox = moved;
        } else if (text_->defaults && text_->font && !chart_.textFont) {
            chart_.textFont = text_->font;
        }
        text_.reset();
    } else if (opener == chart_record::Axis) {
        axis_ = nullptr;
    } else if (opener == chart_record::AxisParent) {
        secondaryAxes_ = false;
    }
}

// The series block and the data format blocks inside it.
ChartSeries* ChartReader::currentSeries()
{
    if (chart_.series.empty())
        return nullptr;
    const bool inSeries = enclosing() == chart_record::Series;
    const bool inFormat = blocks_.size() >= 2 && enclosing() == chart_record::DataFormat &&
                          blocks_[blocks_.size() - 2].opener == chart_record::Series;
    return inSeries || inFormat ? &chart_.series.back() : nullptr;
}

ChartAxis* ChartReader::currentAxis()
{
    return enclosing() == chart_record::Axis ? axis_ : nullptr;
}

ChartFrame* ChartReader::currentFrame()
{
    if (blocks_.empty() || blocks_.back().opener != chart_record::Frame)
        return nullptr;
    switch (blocks_.back().owner) {
    case chart_record::PlotArea: return &chart_.plotArea;
    case chart_record::Chart: return &chart_.area;
    default: return nullptr;
    }
}

void ChartReader::readSeriesText(RecordReader& reader)
{
    reader.skip(2);
    std::string text = readShortString(reader);
    if (text_ && enclosing() == chart_record::Text)
        text_->text = std::move(text);
    else if (ChartSeries* series = currentSeries(); series && enclosing() == chart_record::Series)
        series->name = std::move(text);
}

// A series names the cells of its name, values and categories by a formula of references.
void ChartReader::readLink(RecordReader& reader)
{
    ChartSeries* series = currentSeries();
    if (!series || enclosing() != chart_record::Series || !context_.globals)
        return;
    const uint8_t part = reader.u8();
    const uint8_t kind = reader.u8();
    reader.skip(4);
    const uint16_t length = reader.u16();
    if (kind != 2 || length == 0 || length > reader.remaining())
        return;
    std::vector<std::byte> formula(length);
    for (std::byte& b : formula)
        b = static_cast<std::byte>(reader.u8());
    std::optional<ChartSource> source;
    for (const SheetArea& area : formulaAreas(*context_.globals, formula)) {
        if (area.sheet && !area.elsewhere && area.range.firstRow <= area.range.lastRow &&
            area.range.firstColumn <= area.range.lastColumn) {
            source = ChartSource{static_cast<uint32_t>(*area.sheet), area.range};
            break;
        }
    }
    switch (part) {
    case 0: series->nameSource = source; break;
    case 1: series->valueSource = source; break;
    case 2: series->categorySource = source; break;
    case 3: series->bubbleSource = source; break;
    default: break;
    }
}

void ChartReader::readDataFormat(RecordReader& reader)
{
    const uint16_t point = reader.u16();
    seriesWideFormat_ = point == kWholeSeries;
    formatPoint_ = point;
}

void ChartReader::readLineFormat(RecordReader& reader)
{
    const Color color = readRgb(reader);
    const uint16_t pattern = reader.u16();
    const int16_t weight = reader.i16();
    const bool automatic = (reader.u16() & kAutomaticBit) != 0;
    if (ChartAxis* axis = currentAxis()) {
        if (axisLine_ == kMajorGridline)
            axis->majorGridlines = pattern != kNoLine;
        else if (axisLine_ == kAxisLine)
            axis->line = pattern != kNoLine;
        return;
    }
    if (ChartFrame* frame = currentFrame()) {
        frame->line = pattern == kNoLine ? std::nullopt : std::optional<Color>(color);
        return;
    }
    ChartSeries* series = currentSeries();
    if (!series || enclosing() != chart_record::DataFormat || !seriesWideFormat_)
        return;
    series->format.noLine = pattern == kNoLine;
    // Hairline, narrow, medium and wide lines.
    series->format.lineWidth = weight < 0 ? 0.25 : 0.75 * (std::min<int16_t>(weight, 2) + 1);
    if (!automatic)
        series->format.line = color;
}

void ChartReader::readAreaFormat(RecordReader& reader)
{
    const Color foreground = readRgb(reader);
    reader.skip(4);
    const uint16_t pattern = reader.u16();
    const bool automatic = (reader.u16() & kAutomaticBit) != 0;
    if (ChartFrame* frame = currentFrame()) {
        frame->fill = pattern == 0 ? std::nullopt : std::optional<Color>(foreground);
        return;
    }
    ChartSeries* series = currentSeries();
    if (!series || enclosing() != chart_record::DataFormat || automatic)
        return;
    if (!seriesWideFormat_) {
        if (pattern != 0)
            series->pointFills.emplace_back(formatPoint_, foreground);
        return;
    }
    series->format.noFill = pattern == 0;
    series->format.fill = foreground;
}

void ChartReader::readMarkerFormat(RecordReader& reader)
{
    ChartSeries* series = currentSeries();
    if (!series || enclosing() != chart_record::DataFormat || !seriesWideFormat_)
        return;
    const Color line = readRgb(reader);
    const Color fill = readRgb(reader);
    const uint16_t shape = reader.u16();
    const uint16_t flags = reader.u16();
    reader.skip(4);
    const uint32_t size = reader.u32();
    if (flags & kAutomaticBit)
        return;
    ChartSeriesFormat& format = series->format;
    format.marker = markerShape(shape);
    if (!(flags & 0x0020))
        format.markerLine = line;
    if (!(flags & 0x0010))
        format.markerFill = fill;
    format.markerSize = std::clamp(size / kTwipsPerPoint, 2.0, 72.0);
}

void ChartReader::readChartKind(uint16_t type, RecordReader& reader)
{
    if (groups_.empty() || enclosing() != chart_record::ChartFormat)
        return;
    PendingGroup& pending = groups_.back();
    ChartGroup& group = pending.group;
    pending.drawable = true;
    switch (type) {
    case chart_record::Bar: {
        group.overlap = reader.i16();
        group.gap = reader.u16();
        const uint16_t flags = reader.u16();
        group.kind = (flags & 0x0001) ? ChartKind::Bar : ChartKind::Column;
        group.stacking = (flags & 0x0004) ? ChartStacking::Percent : (flags & 0x0002) ? ChartStacking::Stacked : ChartStacking::None;
        break;
    }
    case chart_record::Line:
    case chart_record::Area: {
        const uint16_t flags = reader.u16();
        group.kind = type == chart_record::Line ? ChartKind::Line : ChartKind::Area;
        group.stacking = (flags & 0x0002) ? ChartStacking::Percent : (flags & 0x0001) ? ChartStacking::Stacked : ChartStacking::None;
        break;
    }
    case chart_record::Pie:
        group.kind = ChartKind::Pie;
        group.firstSliceAngle = reader.u16() % 360;
        group.variedColors = true;
        break;
    case chart_record::BarOfPie: {
        group.kind = ChartKind::Pie;
        group.variedColors = true;
        SecondPlot plot;
        if (reader.remaining() < 22) {  // too short to say how: the program's defaults
            group.secondPlot = plot;
            break;
        }
        plot.kind = reader.u8() == 2 ? SecondPlot::Kind::Bar : SecondPlot::Kind::Pie;
        reader.skip(1);  // whether the program chose the split itself: it stored the one it chose
        const uint16_t split = reader.u16();
        plot.split = split == 1 ? SecondPlot::Split::Value : split == 2 ? SecondPlot::Split::Percent : SecondPlot::Split::Position;
        plot.lastPoints = static_cast<uint16_t>(std::clamp<int16_t>(reader.i16(), 0, 32000));
        plot.belowPercent = static_cast<uint16_t>(std::clamp<int16_t>(reader.i16(), 0, 100));
        plot.sizePercent = static_cast<uint16_t>(std::clamp<int16_t>(reader.i16(), 5, 200));
        plot.gapPercent = static_cast<uint16_t>(std::clamp<int16_t>(reader.i16(), 0, 500));
        const double value = reader.f64();
        plot.belowValue = std::isfinite(value) ? value : 0;
        group.secondPlot = plot;
        break;
    }
    case chart_record::Scatter:
        group.kind = ChartKind::Scatter;
        if (reader.remaining() >= 6) {
            group.bubbleScale = std::clamp<uint16_t>(reader.u16(), 0, 300);
            group.bubbleSizeIsWidth = reader.u16() == 2;
            group.bubbles = (reader.u16() & 0x0001) != 0;
        }
        break;
    case chart_record::Radar: group.kind = ChartKind::Radar; break;
    case chart_record::RadarArea: group.kind = ChartKind::FilledRadar; break;
    default: pending.drawable = false; break;
    }
}

void ChartReader::readAxis(RecordReader& reader)
{
    const uint16_t type = reader.u16();
    // The secondary category axis and the series axis of 3-D charts are left out.
    axis_ = nullptr;
    if (type == kValueAxis)
        axis_ = secondaryAxes_ ? &chart_.secondaryValueAxis : &chart_.valueAxis;
    else if (type == kCategoryAxis && !secondaryAxes_)
        axis_ = &chart_.categoryAxis;
    if (axis_ && axis_->shown)
        axis_ = nullptr;  // a second axis of a kind
    if (axis_)
        axis_->shown = true;
    axisLine_ = 0;
}

void ChartReader::readValueRange(RecordReader& reader)
{
    ChartAxis* axis = currentAxis();
    if (!axis)
        return;
    const double minimum = reader.f64(), maximum = reader.f64(), major = reader.f64();
    reader.skip(16);
    const uint16_t automatic = reader.u16();
    if (!(automatic & 0x0001) && std::isfinite(minimum))
        axis->minimum = minimum;
    if (!(automatic & 0x0002) && std::isfinite(maximum))
        axis->maximum = maximum;
    if (!(automatic & 0x0004) && std::isfinite(major) && major > 0)
        axis->majorUnit = major;
}

void ChartReader::readLegend(RecordReader& reader)
{
    if (enclosing() != chart_record::ChartFormat)
        return;
    // Position and size in 1/4000 of the chart's width and height.
    for (int32_t& value : legendUnits_)
        value = static_cast<int32_t>(reader.u32());
    chart_.legend = true;
    chart_.legendPosition = legendPosition(reader.u8());
}

void ChartReader::readText(RecordReader& reader)
{
    text_ = PendingText{.defaults = previous_ == chart_record::DefaultText};
    reader.skip(8);
    std::array<int32_t, 4> box{};
    for (int32_t& value : box)
        value = static_cast<int32_t>(reader.u32());
    reader.skip(6);
    text_->across = reader.u16() == 0;
    text_->box = onChart(box, 1 / kChartUnits);
}

// Where the program last placed the primary axes with their labels, the legend, or a text; the
// meaning of the numbers depends on what the position belongs to.
void ChartReader::readPosition(RecordReader& reader)
{
    StoredPosition position;
    position.cornerMode = reader.u16();
    position.sizeMode = reader.u16();
    for (int16_t& value : position.values) {
        value = reader.i16();
        reader.skip(2);
    }
    const std::array<int16_t, 4>& v = position.values;
    switch (enclosing()) {
    case chart_record::AxisParent:
        if (!secondaryAxes_ && !plotPosition_)
            plotPosition_ = position;
        return;
    case chart_record::Legend:
        if (position.cornerMode == kRelativeToChart) {
            legendUnits_[0] = v[0];
            legendUnits_[1] = v[1];
        }
        return;
    case chart_record::Text:
        // A text the program places itself keeps no offset from that place.
        if (text_ && position.cornerMode == kRelativeToParent)
            text_->moved = v[0] != 0 || v[1] != 0;
        return;
    default: return;
    }
}

// The plot area's layout as newer versions of the program store it beside the older position,
// which it repeats: when that no longer matches, a program that knew only the older position
// moved the plot area since, and this layout is out of date.
void ChartReader::readPlotLayout(RecordReader& reader)
{
    reader.skip(16);  // the header of a newer record and a checksum
    const bool inner = (reader.u16() & 0x0001) != 0;
    std::array<int16_t, 4> repeated{};
    for (int16_t& value : repeated)
        value = reader.i16();
    std::array<uint16_t, 4> modes{};
    for (uint16_t& mode : modes)
        mode = reader.u16();
    const double x = reader.f64(), y = reader.f64(), width = reader.f64(), height = reader.f64();
    if (!plotPosition_ || plotPosition_->values != repeated)
        return;
    plotLayoutManual_ = std::any_of(modes.begin(), modes.end(), [](uint16_t mode) { return mode != kLayoutAutomatic; });
    // Only a corner given from the chart's edges says where the rectangle is; an offset from
    // where the program would put it does not.
    const auto sized = [](uint16_t mode) { return mode == kLayoutFactor || mode == kLayoutEdge; };
    if (modes[0] != kLayoutEdge || modes[1] != kLayoutEdge || !sized(modes[2]) || !sized(modes[3]))
        return;
    plotLayoutBox_ = onChart(x, y, modes[2] == kLayoutEdge ? width - x : width, modes[3] == kLayoutEdge ? height - y : height,
                             kSmallestPlot);
    plotLayoutInner_ = inner;
}

// A plot area laid out by hand, or kept where the program last put it, lies where the file says;
// but not a 3-D chart's, whose rectangle fits its projection rather than the flat drawing.
void ChartReader::placePlot(Chart& chart) const
{
    if (threeD_ || !plotLayoutManual_.value_or((sheetProperties_ & kStoredPlotArea) != 0))
        return;
    if (plotLayoutBox_) {
        chart.plotBox = plotLayoutBox_;
        chart.plotBoxInner = plotLayoutInner_;
    } else if (plotPosition_ && plotPosition_->cornerMode == kRelativeToParent &&
               plotPosition_->sizeMode == kRelativeToParent) {
        const std::array<int16_t, 4>& v = plotPosition_->values;
        chart.plotBox = onChart({v[0], v[1], v[2], v[3]}, kSmallestPlot);
    }
}

// A legend that is not docked lies where it was put.
void ChartReader::placeLegend(Chart& chart) const
{
    if (chart.legendPosition != LegendPosition::Floating)
        return;
    const auto share = [&](size_t i) { return std::clamp(legendUnits_[i] / kChartUnits, 0.0, 1.0); };
    chart.legendArea = {share(0), share(1), std::min(1.0, share(0) + share(2)), std::min(1.0, share(1) + share(3))};
}

void ChartReader::readFont(RecordReader& reader)
{
    const uint16_t font = fontIndexFromFile(reader.u16(), context_.fontCount);
    if (text_ && enclosing() == chart_record::Text)
        text_->font = font;
    else if (currentAxis() && !chart_.textFont)
        chart_.textFont = font;
}

// The values the series showed when the file was saved; the cells they name, read later,
// take their place where the workbook still holds them.
void ChartReader::readCachedCell(uint16_t type, RecordReader& reader)
{
    if (!seenChart_ || !blocks_.empty() || cacheKind_ < 1 || cacheKind_ > 3)
        return;
    const uint16_t point = reader.u16();
    const uint16_t column = reader.u16();
    const uint16_t format = reader.u16();
    if (column >= chart_.series.size() || point >= kMaximumPoints)
        return;
    ChartSeries& series = chart_.series[column];
    std::optional<double> number;
    std::string label;
    if (type == cell_record::Number) {
        number = reader.f64();
        if (!std::isfinite(*number))
            return;
        const Workbook* book = context_.formats;
        std::string code = "General";
        if (book && format < book->formats.size())
            code = book->numberFormatCode(book->formats[format].numberFormat);
        label = formatNumber(*number, code, book && book->dateSystem1904).text;
    } else {
        label = readString(reader);
    }
    if (cacheKind_ == 1) {
        if (number && series.values.empty() && context_.formats && format < context_.formats->formats.size())
            series.valueFormat = context_.formats->formats[format].numberFormat;
        pointAt(series.values, point) = number;
    } else if (cacheKind_ == 3) {
        pointAt(series.bubbleSizes, point) = number;
    } else {
        pointAt(series.categories, point) = label;
        pointAt(series.xValues, point) = number;
    }
}

std::optional<Chart> ChartReader::take()
{
    if (!seenChart_)
        return std::nullopt;
    Chart chart = std::move(chart_);
    std::vector<uint16_t> orders;
    for (const PendingGroup& pending : groups_) {
        if (!pending.drawable)
            continue;
        chart.groups.push_back(pending.group);
        orders.push_back(pending.order);
    }
    if (chart.groups.empty())
        return std::nullopt;
    std::vector<ChartSeries> series;
    for (ChartSeries& one : chart.series) {
        const auto group = std::find(orders.begin(), orders.end(), one.group);
        if (group == orders.end())
            continue;
        one.group = static_cast<uint16_t>(group - orders.begin());
        series.push_back(std::move(one));
    }
    chart.series = std::move(series);
    placePlot(chart);
    placeLegend(chart);
    // A title with no text of its own names the only series.
    if (hasTitle_ && chart.title.empty() && chart.series.size() == 1)
        chart.title = chart.series.front().name;
    return chart;
}

}  // namespace kx::workbook::detail

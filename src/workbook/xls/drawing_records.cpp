#include "workbook/xls/drawing_records.h"

#include <algorithm>

#include "workbook/xls/cell_formats.h"
#include "workbook/xls/read_failure.h"
#include "workbook/xls/record_types.h"
#include "workbook/xls/text_decoding.h"

namespace kx::workbook::detail {

namespace {

constexpr uint16_t kCommonObjectData = 0x0015;
constexpr uint16_t kPrintedObject = 0x0010;
constexpr uint16_t kPictureObject = 0x0008;
constexpr uint16_t kLineObject = 0x0001;
constexpr uint16_t kRectangleObject = 0x0002;
constexpr uint16_t kOvalObject = 0x0003;
constexpr uint16_t kTextBoxObject = 0x0006;
constexpr uint16_t kDrawnShapeObject = 0x001E;
constexpr size_t kTxoTextLengthOffset = 8;  // after the options: rotation and reserved bytes
constexpr size_t kRunSize = 8;

constexpr uint16_t kShapeContainer = 0xF004;
constexpr uint16_t kShapeRecord = 0xF00A;
constexpr size_t kShapeRecordSize = 8;  // the shape's id, then its flags
constexpr uint32_t kFlippedAcrossBit = 0x0040;
constexpr uint32_t kFlippedUpBit = 0x0080;
constexpr uint16_t kOptions = 0xF00B;
constexpr uint16_t kTertiaryOptions = 0xF122;
constexpr uint16_t kClientAnchor = 0xF010;
constexpr uint16_t kClientData = 0xF011;
constexpr uint16_t kChildAnchor = 0xF00F;
constexpr uint16_t kGroupSpace = 0xF009;
constexpr size_t kRectangleSize = 16;
constexpr size_t kClientAnchorSize = 18;
constexpr int kMaximumNesting = 16;

constexpr uint16_t kPictureNumber = 0x0104;
constexpr uint16_t kFillColor = 0x0181;
constexpr uint16_t kFillFlags = 0x01BF;
constexpr uint16_t kLineColor = 0x01C0;
constexpr uint16_t kLineFlags = 0x01FF;
constexpr uint16_t kLineWidth = 0x01CB;
constexpr uint16_t kLineDashing = 0x01CE;
constexpr uint16_t kLineStartArrow = 0x01D0;
constexpr uint16_t kLineEndArrow = 0x01D1;
constexpr double kUnitsPerPoint = 12700;
constexpr double kWidestLine = 100;  // points; wider is taken as damage
constexpr uint32_t kFilledBit = 0x0010;
constexpr uint32_t kOutlinedBit = 0x0008;
constexpr uint16_t kShapeFlags = 0x03BF;
constexpr uint32_t kPrintedBit = 0x0001;
constexpr uint32_t kHiddenBit = 0x0002;
constexpr size_t kPropertySize = 6;

constexpr Color kWhite{255, 255, 255};
constexpr Color kBlack{0, 0, 0};
constexpr Color kNoteYellow{255, 255, 225};

// Later writers mark each flag they set with a "use" bit sixteen places up; earlier ones set no
// use bits at all, and then every flag counts.
std::optional<bool> flag(uint32_t value, uint32_t bit)
{
    const bool used = (value >> 16) == 0 || (value & bit << 16) != 0;
    return used ? std::optional<bool>((value & bit) != 0) : std::nullopt;
}

// Whether the shape's flags leave it off paper. Only flags marked as used count here: a writer
// that marks none says nothing about printing.
bool keptOffPaper(uint32_t value)
{
    const auto marked = [value](uint32_t bit) { return (value & bit << 16) != 0; };
    return (marked(kPrintedBit) && !(value & kPrintedBit)) || (marked(kHiddenBit) && (value & kHiddenBit));
}

// Colours with flags in the high byte name palette or system colours; their defaults stand in.
std::optional<Color> rgbColor(uint32_t value)
{
    if (value >> 24)
        return std::nullopt;
    return Color{static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16)};
}

void readProperties(const EscherRecord& options, Shape& shape)
{
    const size_t count = std::min<size_t>(options.instance, options.body.size() / kPropertySize);
    ByteReader in(options.body);
    for (size_t i = 0; i < count; ++i) {
        const uint16_t id = in.u16le() & 0x3FFF;
        const uint32_t value = in.u32le();
        switch (id) {
        case kPictureNumber: shape.picture = value; break;
        case kFillColor: shape.fillColor = rgbColor(value); break;
        case kFillFlags: shape.filled = flag(value, kFilledBit); break;
        case kLineColor: shape.lineColor = rgbColor(value); break;
        case kLineFlags: shape.outlined = flag(value, kOutlinedBit); break;
        case kLineWidth: shape.lineWidth = std::min(value / kUnitsPerPoint, kWidestLine); break;
        case kLineDashing: shape.lineDashing = value; break;
        case kLineStartArrow: shape.arrowAtStart = value != 0; break;
        case kLineEndArrow: shape.arrowAtEnd = value != 0; break;
        case kShapeFlags: shape.offPaper = keptOffPaper(value); break;
        default: break;
        }
    }
}

// The outline a shape draws: by its shape type, or by its object's kind for writers that give
// no type. Other shapes (stars, arrows as outlines, freeforms, connectors with bends) are not
// drawn.
std::optional<ShapeGeometry> geometryOf(const Shape& shape, uint16_t objectKind)
{
    switch (shape.type) {
    case 1: case 202: return ShapeGeometry::Rectangle;
    case 2: return ShapeGeometry::RoundRectangle;
    case 3: return ShapeGeometry::Ellipse;
    case 4: return ShapeGeometry::Diamond;
    case 5: return ShapeGeometry::Triangle;
    case 6: return ShapeGeometry::RightTriangle;
    case 20: case 32: return ShapeGeometry::Line;  // a line, a straight connector
    default: break;
    }
    switch (objectKind) {
    case kLineObject: return ShapeGeometry::Line;
    case kRectangleObject: case kTextBoxObject: return ShapeGeometry::Rectangle;
    case kOvalObject: return ShapeGeometry::Ellipse;
    default: return std::nullopt;
    }
}

// The dash styles' lengths drawn and left out, in line widths: dashes, dots and their mixes,
// first as printers draw them, then in the longer spacing of the later styles.
std::vector<double> dashesOf(uint32_t style)
{
    switch (style) {
    case 1: return {3, 1};
    case 2: return {1, 1};
    case 3: return {3, 1, 1, 1};
    case 4: return {3, 1, 1, 1, 1, 1};
    case 5: return {1, 3};
    case 6: return {4, 3};
    case 7: return {8, 3};
    case 8: return {4, 3, 1, 3};
    case 9: return {8, 3, 1, 3};
    case 10: return {8, 3, 1, 3, 1, 3};
    default: return {};
    }
}

bool drawnShape(uint16_t objectKind)
{
    return objectKind == kLineObject || objectKind == kRectangleObject || objectKind == kOvalObject ||
           objectKind == kTextBoxObject || objectKind == kDrawnShapeObject;
}

// After the flags, the corner cells and the offsets into them; the caller has checked the size.
DrawingAnchor readAnchor(Bytes body)
{
    ByteReader in(body, 2);
    DrawingAnchor anchor;
    anchor.firstColumn = std::min(in.u16le(), kLastColumn);
    anchor.firstColumnOffset = in.u16le();
    anchor.firstRow = in.u16le();
    anchor.firstRowOffset = in.u16le();
    anchor.lastColumn = std::min(in.u16le(), kLastColumn);
    anchor.lastColumnOffset = in.u16le();
    anchor.lastRow = in.u16le();
    anchor.lastRowOffset = in.u16le();
    if (anchor.lastColumn < anchor.firstColumn || anchor.lastRow < anchor.firstRow) {
        anchor.lastColumn = anchor.firstColumn;
        anchor.lastRow = anchor.firstRow;
    }
    return anchor;
}

// A group's own anchor and the part of it the group takes, and the coordinates its shapes are
// placed in.
struct GroupFrame {
    std::optional<DrawingAnchor> anchor;
    DrawingShare share;
    double left = 0, top = 0, right = 0, bottom = 0;
};

struct Rectangle {
    double left, top, right, bottom;
};

Rectangle readRectangle(Bytes body)
{
    ByteReader in(body);
    const double left = in.i32le(), top = in.i32le(), right = in.i32le(), bottom = in.i32le();
    return {left, top, right, bottom};
}

DrawingShare shareWithin(const GroupFrame& group, const Rectangle& child)
{
    const double width = group.right - group.left, height = group.bottom - group.top;
    if (width <= 0 || height <= 0)
        return group.share;
    const DrawingShare& outer = group.share;
    const auto across = [&](double x) { return outer.left + (x - group.left) / width * (outer.right - outer.left); };
    const auto down = [&](double y) { return outer.top + (y - group.top) / height * (outer.bottom - outer.top); };
    return {across(child.left), down(child.top), across(child.right), down(child.bottom)};
}

// Flags, then the corners in 1/4000 of the chart's width and height.
DrawingShare readChartAnchor(Bytes body)
{
    ByteReader in(body, 2);
    const auto next = [&in] { return std::clamp(in.i32le() / 4000.0, 0.0, 1.0); };
    const double left = next(), top = next(), right = next(), bottom = next();
    return {left, top, std::max(left, right), std::max(top, bottom)};
}

// One shape; a group's first shape also names the group's coordinates.
Shape readShape(const EscherRecord& container, const GroupFrame* group, ShapePlacement placement, bool& hasObject,
                std::optional<Rectangle>& groupSpace)
{
    Shape shape;
    hasObject = false;
    for (const EscherRecord& part : escherRecords(container.body)) {
        if (part.type == kOptions || part.type == kTertiaryOptions)
            readProperties(part, shape);
        else if (part.type == kShapeRecord && part.body.size() >= kShapeRecordSize) {
            shape.type = part.instance;
            const uint32_t flags = ByteReader(part.body, 4).u32le();
            shape.flippedAcross = (flags & kFlippedAcrossBit) != 0;
            shape.flippedUp = (flags & kFlippedUpBit) != 0;
        }
        else if (part.type == kClientAnchor && part.body.size() >= kClientAnchorSize && placement == ShapePlacement::Chart) {
            shape.anchor = DrawingAnchor{};
            shape.share = readChartAnchor(part.body);
        } else if (part.type == kClientAnchor && part.body.size() >= kClientAnchorSize)
            shape.anchor = readAnchor(part.body);
        else if (part.type == kChildAnchor && part.body.size() >= kRectangleSize && group && group->anchor && !shape.anchor) {
            shape.anchor = group->anchor;
            shape.share = shareWithin(*group, readRectangle(part.body));
        } else if (part.type == kGroupSpace && part.body.size() >= kRectangleSize)
            groupSpace = readRectangle(part.body);
        else if (part.type == kClientData)
            hasObject = true;
    }
    return shape;
}

void collectShapes(Bytes data, int depth, const GroupFrame* group, ShapePlacement placement, std::vector<Shape>& shapes)
{
    if (depth > kMaximumNesting)
        return;
    GroupFrame inner;
    bool first = true;
    for (const EscherRecord& record : escherRecords(data)) {
        if (record.type != kShapeContainer) {
            if (record.isContainer())
                collectShapes(record.body, depth + 1, first ? group : &inner, placement, shapes);
            continue;
        }
        bool hasObject = false;
        std::optional<Rectangle> space;
        Shape shape = readShape(record, first ? group : &inner, placement, hasObject, space);
        if (first && space) {
            inner = {shape.anchor, shape.share, space->left, space->top, space->right, space->bottom};
            first = false;
        }
        if (hasObject)
            shapes.push_back(shape);
    }
}

HorizontalAlign horizontalAlign(uint16_t options)
{
    switch ((options >> 1) & 0x7) {
    case 2: return HorizontalAlign::Center;
    case 3: return HorizontalAlign::Right;
    case 4: return HorizontalAlign::Justify;
    case 7: return HorizontalAlign::Distributed;
    default: return HorizontalAlign::Left;
    }
}

VerticalAlign verticalAlign(uint16_t options)
{
    switch ((options >> 4) & 0x7) {
    case 2: return VerticalAlign::Center;
    case 3: return VerticalAlign::Bottom;
    case 4: return VerticalAlign::Justify;
    case 7: return VerticalAlign::Distributed;
    default: return VerticalAlign::Top;
    }
}

// A two-byte count of a TXO record; one that the record is too short to hold counts nothing.
size_t countIn(Bytes head, size_t offset)
{
    ByteReader in(head);
    if (!in.has(offset + 2))
        return 0;
    in.skip(offset);
    return in.u16le();
}

size_t textObjectPieces(const Record& record)
{
    const Bytes head = record.pieces.front();
    const size_t length = countIn(head, kTxoTextLengthOffset + 2);
    const size_t runBytes = countIn(head, kTxoTextLengthOffset + 4);
    size_t piece = 1;
    for (size_t characters = 0; characters < length && piece < record.pieces.size(); ++piece) {
        const Bytes text = record.pieces[piece];
        if (!text.empty())
            characters += (text.size() - 1) / ((ByteReader(text).u8() & 0x01) ? 2 : 1);
    }
    for (size_t bytes = 0; bytes < runBytes && piece < record.pieces.size(); ++piece)
        bytes += record.pieces[piece].size();
    return piece;
}

// Some writers go on with the drawing data in CONTINUE records after an OBJ record, or after
// the text and runs of a TXO record, instead of starting a new MSODRAWING record.
size_t ownPieces(const Record& record)
{
    switch (record.type) {
    case record_type::MsoDrawing: return 0;
    case record_type::Obj: return 1;
    default: return textObjectPieces(record);
    }
}

}  // namespace

std::optional<ObjectHeader> readObjectHeader(RecordReader& reader)
{
    if (reader.remaining() < 10 || reader.u16() != kCommonObjectData)
        return std::nullopt;
    reader.skip(2);
    ObjectHeader header;
    header.kind = reader.u16();
    header.id = reader.u16();
    header.printed = (reader.u16() & kPrintedObject) != 0;
    return header;
}

// The text follows in the CONTINUE pieces, each starting with its option byte, and then the
// format runs, the last of which only marks the end of the text.
TextObject readTextObject(RecordReader& reader)
{
    TextObject object;
    object.options = reader.u16();
    reader.skip(kTxoTextLengthOffset);
    const uint16_t length = reader.u16();
    const uint16_t runBytes = reader.u16();
    reader.skipToEndOfPiece();
    if (length == 0)
        return object;
    reader.readCharacters(length, false, object.text);
    const size_t runCount = std::min<size_t>(runBytes, reader.remaining()) / kRunSize;
    for (size_t i = 0; i < runCount; ++i) {
        FormatRun run;
        run.firstChar = reader.u16();
        run.fontIndex = reader.u16();
        reader.skip(4);
        object.runs.push_back(run);
    }
    return object;
}

// A damaged object or text loses only its drawing; the records around it read on.
void DrawingCollector::read(const Record& record)
{
    if (record.type != record_type::MsoDrawing && record.type != record_type::Obj && record.type != record_type::Txo)
        return;
    if (record.pieces.empty())
        return;
    RecordReader reader(record);
    try {
        if (record.type == record_type::Obj) {
            objects_.emplace_back();
            objects_.back().header = readObjectHeader(reader);
        } else if (record.type == record_type::Txo && !objects_.empty() && !objects_.back().text) {
            objects_.back().text = readTextObject(reader);
        }
    } catch (const ReadFailure&) {
        if (warnings_)
            warnings_->add(record.type, record.offset, "a damaged drawing object or its text, which does not print");
    }
    for (size_t piece = ownPieces(record); piece < record.pieces.size(); ++piece)
        drawing_.insert(drawing_.end(), record.pieces[piece].begin(), record.pieces[piece].end());
}

void DrawingCollector::attachChart(uint32_t chart)
{
    if (!objects_.empty() && objects_.back().header && objects_.back().header->kind == kChartObjectKind)
        objects_.back().chart = chart;
}

namespace {

// A shape is filled white and outlined black unless it says otherwise; a line is never filled.
Drawing shapeDrawing(Drawing drawing, ShapeGeometry geometry, const Shape& shape)
{
    drawing.kind = DrawingKind::Shape;
    drawing.geometry = geometry;
    if (geometry != ShapeGeometry::Line && shape.filled.value_or(true))
        drawing.fill = shape.fillColor.value_or(kWhite);
    if (shape.outlined.value_or(true))
        drawing.line = shape.lineColor.value_or(kBlack);
    drawing.flippedAcross = shape.flippedAcross;
    drawing.flippedUp = shape.flippedUp;
    drawing.arrowAtStart = shape.arrowAtStart;
    drawing.arrowAtEnd = shape.arrowAtEnd;
    return drawing;
}

}  // namespace

std::vector<Shape> readShapes(Bytes drawing, ShapePlacement placement)
{
    std::vector<Shape> shapes;
    collectShapes(drawing, 0, nullptr, placement, shapes);
    return shapes;
}



std::vector<Drawing> DrawingCollector::take(const std::vector<uint16_t>& shownComments) const
{
    const std::vector<Shape> shapes = readShapes(drawing_, placement_);
    std::vector<Drawing> drawings;
    for (size_t i = 0; i < std::min(shapes.size(), objects_.size()); ++i)
        if (auto drawing = drawingOf(shapes[i], objects_[i], shownComments))
            drawings.push_back(std::move(*drawing));
    return drawings;
}

std::optional<Drawing> DrawingCollector::drawingOf(const Shape& shape, const Object& object,
                                                   const std::vector<uint16_t>& shownComments) const
{
    if (!shape.anchor || !object.header)
        return std::nullopt;
    // Whether a comment prints is the sheet's choice, not its object's.
    const bool comment = object.header->kind == kCommentObjectKind;
    if (comment ? std::ranges::find(shownComments, object.header->id) == shownComments.end()
                : !object.header->printed || shape.offPaper)
        return std::nullopt;
    Drawing drawing;
    drawing.anchor = *shape.anchor;
    drawing.share = shape.share;
    drawing.lineWidth = shape.lineWidth.value_or(drawing.lineWidth);
    drawing.dashes = dashesOf(shape.lineDashing);
    const std::optional<ShapeGeometry> geometry = geometryOf(shape, object.header->kind);
    if (object.text && !object.text->text.empty()) {
        drawing.kind = DrawingKind::TextBox;
        drawing.text.utf8 = utf16ToUtf8(object.text->text);
        for (FormatRun run : object.text->runs) {
            run.fontIndex = fontIndexFromFile(run.fontIndex, fontCount_);
            drawing.text.runs.push_back(run);
        }
        keepUsableRuns(drawing.text);
        if (!drawing.text.runs.empty() && drawing.text.runs.front().firstChar == 0)
            drawing.fontIndex = drawing.text.runs.front().fontIndex;
        drawing.horizontal = horizontalAlign(object.text->options);
        drawing.vertical = verticalAlign(object.text->options);
        if (geometry && geometry != ShapeGeometry::Line)
            drawing.geometry = *geometry;
        // A text box is filled white and outlined black unless its shape says otherwise; a
        // comment takes the pale yellow of notes on screen, which its shape names as a colour of
        // the system.
        if (shape.filled.value_or(true))
            drawing.fill = shape.fillColor.value_or(comment ? kNoteYellow : kWhite);
        if (shape.outlined.value_or(true))
            drawing.line = shape.lineColor.value_or(kBlack);
        return drawing;
    }
    if (object.chart) {
        drawing.kind = DrawingKind::Chart;
        drawing.chart = object.chart;
        return drawing;
    }
    if (geometry && drawnShape(object.header->kind))
        return shapeDrawing(std::move(drawing), *geometry, shape);
    if (object.header->kind != kPictureObject || shape.picture == 0)
        return std::nullopt;
    drawing.picture = shape.picture - 1;
    if (shape.filled.value_or(false))
        drawing.fill = shape.fillColor.value_or(kWhite);
    if (shape.outlined.value_or(false))
        drawing.line = shape.lineColor.value_or(kBlack);
    return drawing;
}

}  // namespace kx::workbook::detail

// Pictures and text boxes: the picture store, the shapes and objects of a sheet's drawing
// records (also when cut short), where a drawing lands on a page, and real prints.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <span>

#include "print_test_support.h"
#include "workbook/xls/blip_store.h"
#include "workbook/layout/drawing_geometry.h"
#include "workbook/model/byte_reader.h"
#include "workbook/xls/drawing_records.h"
#include "workbook/print/print.h"
#include "workbook/xls/reader.h"
#include "xls_builder.h"

using namespace kx::workbook;
using kx::testing::Body;
using kx::testing::RawRecord;
using kx::testing::record;
using kx::testing::WorkbookBuilder;

namespace support = kx::workbook::testing;

namespace {

using Data = std::vector<uint8_t>;

Data escher(uint16_t type, uint16_t instance, const Data& body, uint8_t version = 0)
{
    return Body()
        .u16(static_cast<uint16_t>(instance << 4 | version))
        .u16(type)
        .u32(static_cast<uint32_t>(body.size()))
        .bytes(body)
        .data();
}

Data container(uint16_t type, std::initializer_list<Data> children)
{
    Data body;
    for (const Data& child : children)
        body.insert(body.end(), child.begin(), child.end());
    return escher(type, 0, body, 0xF);
}

// A store entry holding a bitmap: fixed part with no name, then the picture record with its
// identifier(s) and tag byte in front of the image bytes.
Data storeEntry(uint16_t blipType, uint16_t instance, const Data& image, size_t identifiers = 1)
{
    Data blipBody(16 * identifiers + 1, 0xAB);
    blipBody.insert(blipBody.end(), image.begin(), image.end());
    Data fixed(36, 0);
    const Data blip = escher(blipType, instance, blipBody);
    fixed.insert(fixed.end(), blip.begin(), blip.end());
    return escher(0xF007, 0, fixed, 2);
}

Data pictureStore(std::initializer_list<Data> entries)
{
    Data store;
    for (const Data& entry : entries)
        store.insert(store.end(), entry.begin(), entry.end());
    return container(0xF000, {escher(0xF006, 0, Data(16, 0)), escher(0xF001, 0, store, 0xF)});
}

Data anchor(uint16_t c1, uint16_t dx1, uint16_t r1, uint16_t dy1, uint16_t c2, uint16_t dx2, uint16_t r2, uint16_t dy2)
{
    return escher(0xF010, 0, Body().u16(0).u16(c1).u16(dx1).u16(r1).u16(dy1).u16(c2).u16(dx2).u16(r2).u16(dy2).data());
}

Data properties(const std::vector<std::pair<uint16_t, uint32_t>>& values)
{
    Body body;
    for (const auto& [id, value] : values)
        body.u16(id).u32(value);
    return escher(0xF00B, static_cast<uint16_t>(values.size()), body.data(), 3);
}

Data shapeRecord(uint16_t kind, uint32_t flags = 0)
{
    return escher(0xF00A, kind, Body().u32(1025).u32(flags).data(), 2);
}

const Data clientData = escher(0xF011, 0, {});
const Data clientTextbox = escher(0xF00D, 0, {});

RawRecord objRecord(uint16_t kind, uint16_t id, bool printed = true)
{
    return record(0x005D, Body().u16(0x15).u16(0x12).u16(kind).u16(id).u16(printed ? 0x0011 : 0x0001)
                              .bytes(Data(12, 0)).u16(0).u16(0));
}

RawRecord txoRecord(uint16_t options, uint16_t length)
{
    return record(0x01B6, Body().u16(options).u16(0).u32(0).u16(0).u16(length).u16(16).u32(0));
}

RawRecord continueRecord(const Data& body)
{
    return {0x003C, body};
}

RawRecord drawingRecord(const Data& body)
{
    return {0x00EC, body};
}

Data slice(const Data& data, size_t from, size_t to)
{
    return Data(data.begin() + static_cast<std::ptrdiff_t>(from), data.begin() + static_cast<std::ptrdiff_t>(to));
}

// A sheet's drawing as a spreadsheet program writes it: a picture, a text box, a second
// picture, a comment and a picture that is not printed, each shape's data up to its client data
// in the record before its object. The second picture's shape arrives in a CONTINUE record after
// the text box's TXO, as some writers put it.
struct SheetDrawing {
    explicit SheetDrawing(bool commentShown = false)
    {
        const Data patriarch = container(0xF004, {escher(0xF009, 0, Data(16, 0), 1), shapeRecord(0)});
        const Data picture = container(0xF004, {shapeRecord(75), properties({{0x4104, 1}}),
                                                anchor(1, 512, 2, 128, 4, 0, 9, 0), clientData});
        const Data textBox = container(0xF004, {shapeRecord(202), anchor(5, 0, 1, 0, 7, 1023, 3, 255), clientData,
                                                clientTextbox});
        const Data secondPicture = container(0xF004, {shapeRecord(75), properties({{0x4104, 1}}),
                                                      anchor(8, 0, 12, 0, 9, 0, 14, 0), clientData});
        const Data comment = container(0xF004, {shapeRecord(202), anchor(0, 0, 0, 0, 2, 0, 4, 0), clientData,
                                                clientTextbox});
        const Data hidden = container(0xF004, {shapeRecord(75), properties({{0x4104, 2}}),
                                               anchor(0, 0, 20, 0, 3, 0, 30, 0), clientData});
        bytes = container(0xF002, {escher(0xF008, 1, Data(8, 0)),
                                   container(0xF003, {patriarch, picture, textBox, secondPicture, comment, hidden})});
        // The container headers of the group and of the drawing come before the first shape.
        size_t at = bytes.size() - patriarch.size() - picture.size() - textBox.size() - secondPicture.size() -
                    comment.size() - hidden.size();
        at += patriarch.size() + picture.size();
        pictureRecords = {drawingRecord(slice(bytes, 0, at)), objRecord(8, 1)};
        const size_t textBoxData = at + textBox.size() - clientTextbox.size();
        at += textBox.size();
        textBoxRecords = {drawingRecord(slice(bytes, textBoxData - textBox.size() + clientTextbox.size(), textBoxData)),
                          objRecord(6, 2), drawingRecord(slice(bytes, textBoxData, at)),
                          txoRecord(0x0024, 9),
                          continueRecord(Body().characters(u"Hello box").data()),
                          continueRecord(Body().u16(0).u16(0).u32(0).u16(9).u16(0).u32(0).data()),
                          continueRecord(slice(bytes, at, at + secondPicture.size())),
                          objRecord(8, 5)};
        at += secondPicture.size();
        const size_t commentData = at + comment.size() - clientTextbox.size();
        commentRecords = {drawingRecord(slice(bytes, at, commentData)), objRecord(0x19, 3),
                          drawingRecord(slice(bytes, commentData, at + comment.size())),
                          txoRecord(0, 4), continueRecord(Body().characters(u"Note").data()),
                          continueRecord(Body().u16(0).u16(0).u32(0).u16(4).u16(0).u32(0).data())};
        at += comment.size();
        hiddenRecords = {drawingRecord(slice(bytes, at, bytes.size())), objRecord(8, 4, false),
                         record(0x001C, Body().u16(4).u16(2).u16(commentShown ? 0x0002 : 0).u16(3).string16(u"Ann").u8(0))};
    }

    std::vector<RawRecord> records() const
    {
        std::vector<RawRecord> all;
        for (const auto* part : {&pictureRecords, &textBoxRecords, &commentRecords, &hiddenRecords})
            all.insert(all.end(), part->begin(), part->end());
        return all;
    }

    Data bytes;
    std::vector<RawRecord> pictureRecords, textBoxRecords, commentRecords, hiddenRecords;
};

Workbook loadWithDrawing(const std::vector<RawRecord>& sheetRecords, const Data& store)
{
    return loadWorkbook(
        WorkbookBuilder().global(0x00EB, Body().bytes(store)).sheet({.name = "S", .records = sheetRecords}).file());
}

const Data pngBytes{0x89, 'P', 'N', 'G', 1, 2, 3};
const Data jpegBytes{0xFF, 0xD8, 0xFF, 0xE0, 9};

}  // namespace

TEST(PictureStore, KeepsBitmapsInOrderAndHoldsThePlaceOfOthers)
{
    const Data store = pictureStore({
        storeEntry(0xF01E, 0x6E0, pngBytes),
        storeEntry(0xF01D, 0x46B, jpegBytes, 2),      // odd instance: two identifiers
        storeEntry(0xF01A, 0x3D4, Data(40, 1)),       // a metafile
        escher(0xF007, 0, Data(20, 0), 2),            // an entry shorter than its fixed part
        storeEntry(0xF01F, 0x7A8, Data{1, 2, 3, 4}),
    });
    const std::vector<Picture> pictures = detail::readPictureStore(asBytes(store));
    ASSERT_EQ(pictures.size(), 5u);
    EXPECT_EQ(pictures[0].format, PictureFormat::Png);
    EXPECT_EQ(pictures[0].data, pngBytes);
    EXPECT_EQ(pictures[1].format, PictureFormat::Jpeg);
    EXPECT_EQ(pictures[1].data, jpegBytes);
    EXPECT_EQ(pictures[2].format, PictureFormat::Unsupported);
    EXPECT_EQ(pictures[3].format, PictureFormat::Unsupported);
    EXPECT_EQ(pictures[4].format, PictureFormat::Dib);

    // Cut anywhere, the store yields at most its entries and never reads past the end.
    for (size_t cut = 0; cut < store.size(); ++cut)
        EXPECT_LE(detail::readPictureStore(asBytes(slice(store, 0, cut))).size(), 5u) << cut;
}

TEST(SheetDrawings, PictureAndTextBoxReadBesideComments)
{
    const SheetDrawing drawing;
    const Workbook book = loadWithDrawing(drawing.records(), pictureStore({storeEntry(0xF01E, 0x6E0, pngBytes)}));
    ASSERT_EQ(book.pictures.size(), 1u);
    const Sheet& sheet = book.sheets.at(0);
    ASSERT_EQ(sheet.drawings.size(), 3u);  // the comment and the unprinted picture are no drawings

    const Drawing& picture = sheet.drawings[0];
    EXPECT_EQ(picture.kind, DrawingKind::Picture);
    EXPECT_EQ(picture.picture, 0u);
    EXPECT_EQ(picture.anchor, (DrawingAnchor{.firstColumn = 1, .lastColumn = 4, .firstRow = 2, .lastRow = 9,
                                             .firstColumnOffset = 512, .lastColumnOffset = 0,
                                             .firstRowOffset = 128, .lastRowOffset = 0}));
    EXPECT_FALSE(picture.fill);
    EXPECT_FALSE(picture.line);

    const Drawing& box = sheet.drawings[1];
    EXPECT_EQ(box.kind, DrawingKind::TextBox);
    EXPECT_EQ(box.text.utf8, "Hello box");
    EXPECT_EQ(box.horizontal, HorizontalAlign::Center);
    EXPECT_EQ(box.vertical, VerticalAlign::Center);
    EXPECT_EQ(box.fill, (Color{255, 255, 255}));
    EXPECT_EQ(box.line, (Color{0, 0, 0}));

    EXPECT_EQ(sheet.drawings[2].kind, DrawingKind::Picture);
    EXPECT_EQ(sheet.drawings[2].anchor.firstColumn, 8);

    ASSERT_EQ(sheet.comments.size(), 1u);
    EXPECT_EQ(sheet.comments[0].text, "Note");
    EXPECT_EQ(sheet.comments[0].author, "Ann");
}

TEST(SheetDrawings, ShownCommentsPrintWhereTheyShowOnlyWhenTheSheetPrintsThemAsDisplayed)
{
    constexpr int printerValuesUnset = 0x0004, printComments = 0x0020, atEnd = 0x0200;
    for (bool shown : {false, true}) {
        for (int printing : {0, printComments, printComments | atEnd}) {
            std::vector<RawRecord> records{
                record(0x00A1, Body().u16(9).u16(100).u16(1).u16(1).u16(1).u16(static_cast<uint16_t>(printerValuesUnset | printing)))};
            const SheetDrawing drawing(shown);
            for (const RawRecord& part : drawing.records())
                records.push_back(part);
            const Workbook book = loadWithDrawing(records, pictureStore({storeEntry(0xF01E, 0x6E0, pngBytes)}));
            const Sheet& sheet = book.sheets.at(0);
            ASSERT_EQ(sheet.comments.size(), 1u);
            const bool inPlace = shown && printing == printComments;
            ASSERT_EQ(sheet.drawings.size(), inPlace ? 4u : 3u) << "shown " << shown << " printing " << printing;
            if (!inPlace)
                continue;
            const Drawing& note = sheet.drawings[3];
            EXPECT_EQ(note.kind, DrawingKind::TextBox);
            EXPECT_EQ(note.text.utf8, "Note");
            EXPECT_EQ(note.anchor, (DrawingAnchor{.firstColumn = 0, .lastColumn = 2, .firstRow = 0, .lastRow = 4}));
            EXPECT_EQ(note.fill, (Color{255, 255, 225}));
            EXPECT_EQ(note.line, (Color{0, 0, 0}));
        }
    }
}

TEST(SheetDrawings, ShapePropertiesAndObjectsPairInOrder)
{
    const Data shapes = container(0xF003, {
        container(0xF004, {shapeRecord(202), properties({{0x01BF, 0x00100000}, {0x01C0, 0x000000FF}}),
                           anchor(0, 0, 0, 0, 1, 0, 1, 0), clientData}),
        container(0xF003, {
            container(0xF004, {escher(0xF009, 0, Body().u32(100).u32(0).u32(300).u32(200).data(), 1),
                               anchor(2, 0, 2, 0, 6, 0, 8, 0), clientData}),
            container(0xF004, {shapeRecord(1), escher(0xF00F, 0, Body().u32(150).u32(50).u32(250).u32(200).data()),
                               clientData}),
        }),
        container(0xF004, {shapeRecord(75), properties({{0x4104, 3}, {0x01FF, 0x00080008}, {0x01C0, 0x08000002}}),
                           anchor(300, 0, 5, 0, 2, 0, 4, 0), clientData}),
    });
    const std::vector<detail::Shape> read = detail::readShapes(asBytes(shapes));
    ASSERT_EQ(read.size(), 4u);
    EXPECT_EQ(read[0].filled, false);  // the use bit is set, the fill bit is not
    EXPECT_EQ(read[0].lineColor, (Color{255, 0, 0}));
    // A shape in a group takes its part of the group's anchor, measured in the group's coordinates.
    EXPECT_EQ(read[1].share, DrawingShare{});
    ASSERT_TRUE(read[2].anchor);
    EXPECT_EQ(*read[2].anchor, *read[1].anchor);
    EXPECT_EQ(read[2].share, (DrawingShare{0.25, 0.25, 0.75, 1.0}));
    EXPECT_EQ(read[3].picture, 3u);
    EXPECT_EQ(read[3].outlined, true);
    EXPECT_FALSE(read[3].lineColor);  // a palette colour: the default stands in
    // A column past the last one and corners the wrong way round collapse onto the first cell.
    EXPECT_EQ(read[3].anchor->firstColumn, 255);
    EXPECT_EQ(read[3].anchor->lastColumn, 255);
    EXPECT_EQ(read[3].anchor->lastRow, 5u);
}

TEST(SheetDrawings, ShapesPrintTheirOutlineFillAndLine)
{
    struct Case {
        uint16_t shapeType, objectKind;
        std::vector<std::pair<uint16_t, uint32_t>> properties;
        uint32_t flags;
        std::optional<ShapeGeometry> geometry;  // nothing: not drawn
        std::optional<Color> fill, line;
        double lineWidth = 0.75;
    };
    const Color white{255, 255, 255}, black{0, 0, 0};
    const std::vector<Case> cases{
        // A dotted line two points wide with an arrow at its end, drawn from top right to bottom left.
        {20, 1, {{0x01CB, 25400}, {0x01D1, 1}, {0x01CE, 2}}, 0x40, ShapeGeometry::Line, std::nullopt, black, 2},
        {3, 30, {{0x0181, 0x0000FF}}, 0, ShapeGeometry::Ellipse, Color{255, 0, 0}, black},
        {1, 2, {{0x01BF, 0x00100000}, {0x01C0, 0xFF0000}}, 0, ShapeGeometry::Rectangle, std::nullopt, Color{0, 0, 255}},
        {5, 30, {}, 0x80, ShapeGeometry::Triangle, white, black},
        {0, 3, {}, 0, ShapeGeometry::Ellipse, white, black},  // no shape type: the object's kind tells
        {12, 30, {}, 0, std::nullopt},                          // a star: not drawn
        {1, 0, {}, 0, std::nullopt},                            // a group's own shape
    };
    for (const Case& shape : cases) {
        const Data drawing = container(0xF002, {container(0xF003, {container(0xF004, {
            shapeRecord(shape.shapeType, shape.flags), properties(shape.properties), anchor(1, 0, 1, 0, 3, 0, 4, 0),
            clientData})})});
        const Workbook book = loadWithDrawing({drawingRecord(drawing), objRecord(shape.objectKind, 1)}, Data{});
        const std::vector<Drawing>& drawings = book.sheets.at(0).drawings;
        SCOPED_TRACE(shape.shapeType);
        ASSERT_EQ(drawings.size(), shape.geometry ? 1u : 0u);
        if (!shape.geometry)
            continue;
        EXPECT_EQ(drawings[0].kind, DrawingKind::Shape);
        EXPECT_EQ(drawings[0].geometry, *shape.geometry);
        EXPECT_EQ(drawings[0].fill, shape.fill);
        EXPECT_EQ(drawings[0].line, shape.line);
        EXPECT_EQ(drawings[0].lineWidth, shape.lineWidth);
        EXPECT_EQ(drawings[0].flippedAcross, (shape.flags & 0x40) != 0);
        EXPECT_EQ(drawings[0].flippedUp, (shape.flags & 0x80) != 0);
        EXPECT_EQ(drawings[0].arrowAtEnd, shape.shapeType == 20);
        const std::vector<double> dots{1, 1};
        EXPECT_EQ(drawings[0].dashes, shape.shapeType == 20 ? dots : std::vector<double>());
    }
}

TEST(SheetDrawings, ShapesMarkedHiddenOrNotToPrintStayOffPaper)
{
    // Flags count only with their use bits: a writer that marks none leaves the shape printed.
    const std::vector<std::pair<uint32_t, bool>> cases{
        {0x00010000, true}, {0x00020002, true}, {0x00000000, false}, {0x00010001, false}, {0x00000002, false}};
    for (const auto& [flags, offPaper] : cases) {
        const Data shape = container(0xF004, {shapeRecord(75), properties({{0x4104, 1}, {0x03BF, flags}}),
                                              anchor(0, 0, 0, 0, 1, 0, 1, 0), clientData});
        const std::vector<detail::Shape> read = detail::readShapes(asBytes(container(0xF003, {shape})));
        ASSERT_EQ(read.size(), 1u);
        EXPECT_EQ(read[0].offPaper, offPaper) << std::hex << flags;
    }
}

TEST(SheetDrawings, CutShortDrawingRecordsNeverFailTheLoadAndAreWarnedOf)
{
    const SheetDrawing drawing;
    const Data store = pictureStore({storeEntry(0xF01E, 0x6E0, pngBytes)});
    for (size_t cut = 0; cut < drawing.bytes.size(); cut += 3) {
        EXPECT_LE(detail::readShapes(asBytes(slice(drawing.bytes, 0, cut))).size(), 5u);
        std::vector<RawRecord> records = drawing.records();
        records[0].body.resize(std::min(records[0].body.size(), cut));
        EXPECT_NO_THROW(loadWithDrawing(records, store)) << "cut at " << cut;
    }
    // A text longer than its record, an object cut inside its first sub-record, and a TXO with
    // no object before it.
    std::vector<RawRecord> records = drawing.pictureRecords;
    records.push_back(drawingRecord(drawing.textBoxRecords[0].body));
    records.push_back({0x005D, {0x15, 0x00, 0x12}});
    records.push_back(txoRecord(0, 500));
    records.push_back(continueRecord(Body().characters(u"short").data()));
    const Workbook book = loadWithDrawing(records, store);
    EXPECT_EQ(book.sheets.at(0).drawings.size(), 1u);
    EXPECT_TRUE(book.warnings.empty());  // short texts and objects are read as far as they go
    const Workbook cutText = loadWithDrawing({{0x005D, {0x15, 0x00, 0x12}}, {0x01B6, {0x12, 0x02}}}, store);
    ASSERT_EQ(cutText.warnings.kept().size(), 1u);
    EXPECT_EQ(cutText.warnings.kept()[0].recordType, 0x01B6);
    EXPECT_NO_THROW(loadWithDrawing({txoRecord(0, 3), continueRecord(Body().characters(u"abc").data())}, store));
}

class DrawingGeometry : public ::testing::Test {
protected:
    static Sheet unevenSheet()
    {
        Sheet sheet;
        for (uint32_t row = 0; row < 50; ++row)
            sheet.rows.push_back(Row{.index = row, .heightTwips = static_cast<uint16_t>(200 + 20 * (row % 5)),
                                     .hidden = row == 11, .customHeight = true});
        sheet.columns.push_back(ColumnInfo{.firstColumn = 0, .lastColumn = 3, .width = 3000});
        sheet.columns.push_back(ColumnInfo{.firstColumn = 4, .lastColumn = 4, .width = 5000});
        sheet.columns.push_back(ColumnInfo{.firstColumn = 5, .lastColumn = 20, .width = 2000});
        sheet.pageSetup.titleRows = {{0, 1}};
        return sheet;
    }
    double rows(uint32_t first, uint32_t end) const
    {
        double sum = 0;
        for (uint32_t row = first; row < end; ++row)
            sum += metrics.rowHeight(row);
        return sum;
    }
    double columns(uint16_t first, uint16_t end) const
    {
        double sum = 0;
        for (uint16_t column = first; column < end; ++column)
            sum += metrics.columnWidth(column);
        return sum;
    }

    Sheet sheet = unevenSheet();
    SheetMetrics metrics{sheet, 7};
};

TEST_F(DrawingGeometry, AnchorOffsetsAreSharesOfTheirCellsFromThePagesOwnBand)
{
    SheetPage page{.rows = {10, 40, true}, .columns = {2, 8, false}};
    const PageGrid grid = pageGrid(sheet, metrics, page);
    const double titles = rows(0, 2);
    ASSERT_GT(titles, 0);

    const DrawingAnchor inside{.firstColumn = 3, .lastColumn = 5, .firstRow = 12, .lastRow = 14,
                               .firstColumnOffset = 512, .lastColumnOffset = 0,
                               .firstRowOffset = 64, .lastRowOffset = 256};
    const Box box = drawingBox(inside, metrics, page, grid);
    EXPECT_NEAR(box.x, columns(2, 3) + metrics.columnWidth(3) / 2, 1e-9);
    EXPECT_NEAR(box.y, titles + rows(10, 12) + metrics.rowHeight(12) / 4, 1e-9);  // row 11 is hidden
    EXPECT_NEAR(box.x + box.width, columns(2, 5), 1e-9);
    EXPECT_NEAR(box.y + box.height, titles + rows(10, 15), 1e-9);

    // Starting on an earlier page it reaches in from above and the left; offsets past the cell
    // stop at its far edge.
    const DrawingAnchor across{.firstColumn = 0, .lastColumn = 2, .firstRow = 5, .lastRow = 10,
                               .firstColumnOffset = 2000, .lastColumnOffset = 4096};
    const Box reaching = drawingBox(across, metrics, page, grid);
    EXPECT_NEAR(reaching.x, -columns(1, 2), 1e-9);
    EXPECT_NEAR(reaching.y, titles - rows(5, 10), 1e-9);
    EXPECT_NEAR(reaching.x + reaching.width, metrics.columnWidth(2), 1e-9);
    EXPECT_NEAR(reaching.y + reaching.height, titles, 1e-9);
}

TEST_F(DrawingGeometry, CoveredCellsStopBeforeACornerOnACellsEdge)
{
    sheet.drawings.push_back({.anchor = {.firstColumn = 2, .lastColumn = 4, .firstRow = 3, .lastRow = 6}});
    sheet.drawings.push_back({.anchor = {.firstColumn = 7, .lastColumn = 7, .firstRow = 9, .lastRow = 9}});
    sheet.drawings.push_back({.anchor = {.firstColumn = 0, .lastColumn = 255, .firstRow = 0, .lastRow = 60000,
                                         .lastColumnOffset = 5, .lastRowOffset = 5}});
    // Row 6 and column 4 are only touched at their edge.
    EXPECT_EQ(drawingAreas(sheet), (std::vector<CellRange>{{3, 5, 2, 3}, {9, 9, 7, 7}, {0, 60000, 0, 255}}));
}

class DrawingPrints : public ::testing::Test {
protected:
    static std::filesystem::path corpus() { return support::corpusFolder(); }
    void SetUp() override
    {
        if (!std::filesystem::is_directory(corpus()))
            GTEST_SKIP() << "no corpus at " << corpus() << " (set KX_CORPUS_DIR)";
    }
    std::filesystem::path print(const std::string& name)
    {
        return support::printToPdf(openWorkbook((corpus() / name).string()), scratch);
    }
    support::ScratchFolder scratch;
};

TEST_F(DrawingPrints, ASheetOfOnlyPicturesPrintsThem)
{
    const auto pdf = print("poi-SimpleWithImages.xls");
    // A JPEG and a PNG as images, the two metafiles as vectors. At printed column widths the PNG
    // crosses the first page's right edge, so its rest prints on a second page.
    EXPECT_EQ(support::pdfPageCount(pdf), 2);
    EXPECT_EQ(support::pdfImageCount(pdf), 3);
    // The JPEG goes into the print as it is stored, not as decoded pixels.
    std::ifstream postScript(scratch.path("print.ps"), std::ios::binary);
    const std::string program{std::istreambuf_iterator<char>(postScript), std::istreambuf_iterator<char>()};
    EXPECT_NE(program.find("/DCTDecode filter"), std::string::npos);
}

TEST_F(DrawingPrints, ASheetOfOnlyALineInAGroupPrintsIt)
{
    const auto pdf = print("wide/poi-SolverContainerAfterSPGR.xls");
    EXPECT_EQ(support::pdfPageCount(pdf), 1);
}

TEST_F(DrawingPrints, TextBoxesPrintAsSearchableText)
{
    const auto pdf = print("poi-angelo-edu-nsse-2011.xls");
    const std::string text = support::pdfText(pdf);
    for (const char* phrase : {"Key Terms and Features in this Report", "Benchmark Score", "Confidence",
                               "weighted average"})
        EXPECT_NE(text.find(phrase), std::string::npos) << phrase;
}

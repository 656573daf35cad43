#pragma once
// Record type numbers of the BIFF8 workbook stream that the reader acts on.
#include <cstdint>

namespace kx::workbook::detail::record_type {

// Structure
inline constexpr uint16_t Bof = 0x0809;
inline constexpr uint16_t Eof = 0x000A;
inline constexpr uint16_t Continue = 0x003C;

// Workbook globals
inline constexpr uint16_t FilePass = 0x002F;
inline constexpr uint16_t CodePage = 0x0042;
inline constexpr uint16_t DateMode = 0x0022;
inline constexpr uint16_t Font = 0x0031;
inline constexpr uint16_t Format = 0x041E;
inline constexpr uint16_t Xf = 0x00E0;
inline constexpr uint16_t Palette = 0x0092;
inline constexpr uint16_t BoundSheet = 0x0085;
inline constexpr uint16_t Sst = 0x00FC;
inline constexpr uint16_t SupBook = 0x01AE;
inline constexpr uint16_t ExternSheet = 0x0017;
inline constexpr uint16_t Name = 0x0018;

// Cells
inline constexpr uint16_t Number = 0x0203;
inline constexpr uint16_t Rk = 0x027E;
inline constexpr uint16_t MulRk = 0x00BD;
inline constexpr uint16_t LabelSst = 0x00FD;
inline constexpr uint16_t Label = 0x0204;
inline constexpr uint16_t RString = 0x00D6;
inline constexpr uint16_t BoolErr = 0x0205;
inline constexpr uint16_t Blank = 0x0201;
inline constexpr uint16_t MulBlank = 0x00BE;
inline constexpr uint16_t Formula = 0x0006;
// Excel 4.0's number for FORMULA, which some writers still give records of the later layout.
inline constexpr uint16_t FormulaOfExcel4 = 0x0406;
inline constexpr uint16_t String = 0x0207;

// Sheet layout
inline constexpr uint16_t Row = 0x0208;
inline constexpr uint16_t DefaultRowHeight = 0x0225;
inline constexpr uint16_t ColInfo = 0x007D;
inline constexpr uint16_t DefColWidth = 0x0055;
inline constexpr uint16_t StandardWidth = 0x0099;
inline constexpr uint16_t MergedCells = 0x00E5;
inline constexpr uint16_t ConditionalHeader = 0x01B0;
inline constexpr uint16_t ConditionalRule = 0x01B1;
inline constexpr uint16_t ConditionalHeader12 = 0x0879;
inline constexpr uint16_t ConditionalRule12 = 0x087A;
inline constexpr uint16_t ConditionalExtension = 0x087B;
inline constexpr uint16_t Hyperlink = 0x01B8;
inline constexpr uint16_t Window2 = 0x023E;

// Page set-up
inline constexpr uint16_t Setup = 0x00A1;
inline constexpr uint16_t LeftMargin = 0x0026;
inline constexpr uint16_t RightMargin = 0x0027;
inline constexpr uint16_t TopMargin = 0x0028;
inline constexpr uint16_t BottomMargin = 0x0029;
inline constexpr uint16_t HCenter = 0x0083;
inline constexpr uint16_t VCenter = 0x0084;
inline constexpr uint16_t PrintGridlines = 0x002B;
inline constexpr uint16_t PrintHeaders = 0x002A;
inline constexpr uint16_t WsBool = 0x0081;
inline constexpr uint16_t Header = 0x0014;
inline constexpr uint16_t Footer = 0x0015;
inline constexpr uint16_t HorizontalPageBreaks = 0x001B;
inline constexpr uint16_t VerticalPageBreaks = 0x001A;

// Comments
inline constexpr uint16_t Note = 0x001C;
inline constexpr uint16_t Obj = 0x005D;
inline constexpr uint16_t Txo = 0x01B6;

// Drawings
inline constexpr uint16_t MsoDrawingGroup = 0x00EB;
inline constexpr uint16_t MsoDrawing = 0x00EC;

}  // namespace kx::workbook::detail::record_type

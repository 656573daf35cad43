#pragma once
// How the print options become page set-up values and PrintOut arguments.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/automation.h"
#include "conversion/conversion_options.h"

namespace kx::conversion::automation {

// The printer every conversion prints through.
inline constexpr const char* kConversionPrinter = "Korvendal";

inline constexpr std::int32_t kCommentsInPlace = 16;
inline constexpr std::int32_t kPortrait = 1;
inline constexpr std::int32_t kLandscape = 2;

// The paper-size code for a paper name compared exactly; nothing for a name not offered.
std::optional<std::int32_t> paperSizeCode(std::string_view paperName);
// The zoom as a 16-bit whole number, halves rounded to the even neighbour.
// Throws Failure kOverflow when it does not fit in 16 bits.
std::int16_t zoomValue(double percent);
std::int32_t orientationCode(bool landscape);

// A page number given as text, trimmed and rounded as the application reads it.
// Throws Failure kTypeMismatch for a text that is no number, kMethodFailed below page 1.
int pageNumberFromText(const std::string& text);

// Puts the page set-up properties on `worksheet` in their fixed order, reading each option
// from `options` just before the property that uses it.
void applyPageSetup(Worksheet& worksheet, const ConversionOptions& options);

// The page set-up of a conversion: on `worksheet`, or on every worksheet of `workbook` when the
// options ask for it; then only the sheets the options name stay visible.
void setUpWorkbook(Workbook& workbook, Worksheet& worksheet, const ConversionOptions& options);

// Leaves visible exactly the sheets named in `wanted`, each by its name or else by its 1-based
// position among all sheets; nothing changes when `wanted` is empty.
// Throws Failure kSubscriptOutOfRange naming an entry that matches no sheet.
void showOnlySheets(Workbook& workbook, const std::vector<std::string>& wanted);

// The PrintOut arguments of a conversion printing to `printFile`; the range texts go as they stand.
PrintOutArguments conversionPrintOut(const ConversionOptions& options, const std::string& printFile);

}  // namespace kx::conversion::automation

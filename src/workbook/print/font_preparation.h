#pragma once
// The system's font configuration, read in the background before the first print needs it.

namespace kx::workbook {

// Shared: something else in the program (a window toolkit) may use the font configuration too,
// and the configuration loads as fontconfig itself loads it. Alone: prints are the program's only
// users of fonts, and the configuration loads without the files fontconfig reads only to list
// them. It must then start before anything else in the program touches fontconfig.
enum class FontLoading { Shared, Alone };
// Starts reading the system's font configuration in the background, so that it overlaps what
// the caller does before its first print (opening the workbook). Printing without it does the
// same reading at its first text.
void prepareFonts(FontLoading loading);

// Returns once the loading that prepareFonts started has ended, or at once when none was started.
// Text must not be measured before: fontconfig would load the configuration a second time.
void waitForPreparedFonts();

}  // namespace kx::workbook

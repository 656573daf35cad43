#pragma once
// The font configuration that prepareFonts (print.h) loads in the background.

namespace kx::workbook {

// Returns once the loading that prepareFonts started has ended, or at once when none was started.
// Text must not be measured before: fontconfig would load the configuration a second time.
void waitForPreparedFonts();

}  // namespace kx::workbook

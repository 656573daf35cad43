#include "workbook/font_features.h"

#include <fontconfig/fontconfig.h>

#include <mutex>

namespace kx::workbook {
namespace {

// Appended to every pattern fontconfig matches; pango shapes with a font's "fontfeatures".
constexpr const char* kNoLigatures = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <match target="pattern">
    <edit name="fontfeatures" mode="append">
      <string>liga=0</string>
      <string>clig=0</string>
    </edit>
  </match>
</fontconfig>
)";

}  // namespace

void useOneGlyphPerCharacter()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // Without a configuration fontconfig matches nothing, so the rule is only added to a loaded one.
        if (FcConfig* config = FcConfigGetCurrent())
            FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kNoLigatures), FcFalse);
    });
}

}  // namespace kx::workbook

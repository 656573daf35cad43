#include "workbook/print/font_preparation.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <future>
#include <mutex>
#include <system_error>

namespace kx::workbook {
namespace {

std::future<void>& fontLoading()
{
    // Waited for at the latest when the program ends, which must not happen while it loads.
    static std::future<void> loading;
    return loading;
}

bool namesCacheFolders(FcConfig* config)
{
    FcStrList* folders = FcConfigGetCacheDirs(config);
    const bool any = folders && FcStrListNext(folders);
    if (folders)
        FcStrListDone(folders);
    return any;
}

// The system's configuration as fontconfig's own start-up loads it, without also reading every
// configuration file it ships but leaves unused. Whatever this cannot load, such as a
// configuration naming no cache folder, fontconfig's start-up then loads its own way.
void loadFontConfiguration()
{
    if (FcConfig* config = FcConfigCreate()) {
        if (FcConfigParseAndLoad(config, nullptr, FcTrue) && namesCacheFolders(config) && FcConfigBuildFonts(config))
            FcConfigSetCurrent(config);
        FcConfigDestroy(config);
    }
    FcInit();
}

}  // namespace

void prepareFonts(FontLoading loading)
{
    if (loading == FontLoading::Shared) {
        // Making the thread's default font map starts fontconfig's own loading on a thread of
        // its own, or finds the configuration the window toolkit loaded.
        pango_cairo_font_map_get_default();
        return;
    }
    static std::once_flag started;
    std::call_once(started, [] {
        try {
            fontLoading() = std::async(std::launch::async, loadFontConfiguration);
        } catch (const std::system_error&) {
            // No thread to spare: the first text loads the configuration, as without preparing.
        }
    });
}

void waitForPreparedFonts()
{
    if (fontLoading().valid())
        fontLoading().wait();
}

}  // namespace kx::workbook

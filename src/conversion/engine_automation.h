#pragma once
// The automation interface over the project's own workbook engine: opening reads the workbook
// into memory, page set-up puts change that sheet's set-up, and PrintOut prints PostScript
// through one of the printers installed in the machine store.
#include <functional>
#include <memory>
#include <string>

#include "conversion/automation.h"

namespace kx::conversion {

class EngineApplicationFactory final : public automation::ApplicationFactory {
public:
    // Who else in the program uses the system's font configuration.
    enum class Fonts { SharedWithWindows, EngineOnly };
    // Starts loading the engine's fonts in the background, so that they are ready by the first
    // print on this thread; make the factory early and on the thread that converts. A program
    // whose only fonts are the engine's lets it load the configuration its own quicker way.
    explicit EngineApplicationFactory(Fonts fonts = Fonts::SharedWithWindows);
    std::unique_ptr<automation::Application> createApplication() override;

    // Returns once the background loading of the fonts has ended; afterwards this process runs
    // no thread but its own, so it may fork.
    void waitForFonts() const;

    // Called with a line for each warning of every workbook opened or printed ("PATH: record
    // 0x0208 at offset 1234: what was left out"); by default warnings go unsaid.
    using WarningListener = std::function<void(const std::string& line)>;
    void reportLoadWarningsTo(WarningListener listener) { warningListener_ = std::move(listener); }

private:
    WarningListener warningListener_;
};

}  // namespace kx::conversion

#pragma once
// The automation interface over the project's own workbook engine: opening reads the workbook
// into memory, page set-up puts change that sheet's set-up, and PrintOut prints PostScript
// through one of the printers installed in the machine store.
#include <memory>
#include <string>

#include "conversion/automation.h"

namespace kx::conversion {

class EngineApplicationFactory final : public automation::ApplicationFactory {
public:
    // Starts loading the engine's fonts in the background, so that they are ready by the first
    // print on this thread; make the factory early and on the thread that converts.
    EngineApplicationFactory();
    std::unique_ptr<automation::Application> createApplication() override;
};

}  // namespace kx::conversion

#pragma once
// The main window as the conversion driver sees it: its option controls, read at the moment
// the driver asks, and its job list, repainted after every status change.
#include "conversion/conversion_options.h"
#include "conversion/driver.h"
#include "mainwindow/job_list.h"
#include "mainwindow/main_window.h"

class QTreeWidget;

namespace kx::mainwindow {

class WindowConversionOptions final : public conversion::ConversionOptions {
public:
    explicit WindowConversionOptions(const MainWindowControls& controls) : controls_(controls) {}

    std::string paperSizeText() const override;
    // The same locale-aware reading as the Convert command's check; not a number gives NaN.
    double zoomPercent() const override;
    bool landscape() const override;
    bool printGridlines() const override;
    bool printHeadings() const override;
    bool allPages() const override;
    std::string fromPageText() const override;
    std::string toPageText() const override;
    bool openAfterConversion() const override;

private:
    const MainWindowControls& controls_;
};

class WindowJobRows final : public conversion::JobRows {
public:
    WindowJobRows(JobList& list, QTreeWidget& view) : list_(list), view_(view) {}

    void setStatus(std::int16_t row, const std::string& status) override;
    std::string fileName(std::int16_t row) const override;

private:
    JobList& list_;
    QTreeWidget& view_;
};

}  // namespace kx::mainwindow

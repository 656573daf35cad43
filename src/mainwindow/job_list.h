#pragma once
// The batch of conversions: the rows of the main window's job list view, one per workbook.
#include <QString>

#include <optional>

class QTreeWidget;

namespace kx::mainwindow {

// One row of the job list, addressed by its 1-based position.
struct JobRow {
    int inti = 0;
    QString strFileName;     // the workbook's file name, also the row's key
    QString strsource;       // source workbook path
    QString strDestination;  // target PDF path
    QString strStatus;       // "", "Converting...", "Completed" or "Failed"
};

// Column keys of the list view, in column order.
inline constexpr const char* kFileNameColumn = "flName";
inline constexpr const char* kSourceColumn = "source";
inline constexpr const char* kTargetColumn = "detination";
inline constexpr const char* kStatusColumn = "status";

// Sets up `view`'s four keyed columns with their headers and widths in pixels.
void setUpJobColumns(QTreeWidget& view);

// The rows of a list view set up by setUpJobColumns.
class JobList {
public:
    explicit JobList(QTreeWidget& view) : view_(view) {}

    int rowCount() const;
    // The row at `position` (1-based), or nothing when there is no such row.
    std::optional<JobRow> row(int position) const;
    // True when a row's file name equals `fileName`, letter case ignored.
    bool containsFileName(const QString& fileName) const;
    // Appends a row for the pair with an empty status, whether or not its name is listed already.
    void append(const QString& source, const QString& target);
    // Replaces the status of the row at `inti`, dropping the reason an earlier status gave;
    // a position with no row changes nothing.
    void UpdateListViewStatus(int inti, const QString& strStatus);
    // Says why the row's status is what it is, as the tool tip of its status cell.
    void setStatusReason(int inti, const QString& reason);
    void clear();

private:
    QTreeWidget& view_;
};

// The file name a row shows for a source path: the text after the last "/".
QString jobFileName(const QString& source);

// Appends the pair unless a row with the same file name exists; then it shows
// "File already added." and appends nothing. True when the row was appended.
bool AddCompleteListView(JobList& list, const QString& source, const QString& target);

}  // namespace kx::mainwindow

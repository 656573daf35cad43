#include "mainwindow/job_list.h"

#include "mainwindow/titles.h"
#include "platform/filesystem.h"
#include "platform/ui.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace kx::mainwindow {
namespace {

enum Column { FileName, Source, Target, Status };

struct ColumnLayout {
    const char* key;
    const char* header;
    int width;  // pixels; the path columns are kept but show nothing
};

constexpr ColumnLayout kColumns[] = {
    {kFileNameColumn, "Excel File", 400},
    {kSourceColumn, "Source Location", 0},
    {kTargetColumn, "Target Location", 0},
    {kStatusColumn, "Status", 133},
};

}  // namespace

void setUpJobColumns(QTreeWidget& view)
{
    view.setColumnCount(4);
    view.setRootIsDecorated(false);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.header()->setMinimumSectionSize(0);
    view.header()->setStretchLastSection(false);
    QTreeWidgetItem* header = view.headerItem();
    for (int column = 0; column < 4; ++column) {
        header->setText(column, QString::fromLatin1(kColumns[column].header));
        header->setData(column, Qt::UserRole, QString::fromLatin1(kColumns[column].key));
        view.setColumnWidth(column, kColumns[column].width);
    }
}

int JobList::rowCount() const { return view_.topLevelItemCount(); }

std::optional<JobRow> JobList::row(int position) const
{
    if (position < 1 || position > rowCount())
        return std::nullopt;
    const QTreeWidgetItem* item = view_.topLevelItem(position - 1);
    return JobRow{position, item->text(FileName), item->text(Source), item->text(Target), item->text(Status)};
}

bool JobList::containsFileName(const QString& fileName) const
{
    const QString wanted = fileName.toUpper();
    for (int index = 0; index < rowCount(); ++index)
        if (view_.topLevelItem(index)->text(FileName).toUpper() == wanted)
            return true;
    return false;
}

void JobList::append(const QString& source, const QString& target)
{
    const QString fileName = jobFileName(source);
    auto* item = new QTreeWidgetItem(QStringList{fileName, source, target, QString()});
    item->setData(FileName, Qt::UserRole, fileName);  // the row's key
    view_.addTopLevelItem(item);
}

void JobList::UpdateListViewStatus(int inti, const QString& strStatus)
{
    if (inti < 1 || inti > rowCount())
        return;
    view_.topLevelItem(inti - 1)->setText(Status, strStatus);
    view_.topLevelItem(inti - 1)->setToolTip(Status, QString());
}

void JobList::setStatusReason(int inti, const QString& reason)
{
    // As a paragraph, so that a long reason wraps instead of running off the screen.
    if (inti >= 1 && inti <= rowCount())
        view_.topLevelItem(inti - 1)->setToolTip(Status, "<p>" + reason.toHtmlEscaped() + "</p>");
}

void JobList::clear() { view_.clear(); }

QString jobFileName(const QString& source)
{
    return QString::fromStdString(platform::fileNameOf(source.toStdString()));
}

bool AddCompleteListView(JobList& list, const QString& source, const QString& target)
{
    if (list.containsFileName(jobFileName(source))) {
        platform::ui().showMessage({"File already added.", kMainWindowTitle,
                                    platform::MessageIcon::Information, platform::MessageButtons::Ok});
        return false;
    }
    list.append(source, target);
    return true;
}

}  // namespace kx::mainwindow

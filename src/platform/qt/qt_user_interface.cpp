#include "platform/qt/qt_user_interface.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QUrl>

namespace kx::platform {
namespace {

QString toQt(const std::string& text) { return QString::fromStdString(text); }

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// A file dialog that refuses a name in a folder that does not exist, which the toolkit's own
// dialog would otherwise accept when the chosen file itself need not exist.
class ExistingFolderFileDialog final : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override
    {
        const QStringList chosen = selectedFiles();
        if (!chosen.isEmpty() && !QFileInfo(chosen.first()).absoluteDir().exists()) {
            QMessageBox::warning(this, windowTitle(),
                                 tr("The folder of \"%1\" does not exist.").arg(chosen.first()));
            return;
        }
        QFileDialog::accept();
    }
};

// Icons and types from names alone. The toolkit's own provider guesses a type from the content
// of a file whose name does not tell it, and some files (/proc/kmsg) block whoever reads them.
class NameOnlyIconProvider final : public QFileIconProvider {
public:
    QIcon icon(const QFileInfo& info) const override
    {
        return QFileIconProvider::icon(info.isDir() ? QFileIconProvider::Folder : QFileIconProvider::File);
    }
    QString type(const QFileInfo& info) const override
    {
        if (info.isDir())
            return QFileDialog::tr("Folder");
        const QMimeType byName = QMimeDatabase().mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
        return byName.isDefault() ? QFileDialog::tr("File") : byName.comment();
    }
};

std::optional<std::string> runFileDialog(const FileDialogRequest& request, QFileDialog::AcceptMode mode)
{
    ExistingFolderFileDialog dialog(QApplication::activeWindow(), toQt(request.title),
                                    toQt(request.initialFolder), toQt(request.filter));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    NameOnlyIconProvider icons;
    dialog.setIconProvider(&icons);
    dialog.setOption(QFileDialog::DontUseCustomDirectoryIcons);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (!request.initialName.empty())
        dialog.selectFile(toQt(request.initialName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

}  // namespace

MessageAnswer QtUserInterface::showMessage(const Message& message)
{
    const bool question = message.buttons == MessageButtons::YesNo;
    QMessageBox box(boxIcon(message.icon), toQt(message.title), toQt(message.text),
                    question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    QApplication::activeWindow());
    const int answer = box.exec();
    if (!question)
        return MessageAnswer::Ok;
    return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

void QtUserInterface::showBusyPointer()
{
    restoreDefaultPointer();
    busyWindow_ = QApplication::activeWindow();
    if (busyWindow_)
        busyWindow_->setCursor(Qt::WaitCursor);
}

void QtUserInterface::restoreDefaultPointer()
{
    if (busyWindow_)
        busyWindow_->unsetCursor();
    busyWindow_ = nullptr;
}

std::optional<std::string> QtUserInterface::chooseFileToOpen(const FileDialogRequest& request)
{
    return runFileDialog(request, QFileDialog::AcceptOpen);
}

std::optional<std::string> QtUserInterface::chooseFileToSave(const FileDialogRequest& request)
{
    return runFileDialog(request, QFileDialog::AcceptSave);
}

bool QtUserInterface::openWithDesktop(const std::string& urlOrPath)
{
    const QString target = toQt(urlOrPath);
    const QUrl url = target.startsWith('/') ? QUrl::fromLocalFile(target) : QUrl(target);
    return QDesktopServices::openUrl(url);
}

}  // namespace kx::platform

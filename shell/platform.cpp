#include "shell/platform.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace Platform {

namespace {

// Function-local so that handlers can be installed during static initialisation.
MessageHandler &messageHandler()
{
    static MessageHandler handler;
    return handler;
}

FileChooser &fileChooser()
{
    static FileChooser chooser;
    return chooser;
}

QuitHandler &quitHandler()
{
    static QuitHandler handler;
    return handler;
}

void qtMessage(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

// "NDS ROMs (*.nds)" already names its pattern; other descriptions get it added.
QString nameFilter(const QPair<QString, QString> &filter)
{
    QString patterns = filter.second;
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    if (filter.first.contains(QLatin1Char('(')))
        return filter.first;
    return QStringLiteral("%1 (%2)").arg(filter.first, patterns);
}

FileAnswer qtChooser(const FileRequest &request)
{
    QFileDialog dialog(request.owner, request.title, request.initialDir);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QStringList filters;
    for (const auto &f : request.filters)
        filters << nameFilter(f);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (request.save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(QString(request.defaultExtension).remove(0, request.defaultExtension.startsWith(QLatin1Char('.')) ? 1 : 0));
        if (!request.fileName.isEmpty())
            dialog.selectFile(request.fileName);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    FileAnswer answer;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return answer;
    answer.accepted = true;
    answer.path = dialog.selectedFiles().constFirst();
    answer.filterIndex = filters.indexOf(dialog.selectedNameFilter()) + 1;
    return answer;
}

} // namespace

QString applicationTitle()
{
    return QStringLiteral("zorvani veltrium");
}

void setMessageHandler(MessageHandler handler)
{
    messageHandler() = std::move(handler);
}

void showMessage(const QString &text, const QString &title)
{
    const QString shown = title.isEmpty() ? applicationTitle() : title;
    if (messageHandler())
        messageHandler()(text, shown);
    else
        qtMessage(text, shown);
}

void setFileChooser(FileChooser chooser)
{
    fileChooser() = std::move(chooser);
}

FileAnswer chooseFile(const FileRequest &request)
{
    return fileChooser() ? fileChooser()(request) : qtChooser(request);
}

void setQuitHandler(QuitHandler handler)
{
    quitHandler() = std::move(handler);
}

void quit()
{
    if (quitHandler())
        quitHandler()();
    else
        QCoreApplication::quit();
}

} // namespace Platform

#include "shell/platform.h"

#include "shell/filechooser.h"

#include <QApplication>
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

FileAnswer qtChooser(const FileRequest &request)
{
    FileChooserDialog dialog(request);
    dialog.exec();
    return dialog.answer();
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

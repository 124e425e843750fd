#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include <functional>

class QWidget;

// The few things the editor asks of the desktop: message boxes, the file
// chooser and ending the program. The application uses Qt's; tests install
// recorders and scripted answers so that nothing waits on a modal window.
namespace Platform {

// Title of a message box whose caller names none.
[[nodiscard]] QString applicationTitle();

using MessageHandler = std::function<void(const QString &text, const QString &title)>;
void setMessageHandler(MessageHandler handler); // empty: Qt's box
// Modal box with the text, OK alone and no icon; an empty title shows applicationTitle().
void showMessage(const QString &text, const QString &title = QString());

// Bits of FileRequest::flags.
namespace FileFlag {
inline constexpr int OverwritePrompt = 0x2;
inline constexpr int HideReadOnly = 0x4;
inline constexpr int PathMustExist = 0x800;
inline constexpr int FileMustExist = 0x1000;
} // namespace FileFlag

struct FileRequest {
    QWidget *owner = nullptr;
    bool save = false;                          // save dialog instead of open dialog
    QString title;
    QString initialDir;
    QString fileName;                           // proposed name (save dialog)
    QString defaultExtension;
    QList<QPair<QString, QString>> filters;     // description, pattern
    int filterIndex = 0;                        // 1-based filter to preselect, 0: none
    int flags = 0;                              // FileFlag bits
};
struct FileAnswer {
    bool accepted = false;
    QString path;
    int filterIndex = 0;                        // 1-based number of the chosen filter
};
using FileChooser = std::function<FileAnswer(const FileRequest &)>;
void setFileChooser(FileChooser chooser);       // empty: Qt's dialog
[[nodiscard]] FileAnswer chooseFile(const FileRequest &request);

using QuitHandler = std::function<void()>;
void setQuitHandler(QuitHandler handler);       // empty: end the application's event loop
void quit();

} // namespace Platform

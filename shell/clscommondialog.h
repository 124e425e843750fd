#pragma once

#include <QString>

class QWidget;

// The record that describes one file dialog. Fields keep their values between
// calls on the same object: a field that a call does not set keeps what the
// record already holds.
struct OpenFileName {
    int lStructSize = 0;
    QWidget *hwndOwner = nullptr;
    const void *hInstance = nullptr;
    QString lpstrFilter;       // description and pattern texts, each ended by a NUL
    int nFilterIndex = 0;
    QString lpstrFile;         // the file buffer
    int nMaxFile = 0;
    QString lpstrFileTitle;
    int nMaxFileTitle = 0;
    QString lpstrInitialDir;
    QString lpstrTitle;
    int Flags = 0;
    QString lpstrDefExt;
};

// The open and save file dialogs, over the platform's file chooser.
class clsCommonDialog {
public:
    // The chosen path, or the empty text when the user cancels.
    QString ShowOpen(QWidget *hwnd, const QString &Title, const QString &InitDir = QString(),
                     const QString &Filter = QStringLiteral("All Files (*.*)|*.*|"), const int &flags = 0);
    QString ShowSave(QWidget *hwnd, const QString &Title, const QString &FileName = QString(),
                     const QString &InitDir = QString(), const QString &Filter = QString(),
                     const int &flags = 0);
    // Number of the filter chosen in the last dialog that returned a path.
    [[nodiscard]] int FilterIndex() const { return m_filterIndex; }

    [[nodiscard]] const OpenFileName &record() const { return m_record; }
    [[nodiscard]] const QString &lastPath() const { return m_lastPath; }

    // "a|b" and "a|b|" both give "a", NUL, "b", NUL; the empty text gives one NUL.
    [[nodiscard]] static QString convertFilter(const QString &filter);

private:
    // Shows the dialog for the record, the record's filter preselected; on a
    // chosen file writes the path into the file buffer and the filter number
    // into the record.
    bool runDialog(bool save);

    OpenFileName m_record;
    QString m_lastPath;
    int m_filterIndex = 0;
};

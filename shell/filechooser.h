#pragma once

#include "shell/platform.h"

#include <QFileDialog>
#include <QStringList>

// Qt's file dialog set up from a file request, and its result as an answer.
class FileChooserDialog : public QFileDialog {
    Q_OBJECT
public:
    explicit FileChooserDialog(const Platform::FileRequest &request);

    // Refuses a path in a missing folder when the request asks for it.
    void accept() override;

    // The chosen path and filter after the dialog ended; not accepted otherwise.
    [[nodiscard]] Platform::FileAnswer answer() const;

private:
    int m_flags = 0;
    QStringList m_filters; // one name filter per pair of the request
};

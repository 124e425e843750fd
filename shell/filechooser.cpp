#include "shell/filechooser.h"

#include <QFileInfo>

using namespace Platform::FileFlag;

namespace {

// Qt takes the last parenthesised group of a name filter as its patterns, so a
// description shows as it is only when it already ends with its own patterns.
QString nameFilter(const QPair<QString, QString> &filter)
{
    QString patterns = filter.second;
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    const QString group = QStringLiteral("(%1)").arg(patterns);
    if (filter.first.endsWith(group))
        return filter.first;
    return QStringLiteral("%1 %2").arg(filter.first, group);
}

QString withoutLeadingDot(const QString &extension)
{
    return extension.startsWith(QLatin1Char('.')) ? extension.mid(1) : extension;
}

} // namespace

FileChooserDialog::FileChooserDialog(const Platform::FileRequest &request)
    : QFileDialog(request.owner, request.title, request.initialDir)
    , m_flags(request.flags)
{
    // HideReadOnly needs nothing: this dialog has no read-only check box.
    setOption(QFileDialog::DontUseNativeDialog);
    for (const auto &f : request.filters)
        m_filters << nameFilter(f);
    if (!m_filters.isEmpty())
        setNameFilters(m_filters);
    setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    setFileMode((m_flags & FileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // Before the proposed name: choosing a filter in a save dialog changes the name's extension.
    if (request.filterIndex >= 1 && request.filterIndex <= m_filters.size())
        selectNameFilter(m_filters.at(request.filterIndex - 1));
    if (request.save) {
        setOption(QFileDialog::DontConfirmOverwrite, !(m_flags & OverwritePrompt));
        setDefaultSuffix(withoutLeadingDot(request.defaultExtension));
        if (!request.fileName.isEmpty())
            selectFile(request.fileName);
    }
}

void FileChooserDialog::accept()
{
    // With FileMustExist, Qt's ExistingFile mode already refuses a missing path.
    if ((m_flags & PathMustExist) && !(m_flags & FileMustExist)) {
        for (const QString &path : selectedFiles()) {
            if (QFileInfo(QFileInfo(path).absolutePath()).isDir())
                continue;
            Platform::showMessage(QStringLiteral("%1\nThe folder does not exist.\nCheck the path and try again.").arg(path),
                                  windowTitle());
            return;
        }
    }
    QFileDialog::accept();
}

Platform::FileAnswer FileChooserDialog::answer() const
{
    Platform::FileAnswer answer;
    const QStringList files = selectedFiles();
    if (result() != QDialog::Accepted || files.isEmpty())
        return answer;
    answer.accepted = true;
    answer.path = files.constFirst();
    answer.filterIndex = int(m_filters.indexOf(selectedNameFilter())) + 1;
    return answer;
}

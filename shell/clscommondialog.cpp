#include "shell/clscommondialog.h"

#include "shell/platform.h"

#include <QCoreApplication>

namespace {

constexpr QChar Nul(u'\0');
constexpr int RecordSize = 76;
constexpr int OpenBufferLength = 254;
constexpr int SaveBufferLength = 128;

QString beforeFirstNul(const QString &buffer)
{
    const qsizetype end = buffer.indexOf(Nul);
    return end < 0 ? buffer : buffer.left(end);
}

} // namespace

QString clsCommonDialog::convertFilter(const QString &filter)
{
    QString converted = filter;
    converted.replace(QLatin1Char('|'), Nul);
    if (converted.isEmpty() || converted.back() != Nul)
        converted += Nul;
    return converted;
}

bool clsCommonDialog::runDialog(bool save)
{
    Platform::FileRequest request;
    request.owner = m_record.hwndOwner;
    request.save = save;
    request.title = m_record.lpstrTitle;
    request.initialDir = m_record.lpstrInitialDir;
    request.fileName = beforeFirstNul(m_record.lpstrFile).trimmed();
    request.defaultExtension = m_record.lpstrDefExt;
    request.flags = m_record.Flags;
    request.filterIndex = m_record.nFilterIndex;
    const QStringList parts = m_record.lpstrFilter.split(Nul);
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty() && parts[i + 1].isEmpty())
            break;
        request.filters.append({parts[i], parts[i + 1]});
    }

    const Platform::FileAnswer answer = Platform::chooseFile(request);
    if (!answer.accepted)
        return false;
    // The path goes into the buffer whole, whatever its length, ended by a NUL;
    // the rest of the buffer keeps its earlier content.
    const qsizetype used = answer.path.size() + 1;
    m_record.lpstrFile = answer.path + Nul + m_record.lpstrFile.mid(used);
    m_record.nFilterIndex = answer.filterIndex;
    return true;
}

QString clsCommonDialog::ShowOpen(QWidget *hwnd, const QString &Title, const QString &InitDir,
                                  const QString &Filter, const int &flags)
{
    QString result;
    m_record.lStructSize = RecordSize;
    m_record.hwndOwner = hwnd;
    m_record.hInstance = QCoreApplication::instance();
    m_record.lpstrFilter = convertFilter(Filter);
    m_record.lpstrFile = QString(OpenBufferLength, QLatin1Char(' '));
    m_record.nMaxFile = OpenBufferLength + 1;
    m_record.lpstrFileTitle = QString(OpenBufferLength, QLatin1Char(' '));
    m_record.nMaxFileTitle = OpenBufferLength + 1;
    m_record.lpstrInitialDir = InitDir.isEmpty() ? m_lastPath : InitDir;
    m_record.lpstrTitle = Title;
    m_record.Flags = flags;

    // Blanks are kept: a file name may begin or end with one.
    if (runDialog(false))
        result = beforeFirstNul(m_record.lpstrFile);
    if (!result.isEmpty()) {
        m_lastPath = result;
        m_filterIndex = m_record.nFilterIndex;
    }
    return result;
}

QString clsCommonDialog::ShowSave(QWidget *hwnd, const QString &Title, const QString &FileName,
                                  const QString &InitDir, const QString &Filter, const int &flags)
{
    QString result;
    const QString name = FileName.left(SaveBufferLength);
    m_record.lStructSize = RecordSize;
    m_record.hwndOwner = hwnd;
    m_record.hInstance = QCoreApplication::instance();
    m_record.Flags = flags;
    m_record.lpstrFile = name + QString(SaveBufferLength - name.size(), Nul);
    m_record.nMaxFile = SaveBufferLength;
    m_record.lpstrFilter = convertFilter(Filter);
    m_record.lpstrInitialDir = InitDir;
    m_record.lpstrTitle = Title;
    m_record.lpstrDefExt = QStringLiteral(".gpl");

    if (runDialog(true)) {
        result = beforeFirstNul(m_record.lpstrFile);
        m_filterIndex = m_record.nFilterIndex;
    }
    return result;
}

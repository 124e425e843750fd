#include "testsupport.h"

#include "shell/controls.h"
#include "shell/form1.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <array>
#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace TestSupport {

namespace {

// No test may wait on a modal window: an unexpected box or chooser ends the test.
void guardMessages()
{
    Platform::setMessageHandler([](const QString &text, const QString &title) {
        qFatal("unexpected message box \"%s\": %s", qPrintable(title), qPrintable(text));
    });
}

void guardChooser()
{
    Platform::setFileChooser([](const Platform::FileRequest &) -> Platform::FileAnswer {
        qFatal("unexpected file chooser");
    });
}

[[maybe_unused]] const bool guarded = [] {
    guardMessages();
    guardChooser();
    return true;
}();

} // namespace

TestRom::TestRom(qint64 size, const QString &fileName)
    : m_path(m_dir.filePath(fileName))
{
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(size))
        qFatal("cannot create test ROM %s", qPrintable(m_path));
}

void TestRom::write(qint64 offset, const QByteArray &bytes) const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadWrite) || !file.seek(offset) || file.write(bytes) != bytes.size())
        qFatal("cannot write test ROM");
}

QByteArray TestRom::read(qint64 offset, qint64 count) const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(offset))
        return {};
    return file.read(count);
}

void TestRom::writeEntry(int species, const QByteArray &sixBytes) const
{
    write(EvolutionBlock::offset(species), sixBytes);
}

QByteArray TestRom::entry(int species) const
{
    return read(EvolutionBlock::offset(species), 6);
}

qint64 TestRom::size() const
{
    return QFileInfo(m_path).size();
}

QMap<qint64, QByteArray> TestRom::snapshot() const
{
    return snapshotOf(m_path);
}

QMap<qint64, QByteArray> snapshotOf(const QString &path)
{
    QMap<qint64, QByteArray> data;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return data;
    const off_t end = ::lseek(fd, 0, SEEK_END);
    off_t pos = 0;
    while (pos < end) {
        off_t start = ::lseek(fd, pos, SEEK_DATA);
        if (start < 0)
            break; // only holes remain
        off_t stop = ::lseek(fd, start, SEEK_HOLE);
        if (stop < 0)
            stop = end;
        QByteArray bytes(stop - start, '\0');
        if (::pread(fd, bytes.data(), bytes.size(), start) != bytes.size())
            qFatal("cannot read test ROM");
        // Keep only the non-zero runs: the file system may allocate whole pages.
        for (qsizetype i = 0; i < bytes.size();) {
            if (bytes[i] == 0) {
                ++i;
                continue;
            }
            qsizetype j = i;
            while (j < bytes.size() && bytes[j] != 0)
                ++j;
            data.insert(start + i, bytes.mid(i, j - i));
            i = j;
        }
        pos = stop;
    }
    data.insert(-1, QByteArray::number(qint64(end))); // the size belongs to the picture
    ::close(fd);
    return data;
}

QList<qint64> changedOffsets(const QMap<qint64, QByteArray> &before, const QMap<qint64, QByteArray> &after)
{
    const auto bytesOf = [](const QMap<qint64, QByteArray> &snap) {
        QMap<qint64, char> bytes;
        for (auto it = snap.begin(); it != snap.end(); ++it) {
            if (it.key() < 0)
                continue;
            for (qsizetype i = 0; i < it.value().size(); ++i)
                bytes.insert(it.key() + i, it.value()[i]);
        }
        return bytes;
    };
    const QMap<qint64, char> a = bytesOf(before);
    const QMap<qint64, char> b = bytesOf(after);
    QList<qint64> changed;
    if (before.value(-1) != after.value(-1))
        changed << -1; // the size changed
    QList<qint64> keys = a.keys() + b.keys();
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    for (qint64 k : keys) {
        if (a.value(k, 0) != b.value(k, 0))
            changed << k;
    }
    return changed;
}

MessageRecorder::MessageRecorder()
{
    Platform::setMessageHandler([this](const QString &text, const QString &title) { boxes.append({text, title}); });
}

MessageRecorder::~MessageRecorder()
{
    guardMessages();
}

ScriptedChooser::ScriptedChooser()
{
    Platform::setFileChooser([this](const Platform::FileRequest &request) {
        requests.append(request);
        if (m_answers.isEmpty())
            qFatal("file chooser opened with no scripted answer");
        return m_answers.takeFirst();
    });
}

ScriptedChooser::~ScriptedChooser()
{
    guardChooser();
}

void ScriptedChooser::choose(const QString &path, int filterIndex)
{
    m_answers.append({true, path, filterIndex});
}

void ScriptedChooser::cancel()
{
    m_answers.append({false, QString(), 0});
}

AccessRecorder::AccessRecorder()
{
    HexCore::setAccessObserver([this](const HexCore::Access &access) { accesses.append(access); });
}

AccessRecorder::~AccessRecorder()
{
    HexCore::setAccessObserver({});
}

QList<QPair<std::int32_t, std::int32_t>> AccessRecorder::of(HexCore::Access::Kind kind) const
{
    QList<QPair<std::int32_t, std::int32_t>> list;
    for (const auto &a : accesses) {
        if (a.kind == kind)
            list.append({a.offset, a.count});
    }
    return list;
}

QList<QPair<std::int32_t, std::int32_t>> loadReads(std::int32_t block)
{
    return {{block, 1}, {block + 2, 1}, {block + 2, 2}, {block + 2, 2}, {block + 2, 2}, {block + 4, 2}};
}

QuitRecorder::QuitRecorder()
{
    Platform::setQuitHandler([this] { ++quits; });
}

QuitRecorder::~QuitRecorder()
{
    Platform::setQuitHandler({});
}

void openRom(Form1 &form, const QString &path)
{
    ScriptedChooser chooser;
    chooser.choose(path);
    form.Open1->trigger();
}

ListBox *regionList(Form1 &form, int region)
{
    return std::array{form.List1, form.List2, form.List3, form.List4}.at(region - 1);
}

QRadioButton *regionButton(Form1 &form, int region)
{
    return std::array{form.Option1, form.Option2, form.Option3, form.Option4}.at(region - 1);
}

void chooseRegion(Form1 &form, int region)
{
    regionButton(form, region)->click();
}

void selectRow(ListBox *list, int row)
{
    list->setListIndex(row);
}

void pressSave(Form1 &form)
{
    form.Command->click();
}

int openDescriptorCount()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System).size());
}

} // namespace TestSupport

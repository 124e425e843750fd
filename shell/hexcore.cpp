#include "shell/hexcore.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <limits>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace HexCore {

namespace {

AccessObserver g_observer;

FileError systemError(int number)
{
    return {number, QString::fromLocal8Bit(std::strerror(number))};
}

void report(Access::Kind kind, const QString &path, std::int32_t offset, std::int32_t count,
            const FileError &error)
{
    if (g_observer)
        g_observer({kind, path, offset, count, !error.failed()});
}

QString byteCount(qint64 count)
{
    return count == 1 ? QStringLiteral("1 byte") : QStringLiteral("%1 bytes").arg(count);
}

// Error for a run of count bytes at offset that does not lie inside a file of size bytes.
FileError rangeError(std::int32_t offset, std::int32_t count, qint64 size)
{
    if (offset < 0 || offset == std::numeric_limits<std::int32_t>::max())
        return {ErrPosition, QStringLiteral("Bad file position: offset %1").arg(offset)};
    if (qint64(offset) + count > size)
        return {ErrTooShort,
                QStringLiteral("The file is too short for offset 0x%1 (%2 at %3): it holds only %4")
                    .arg(QString::number(offset, 16).toUpper(), byteCount(count))
                    .arg(offset)
                    .arg(byteCount(size))};
    return {};
}

// An open file descriptor that is closed on every path out of a call.
class OpenFile {
public:
    OpenFile(const QString &path, int flags)
    {
        const QByteArray name = QFile::encodeName(path);
        do {
            m_fd = ::open(name.constData(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        } while (m_fd < 0 && errno == EINTR);
        if (m_fd < 0) {
            m_error = systemError(errno);
            return;
        }
        struct stat st {};
        if (::fstat(m_fd, &st) != 0) {
            m_error = systemError(errno);
        } else if (S_ISDIR(st.st_mode)) {
            m_error = systemError(EISDIR);
        } else if (!S_ISREG(st.st_mode)) {
            m_error = {ErrNotRegular, QStringLiteral("Not a plain file: %1").arg(path)};
        } else {
            m_size = st.st_size;
        }
    }
    ~OpenFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    OpenFile(const OpenFile &) = delete;
    OpenFile &operator=(const OpenFile &) = delete;

    // Closes now so that a failing close (a lost write) is reported.
    FileError close()
    {
        const int fd = m_fd;
        m_fd = -1;
        if (fd >= 0 && ::close(fd) != 0 && errno != EINTR)
            return systemError(errno);
        return {};
    }

    [[nodiscard]] int fd() const { return m_fd; }
    [[nodiscard]] const FileError &error() const { return m_error; }

    // Error for a run of count bytes at offset that does not lie inside the file.
    [[nodiscard]] FileError checkRange(std::int32_t offset, std::int32_t count) const
    {
        return rangeError(offset, count, m_size);
    }

private:
    int m_fd = -1;
    qint64 m_size = 0;
    FileError m_error;
};

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

} // namespace

void setAccessObserver(AccessObserver observer)
{
    g_observer = std::move(observer);
}

QString reverseHexPairs(QString hexText)
{
    if (hexText.size() % 2 != 0)
        hexText.prepend(QLatin1Char('0'));
    QString result;
    result.reserve(hexText.size());
    for (qsizetype i = hexText.size() - 2; i >= 0; i -= 2)
        result += hexText.mid(i, 2);
    return result;
}

bool hexToInt16(const QString &hexText, int &value)
{
    if (hexText.isEmpty() || hexText.size() > 4)
        return false;
    int unsignedValue = 0;
    for (QChar c : hexText) {
        const int d = hexDigit(c);
        if (d < 0)
            return false;
        unsignedValue = unsignedValue * 16 + d;
    }
    value = static_cast<std::int16_t>(static_cast<std::uint16_t>(unsignedValue));
    return true;
}

QString int16ToHex(int value, int digits)
{
    const auto word = static_cast<std::uint16_t>(value);
    return QStringLiteral("%1").arg(word, 4, 16, QLatin1Char('0')).toUpper().right(digits);
}

ReadResult readBytes(const QString &path, std::int32_t offset, std::int32_t count)
{
    ReadResult result;
    const auto finish = [&](FileError error) {
        if (error.failed())
            result = {QString(), error};
        report(Access::Read, path, offset, count, result.error);
        return result;
    };

    OpenFile file(path, O_RDONLY);
    if (file.error().failed())
        return finish(file.error());
    if (count <= 0)
        return finish(file.close());
    if (FileError range = file.checkRange(offset, count); range.failed())
        return finish(range);

    std::vector<unsigned char> bytes(static_cast<std::size_t>(count));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pread(file.fd(), bytes.data() + done, bytes.size() - done,
                                  static_cast<off_t>(offset) + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return finish(systemError(errno));
        if (n == 0) // the file shrank since it was opened
            return finish({ErrTooShort, QStringLiteral("The file is too short for offset 0x%1: it ended while reading")
                                            .arg(QString::number(offset, 16).toUpper())});
        done += static_cast<std::size_t>(n);
    }
    for (unsigned char b : bytes)
        result.hex += QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
    return finish(file.close());
}

FileError checkFileHolds(const QString &path, const QList<ByteRun> &runs)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    for (const ByteRun &run : runs) {
        if (FileError error = rangeError(run.offset, run.count, st.st_size); error.failed())
            return error;
    }
    return {};
}

FileError writeBytes(const QString &path, std::int32_t offset, QString hexText)
{
    const auto finish = [&](FileError error) {
        report(Access::Write, path, offset, static_cast<std::int32_t>(hexText.size() / 2), error);
        return error;
    };
    if (hexText.size() % 2 != 0)
        hexText.prepend(QLatin1Char('0'));

    std::vector<unsigned char> bytes;
    for (qsizetype i = 0; i < hexText.size(); i += 2) {
        const int hi = hexDigit(hexText[i]);
        const int lo = hexDigit(hexText[i + 1]);
        if (hi < 0 || lo < 0)
            return finish({ErrNotHex, QStringLiteral("Not a hexadecimal byte: \"%1\"").arg(hexText.mid(i, 2))});
        bytes.push_back(static_cast<unsigned char>(hi * 16 + lo));
    }

    OpenFile file(path, O_RDWR);
    if (file.error().failed())
        return finish(file.error());
    if (bytes.empty())
        return finish(file.close());
    if (FileError range = file.checkRange(offset, static_cast<std::int32_t>(bytes.size())); range.failed())
        return finish(range);

    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(file.fd(), bytes.data() + done, bytes.size() - done,
                                   static_cast<off_t>(offset) + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return finish(systemError(n < 0 ? errno : EIO));
        done += static_cast<std::size_t>(n);
    }
    return finish(file.close());
}

} // namespace HexCore

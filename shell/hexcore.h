#pragma once

#include <QList>
#include <QString>

#include <cstdint>
#include <functional>

// Byte access to the ROM file without any user interface: every failure comes
// back as a value. The file functions with the message box sit on top of this.
namespace HexCore {

struct FileError {
    int number = 0;          // errno for system errors, one of the codes below otherwise
    QString description;

    [[nodiscard]] bool failed() const { return number != 0; }
};

// Error numbers of our own, above the range of errno.
enum : int {
    ErrTooShort = 1062,      // the file ends before the bytes asked for
    ErrNotHex = 1013,        // a pair of the text is not a hexadecimal byte
    ErrPosition = 1006,      // the offset lies outside the signed 32-bit range of positions
    ErrNotRegular = 1075,    // the path names something that is not a plain file
};

struct ReadResult {
    QString hex;             // two upper-case digits a byte, file order; empty on error
    FileError error;
};

// Pairs of digits in reverse order; an odd-length text gets a leading "0" first.
[[nodiscard]] QString reverseHexPairs(QString hexText);

// Reads count bytes at the 0-based offset. Opens read-only; never creates a file.
[[nodiscard]] ReadResult readBytes(const QString &path, std::int32_t offset, std::int32_t count);

// Writes the bytes of hexText (file order) at the 0-based offset. The whole text
// is checked first; nothing is written when any pair is bad or the file is too
// short. Never creates, truncates or extends a file.
[[nodiscard]] FileError writeBytes(const QString &path, std::int32_t offset, QString hexText);

// A run of count bytes at a 0-based offset.
struct ByteRun {
    std::int32_t offset;
    std::int32_t count;
};

// Too short (or a bad position) for the first of the runs that the plain file at
// path does not hold. Asks the file system for the size once and opens nothing; no
// error when that size cannot be told, so that the access itself reports why.
[[nodiscard]] FileError checkFileHolds(const QString &path, const QList<ByteRun> &runs);

// Signed 16-bit value of one to four hex digits (as the word FFFF reads -1).
// Empty or non-hex text gives false.
[[nodiscard]] bool hexToInt16(const QString &hexText, int &value);

// Upper-case hex of the 16-bit two's-complement form of value, cut to its last
// `digits` digits (2 or 4), zero-padded.
[[nodiscard]] QString int16ToHex(int value, int digits);

// One access to the file, reported to an observer after the call (tests count them).
struct Access {
    enum Kind { Read, Write } kind;
    QString path;
    std::int32_t offset;
    std::int32_t count;
    bool ok;
};
using AccessObserver = std::function<void(const Access &)>;
void setAccessObserver(AccessObserver observer);

} // namespace HexCore

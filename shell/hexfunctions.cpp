#include "shell/hexfunctions.h"

#include "shell/hexcore.h"
#include "shell/platform.h"

namespace HexFunctions {

namespace {

void showFileError(const HexCore::FileError &error)
{
    Platform::showMessage(error.description, QStringLiteral("Error: %1").arg(error.number));
}

} // namespace

QString ReverseHexPairs(const QString &HexText)
{
    return HexCore::reverseHexPairs(HexText);
}

QString ReadHexBytes(const QString &FilePath, std::int32_t Offset, std::int32_t Count)
{
    const HexCore::ReadResult result = HexCore::readBytes(FilePath, Offset, Count);
    if (result.error.failed())
        showFileError(result.error);
    return result.hex;
}

bool FileHoldsBytes(const QString &FilePath, const QList<HexCore::ByteRun> &Runs)
{
    const HexCore::FileError error = HexCore::checkFileHolds(FilePath, Runs);
    if (error.failed())
        showFileError(error);
    return !error.failed();
}

bool WriteHexBytes(const QString &FilePath, std::int32_t Offset, const QString &HexText)
{
    const HexCore::FileError error = HexCore::writeBytes(FilePath, Offset, HexText);
    if (error.failed())
        showFileError(error);
    return !error.failed();
}

} // namespace HexFunctions

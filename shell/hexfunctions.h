#pragma once

#include "shell/hexcore.h"

#include <QString>

#include <cstdint>

// The only code that touches the ROM file. Each call opens the file, reads or
// writes its bytes and closes it again. A failure shows the file error box
// (text: the description, title: "Error: " and the number) and returns.
namespace HexFunctions {

[[nodiscard]] QString ReverseHexPairs(const QString &HexText);

// The Count bytes at the 0-based Offset as hex text in file order; the empty
// text after an error.
[[nodiscard]] QString ReadHexBytes(const QString &FilePath, std::int32_t Offset, std::int32_t Count);

// False, after the file error box, when the file is too short for any of the Runs
// (the first one it cannot hold is named). Opens nothing: a file that cannot be
// told about is left to the access.
bool FileHoldsBytes(const QString &FilePath, const QList<HexCore::ByteRun> &Runs);

// Writes HexText (file order) from Offset on; false after an error.
bool WriteHexBytes(const QString &FilePath, std::int32_t Offset, const QString &HexText);

} // namespace HexFunctions

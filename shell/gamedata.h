#pragma once

#include <QStringList>

// The rows of the lists and pickers, in number order: a row's index is the
// number it stands for.
namespace GameData {

[[nodiscard]] QStringList methodRows();   // 27: row = method code
[[nodiscard]] QStringList levelRows();    // 101: "0" to "100"
[[nodiscard]] QStringList itemRows();     // 464: row 0 "None"
[[nodiscard]] QStringList speciesRows();  // 494: row 0 "??????????"
[[nodiscard]] QStringList moveRows();     // 468: row 0 "None"

// Rows of a region list (index 0 is region 1): the species rows of its run.
[[nodiscard]] QStringList regionRows(int region);

} // namespace GameData

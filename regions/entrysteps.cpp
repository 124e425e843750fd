// The load and save steps of one species, shared by all four regions, and the
// row dispatch that runs them for the selected row of a region list.
#include "shell/form1.h"

#include "regions/evolutiontable.h"
#include "shell/controls.h"
#include "shell/hexcore.h"
#include "shell/hexfunctions.h"
#include "shell/platform.h"

#include <vector>

using namespace HexFunctions;

void Form1::loadRows(int region, int firstRow, int lastRow)
{
    ListBox *list = regionList(region);
    for (int row = firstRow; row <= lastRow; ++row) {
        // After a failed read the half-loaded pickers must never be saved
        // into this species, so the selection goes.
        if (list->ListIndex() == row && !LoadEvolutionEntry(RegionFirstSpecies.at(region - 1) + row))
            list->setListIndex(-1, false);
    }
}

void Form1::saveRows(int region, int firstRow, int lastRow)
{
    ListBox *list = regionList(region);
    for (int row = firstRow; row <= lastRow; ++row) {
        if (list->ListIndex() == row)
            SaveEvolutionEntry(RegionFirstSpecies.at(region - 1) + row);
    }
}

bool Form1::LoadEvolutionEntry(int species)
{
    struct Field { DropDown *picker; std::int32_t offset; std::int32_t bytes; const char *name; };
    const Field fields[] = {
        {Combo1, EvolutionEntry::Method, 1, "evolution method"},
        {Combo2, EvolutionEntry::Parameter, 1, "level"},
        {Combo3, EvolutionEntry::Parameter, 2, "item"},
        {Combo4, EvolutionEntry::Parameter, 2, "species parameter"},
        {Combo5, EvolutionEntry::Parameter, 2, "move"},
        {Combo6, EvolutionEntry::Target, 2, "target species"},
    };
    struct Unknown { DropDown *picker; const char *name; int stored; int digits; };
    std::vector<Unknown> unknown;

    const std::int32_t block = EvolutionBlock::offset(species);
    for (const Field &field : fields) {
        const QString text = ReverseHexPairs(ReadHexBytes(RomPath, block + field.offset, field.bytes));
        int value = 0;
        if (!HexCore::hexToInt16(text, value))
            return false; // the read has shown its box; the load stops here
        if (!field.picker->setListIndex(value)) {
            // No row for the stored value: the picker shows none, and a save
            // leaves the stored bytes as they are.
            field.picker->setListIndex(-1);
            unknown.push_back({field.picker, field.name, value & (field.bytes == 1 ? 0xFF : 0xFFFF), field.bytes * 2});
        }
    }

    QStringList lines;
    for (const Unknown &u : unknown) {
        if (u.picker->Visible())
            lines << QStringLiteral("%1: stored value %2 (0x%3)")
                         .arg(QLatin1String(u.name))
                         .arg(u.stored)
                         .arg(QStringLiteral("%1").arg(u.stored, u.digits, 16, QLatin1Char('0')).toUpper());
    }
    if (!lines.isEmpty()) {
        const QString name = Combo6->itemText(species);
        Platform::showMessage(QStringLiteral("Species %1 (%2) holds a value that the editor has no row for.\n\n%3\n\n"
                                             "The stored value is kept unless you choose another.")
                                  .arg(species)
                                  .arg(name, lines.join(QLatin1Char('\n'))));
    }
    return true;
}

void Form1::SaveEvolutionEntry(int species)
{
    struct Field { std::int32_t offset; const DropDown *picker; int digits; };
    const std::int32_t block = EvolutionBlock::offset(species);
    std::vector<Field> fields = {
        {block + EvolutionEntry::Method, Combo1, 2},
        {block + EvolutionEntry::Target, Combo6, 4},
    };
    for (DropDown *picker : {Combo2, Combo3, Combo4, Combo5}) {
        if (picker->Visible()) {
            fields.push_back({block + EvolutionEntry::Parameter, picker, 4});
            break;
        }
    }
    // A picker with no row chosen is not written: the stored bytes stay.
    std::erase_if(fields, [](const Field &field) { return field.picker->ListIndex() < 0; });

    // A file too short for any of these bytes gets none of them, never half an entry.
    QList<HexCore::ByteRun> runs;
    for (const Field &field : fields)
        runs.push_back({field.offset, field.digits / 2});
    if (!FileHoldsBytes(RomPath, runs)) {
        m_saveFailed = true;
        return;
    }
    for (const Field &field : fields) {
        const QString text = ReverseHexPairs(HexCore::int16ToHex(field.picker->ListIndex(), field.digits));
        if (!WriteHexBytes(RomPath, field.offset, text)) {
            m_saveFailed = true;
            return;
        }
    }
}

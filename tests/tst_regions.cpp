// Regions 2 to 4 through the real window, and every species loaded and saved once.
#include "shell/controls.h"
#include "shell/form1.h"
#include "testsupport.h"

#include <QScopeGuard>
#include <QTest>

using namespace TestSupport;
using Accesses = QList<QPair<std::int32_t, std::int32_t>>;

namespace {
constexpr int RegionStart[] = {0, 152, 252, 387};
const QList<int> LevelKept = {95, 108, 114, 117, 123, 137, 176, 190, 193, 198, 200, 221, 315, 349, 366, 438, 439, 440, 458};

std::int32_t blockOf(int species) { return 0x3711640 + 44 * (species - 1); }

QByteArray entry(int method, int parameter, int target) // the six entry bytes; +1 holds the filler
{
    const char b[] = {char(method), char(0xA5), char(parameter), char(parameter >> 8), char(target), char(target >> 8)};
    return QByteArray(b, 6);
}
Accesses loadReads(std::int32_t b, bool levelKept) // the level byte is left out for some species
{
    return Accesses{{b, 1}} + (levelKept ? Accesses{} : Accesses{{b + 2, 1}}) + Accesses{{b + 2, 2}, {b + 2, 2}, {b + 2, 2}, {b + 4, 2}};
}
Accesses saveWrites(std::int32_t b) { return {{b, 1}, {b + 4, 2}, {b + 2, 2}}; }
} // namespace

class Regions : public QObject {
    Q_OBJECT
private slots:
    void blockOfRow_data()
    {
        QTest::addColumn<int>("region"); QTest::addColumn<int>("row"); QTest::addColumn<int>("block"); QTest::addColumn<bool>("levelKept");
        const struct { int region, row, block; bool levelKept; } cases[] = {
            {2, 0, 0x3713034, false}, {2, 1, 0x3713060, false}, {2, 24, 0x3713454, true}, {2, 38, 0x37136BC, true},
            {2, 69, 0x3713C10, true}, {2, 71, 0x3713C68, false}, {2, 72, 0x3713C94, false}, {2, 73, 0x3713CC0, false},
            {2, 80, 0x3713DF4, false}, {2, 98, 0x371410C, false}, {2, 99, 0x3714138, false},
            {3, 0, 0x3714164, false}, {3, 63, 0x3714C38, true}, {3, 97, 0x3715210, true}, {3, 114, 0x37154FC, true},
            {3, 130, 0x37157BC, false}, {3, 131, 0x37157E8, false}, {3, 134, 0x371586C, false},
            {4, 0, 0x3715898, false}, {4, 51, 0x371615C, true}, {4, 52, 0x3716188, true}, {4, 53, 0x37161B4, true},
            {4, 71, 0x37164CC, true}, {4, 72, 0x37164F8, false}, {4, 106, 0x3716AD0, false},
        };
        for (const auto &c : cases)
            QTest::addRow("List%d row %d", c.region, c.row) << c.region << c.row << c.block << c.levelKept;
    }
    // A row loads its own block in field order and saves back only its six bytes.
    void blockOfRow()
    {
        QFETCH(int, region); QFETCH(int, row); QFETCH(int, block); QFETCH(bool, levelKept);
        TestRom rom;
        rom.write(block - 2, QByteArray(48, char(0xA5)));
        rom.write(block, entry(21, 0x121, 0x1C3));
        Form1 form;
        openRom(form, rom.path());
        chooseRegion(form, region);
        form.Combo2->setListIndex(77); // kept where the level is not read
        AccessRecorder rec;
        selectRow(regionList(form, region), row);
        QCOMPARE(rec.reads(), loadReads(block, levelKept));
        QCOMPARE(form.Combo1->ListIndex(), 21);
        QCOMPARE(form.Combo2->ListIndex(), levelKept ? 77 : 0x21);
        for (DropDown *p : {form.Combo3, form.Combo4, form.Combo5})
            QCOMPARE(p->ListIndex(), 0x121);
        QCOMPARE(form.Combo6->ListIndex(), 0x1C3);
        form.Combo1->setListIndex(4); form.Combo2->setListIndex(90); form.Combo6->setListIndex(0xD2);
        rec.accesses.clear();
        pressSave(form);
        QCOMPARE(rec.writes(), saveWrites(block));
        QCOMPARE(rom.read(block - 2, 48), QByteArray(2, char(0xA5)) + entry(4, 90, 0xD2) + QByteArray(40, char(0xA5)));
    }
    // The save routine shared by List2 rows 72..99 and List1 rows 145..151: each row,
    // chosen right after a row of the other list, saves only its own block.
    void sharedSaveRoutine()
    {
        TestRom rom;
        Form1 form;
        openRom(form, rom.path());
        for (int i = 0; i < 28; ++i)
            for (auto [region, row] : {std::pair{2, 72 + i}, std::pair{1, 145 + i % 7}}) {
                chooseRegion(form, region);
                selectRow(regionList(form, region), row);
                form.Combo1->setListIndex(4); form.Combo2->setListIndex(i + 1); form.Combo6->setListIndex(row);
                AccessRecorder rec;
                pressSave(form);
                QCOMPARE(rec.writes(), saveWrites(blockOf(RegionStart[region - 1] + row)));
            }
    }
    // All 493 species in one window: each loads its own values and a save changes
    // only its bytes +0 and +2..+5 in the whole file.
    void everySpecies()
    {
        const auto parameter = [](int s) { return s % 101 + 256 * (s % 2); }; // low byte is a level
        TestRom rom;
        QByteArray table;
        for (int s = 1; s <= 493; ++s)
            table += entry(s % 27, parameter(s), 494 - s) + QByteArray(38, char(0xA5));
        rom.write(0x3711640, table);
        Form1 form;
        openRom(form, rom.path());
        auto before = rom.snapshot();
        for (int s = 1; s <= 493; ++s) {
            auto note = qScopeGuard([s] { if (QTest::currentTestFailed()) qWarning("species %d", s); });
            const int region = s < 152 ? 1 : s < 252 ? 2 : s < 387 ? 3 : 4, method = s % 27;
            const std::int32_t b = blockOf(s);
            const int earlierLevel = form.Combo2->ListIndex();
            AccessRecorder rec;
            chooseRegion(form, region);
            selectRow(regionList(form, region), s - RegionStart[region - 1]);
            QCOMPARE(rec.reads(), loadReads(b, LevelKept.contains(s)));
            QCOMPARE(form.Combo1->ListIndex(), method);
            QCOMPARE(form.Combo2->ListIndex(), LevelKept.contains(s) ? earlierLevel : s % 101);
            for (DropDown *p : {form.Combo3, form.Combo4, form.Combo5})
                QCOMPARE(p->ListIndex(), parameter(s));
            QCOMPARE(form.Combo6->ListIndex(), 494 - s);
            form.Combo1->setListIndex(4); form.Combo2->setListIndex(s * 7 % 101); form.Combo6->setListIndex(s * 13 % 493 + 1);
            pressSave(form);
            QCOMPARE(rec.writes(), saveWrites(b));
            const QByteArray old = entry(method, parameter(s), 494 - s), now = entry(4, s * 7 % 101, s * 13 % 493 + 1);
            QList<qint64> changed;
            for (int i = 0; i < 6; ++i)
                if (old[i] != now[i]) changed << b + i;
            const auto after = rom.snapshot();
            QCOMPARE(changedOffsets(before, after), changed);
            QCOMPARE(rom.read(b, 44), now + QByteArray(38, char(0xA5)));
            before = after;
        }
    }
};

QTEST_MAIN(Regions)
#include "tst_regions.moc"

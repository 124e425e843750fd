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

std::int32_t blockOf(int species) { return 0x3711640 + 44 * (species - 1); }

QByteArray entry(int method, int parameter, int target) // the six entry bytes; +1 holds the filler
{
    const char b[] = {char(method), char(0xA5), char(parameter), char(parameter >> 8), char(target), char(target >> 8)};
    return QByteArray(b, 6);
}
Accesses saveWrites(std::int32_t b) { return {{b, 1}, {b + 4, 2}, {b + 2, 2}}; }
} // namespace

class Regions : public QObject {
    Q_OBJECT
private slots:
    void blockOfRow_data()
    {
        QTest::addColumn<int>("region"); QTest::addColumn<int>("row"); QTest::addColumn<int>("block");
        QTest::addColumn<int>("method"); QTest::addColumn<int>("parameter");
        constexpr int Species = 21, LevelEvo = 4;
        const struct { int region, row, block, method, parameter; } cases[] = {
            {2, 0, 0x3713034, Species, 0x121}, {2, 1, 0x3713060, Species, 0x121}, {2, 24, 0x3713454, LevelEvo, 0x21},
            {2, 38, 0x37136BC, LevelEvo, 0x21}, {2, 69, 0x3713C10, LevelEvo, 0x21}, {2, 71, 0x3713C68, Species, 0x121},
            {2, 72, 0x3713C94, Species, 0x121}, {2, 73, 0x3713CC0, Species, 0x121}, {2, 80, 0x3713DF4, Species, 0x121},
            {2, 98, 0x371410C, Species, 0x121}, {2, 99, 0x3714138, Species, 0x121},
            {3, 0, 0x3714164, Species, 0x121}, {3, 63, 0x3714C38, LevelEvo, 0x21}, {3, 97, 0x3715210, LevelEvo, 0x64},
            {3, 114, 0x37154FC, LevelEvo, 0x21}, {3, 130, 0x37157BC, Species, 0x121}, {3, 131, 0x37157E8, Species, 0x121},
            {3, 134, 0x371586C, Species, 0x121},
            {4, 0, 0x3715898, Species, 0x121}, {4, 51, 0x371615C, LevelEvo, 0xE9}, {4, 52, 0x3716188, LevelEvo, 0x21},
            {4, 53, 0x37161B4, LevelEvo, 0x21}, {4, 71, 0x37164CC, LevelEvo, 0x21}, {4, 72, 0x37164F8, Species, 0x121},
            {4, 106, 0x3716AD0, Species, 0x121},
        };
        for (const auto &c : cases)
            QTest::addRow("List%d row %d", c.region, c.row) << c.region << c.row << c.block << c.method << c.parameter;
    }
    // A row loaded right after a species of level 77 reads its own block in field order,
    // an unchanged save leaves the file as it was, and an edited one writes only its six bytes.
    void blockOfRow()
    {
        QFETCH(int, region); QFETCH(int, row); QFETCH(int, block); QFETCH(int, method); QFETCH(int, parameter);
        const int level = parameter & 0xFF, species = RegionStart[region - 1] + row;
        const bool levelShown = method == 4, unknownLevel = level > 100;
        QCOMPARE(blockOf(species), block);
        TestRom rom;
        rom.write(blockOf(1), entry(4, 77, 2));
        rom.write(block - 2, QByteArray(48, char(0xA5)));
        rom.write(block, entry(method, parameter, 0x1C3));
        Form1 form;
        openRom(form, rom.path());
        chooseRegion(form, 1);
        selectRow(form.List1, 1);
        QCOMPARE(form.Combo2->ListIndex(), 77);
        chooseRegion(form, region);
        MessageRecorder boxes;
        AccessRecorder rec;
        selectRow(regionList(form, region), row);
        QCOMPARE(rec.reads(), loadReads(block));
        QCOMPARE(form.Combo1->ListIndex(), method);
        QCOMPARE(form.Combo2->ListIndex(), unknownLevel ? -1 : level);
        for (DropDown *p : {form.Combo3, form.Combo4, form.Combo5})
            QCOMPARE(p->ListIndex(), parameter);
        QCOMPARE(form.Combo6->ListIndex(), 0x1C3);
        QCOMPARE(form.Combo2->Visible(), levelShown);
        QCOMPARE(boxes.boxes.size(), levelShown && unknownLevel ? 1 : 0);
        for (const auto &box : boxes.boxes)
            for (const QString &word : {QString::number(species), QStringLiteral("level"), QString::number(level)})
                QVERIFY2(box.text.contains(word), qPrintable(word + ": " + box.text));
        const auto stored = rom.snapshot();
        pressSave(form);
        QCOMPARE(changedOffsets(stored, rom.snapshot()), QList<qint64>{});
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
            AccessRecorder rec;
            chooseRegion(form, region);
            selectRow(regionList(form, region), s - RegionStart[region - 1]);
            QCOMPARE(rec.reads(), loadReads(b));
            QCOMPARE(form.Combo1->ListIndex(), method);
            QCOMPARE(form.Combo2->ListIndex(), s % 101);
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

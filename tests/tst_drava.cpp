// Region 1 ("Drava Region"): what a load reads and a save writes, byte for byte.
#include "shell/controls.h"
#include "shell/form1.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

using namespace TestSupport;
using Acc = QList<QPair<std::int32_t, std::int32_t>>;

namespace {

// Block of species s; the tables below also hold blocks as literals.
std::int32_t blk(int s) { return 0x3711640 + 44 * (s - 1); }
QByteArray hx(const char *hex) { return QByteArray::fromHex(hex); }
// The word (a number: not part of a longer or negative one) is in the text.
bool hasWord(const QString &text, const QString &w) { return text.contains(QRegularExpression("(?<![-\\w])" + w + "\\b")); }
// Offsets at which two versions of the entry at block b differ.
QList<qint64> diff(std::int32_t b, const QByteArray &x, const QByteArray &y)
{ QList<qint64> d; for (int i = 0; i < 6; ++i) if (x[i] != y[i]) d << b + i; return d; }
// The writes of one save at these offsets in the block (the method byte alone is one byte).
Acc entryWrites(std::int32_t b, const QList<int> &at) { Acc w; for (int o : at) w << qMakePair(b + o, o ? 2 : 1); return w; }

struct Rig {
    TestRom rom;
    Form1 form;
    Rig() { openRom(form, rom.path()); chooseRegion(form, 1); }
    void load(int s, const QByteArray &bytes) { rom.write(blk(s), bytes); selectRow(form.List1, s); }
    QList<DropDown *> combos() const { return {form.Combo1, form.Combo2, form.Combo3, form.Combo4, form.Combo5, form.Combo6}; }
    QList<int> rows() const { QList<int> r; for (DropDown *c : combos()) r << c->ListIndex(); return r; }
    // The one parameter picker shown (2..5), 0 for none, -1 for several.
    int shown() const { int n = 0; for (int i = 2; i <= 5; ++i) if (combos()[i - 1]->Visible()) n = n ? -1 : i; return n; }
    void pick(int method, int level, int target) { form.Combo1->setListIndex(method); form.Combo2->setListIndex(level); form.Combo6->setListIndex(target); }
};

} // namespace

class DravaRegion : public QObject {
    Q_OBJECT
private slots:
    void row_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("block");
        const std::pair<int, int> rows[] = {{1, 0x3711640}, {72, 0x3712274}, {73, 0x37122A0}, {95, 0x3712668}, {130, 0x3712C6C},
                                            {131, 0x3712C98}, {137, 0x3712DA0}, {144, 0x3712ED4}, {145, 0x3712F00}, {151, 0x3713008}};
        for (auto [row, block] : rows) QTest::addRow("row %d", row) << row << block;
    }
    // Loads the row's species after species 60 (level 77), saves it unchanged, then with edited pickers.
    void row()
    {
        QFETCH(int, row); QFETCH(int, block);
        QCOMPARE(blk(row), block);
        Rig r;
        r.load(60, hx("04 00 4D 00 05 00"));
        for (auto [at, bytes] : {std::pair{block - 44, "1A 77 63 00 09 00"}, {block + 44, "0B 66 21 00 08 00"}, {block + 6, "99"}})
            r.rom.write(at, hx(bytes)); // neighbours and the bytes after the entry
        const bool levelEvo = row == 95 || row == 137; // stored as "Level Evo", so the level is saved
        const int m = levelEvo ? 4 : row % 27, x = row % 100, high = levelEvo ? 0 : 1, t = row % 200;
        const char raw[] = {char(m), '\x5C', char(x), char(high), char(t), '\x01'};
        r.rom.write(block, QByteArray(raw, 6));
        AccessRecorder acc;
        selectRow(r.form.List1, row);
        QCOMPARE(acc.reads(), loadReads(block));
        const int word = 256 * high + x;
        const QList<int> rows{m, x, word, word, word, 256 + t};
        QCOMPARE(r.rows(), rows);
        const auto loaded = r.rom.snapshot();
        pressSave(r.form); // unchanged: every byte stays
        QCOMPARE(changedOffsets(loaded, r.rom.snapshot()), QList<qint64>{});
        acc.accesses.clear();
        selectRow(r.form.List1, 0); // the placeholder row and no row load nothing
        selectRow(r.form.List1, -1);
        QVERIFY(acc.accesses.isEmpty());
        QCOMPARE(r.rows(), rows);

        const QByteArray stored = hx("05 AB 11 CC 22 00");
        r.load(row, stored);
        const struct { int method, level; const char *after; } steps[] = {
            {4, 50, "04 AB 32 00 ED 01"}, {5, 50, "05 AB 11 CC ED 01"}, {26, 50, "1A AB 11 CC ED 01"}, {4, 100, "04 AB 64 00 ED 01"}};
        for (const auto &s : steps) {
            r.rom.write(block, stored);
            r.pick(s.method, s.level, 493);
            const auto before = r.rom.snapshot();
            acc.accesses.clear();
            pressSave(r.form);
            QCOMPARE(acc.writes(), entryWrites(block, s.method == 4 ? QList<int>{0, 4, 2} : QList<int>{0, 4}));
            QCOMPARE(r.rom.read(block, 6), hx(s.after));
            QCOMPARE(changedOffsets(before, r.rom.snapshot()), diff(block, stored, hx(s.after)));
        }
    }
    // One entry loaded (after one that showed the level picker), then saved twice unedited.
    void entry_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QStringList>("words"); // in the one box after the load; none: no box
        QTest::addColumn<QList<int>>("writes");
        QTest::addColumn<QByteArray>("after");
        const auto add = [](const char *name, const char *bytes, QList<int> rows, int shown, QStringList words,
                            QList<int> writes, const char *after = nullptr) {
            QTest::newRow(name) << hx(bytes) << rows << shown << words << writes << hx(after ? after : bytes);
        };
        add("level", "04 00 10 00 2A 01", {4, 16, 16, 16, 16, 298}, 2, {}, {0, 4, 2});
        add("level word", "04 00 10 07 19 00", {4, 16, -1, -1, -1, 25}, 2, {}, {0, 4, 2}, "04 00 10 00 19 00");
        add("level 100", "00 00 64 00 00 00", {0, 100, 100, 100, 100, 0}, 0, {}, {0, 4});
        add("species", "15 00 2C 01 ED 01", {21, 44, 300, 300, 300, 493}, 4, {}, {0, 4, 2});
        add("move", "14 00 07 00 03 00", {20, 7, 7, 7, 7, 3}, 5, {}, {0, 4, 2});
        add("item", "13 5A C7 01 01 00", {19, -1, 455, 455, 455, 1}, 3, {}, {0, 4, 2});
        add("trade, no target", "05 00 03 00 FF FF", {5, 3, 3, 3, 3, -1}, 0, {}, {0});
        add("method 27", "1B 00 05 00 03 00", {-1, 5, 5, 5, 5, 3}, 0, {"evolution method", "27"}, {4});
        add("method FF", "FF 00 05 00 03 00", {-1, 5, 5, 5, 5, 3}, 0, {"evolution method", "255"}, {4});
        add("level 101", "04 00 65 00 03 00", {4, -1, 101, 101, 101, 3}, 2, {"level", "101"}, {0, 4});
        add("item 464", "06 00 D0 01 03 00", {6, -1, -1, 464, 464, 3}, 3, {"item", "464"}, {0, 4});
        add("target 8000", "05 00 03 00 00 80", {5, 3, 3, 3, 3, -1}, 0, {"target species", "32768"}, {0});
        add("target 494", "05 00 03 00 EE 01", {5, 3, 3, 3, 3, -1}, 0, {"target species", "494"}, {0});
        add("two fields", "1B 00 05 00 00 80", {-1, 5, 5, 5, 5, -1}, 0, {"evolution method", "27", "target species", "32768"}, {});
        add("hidden 500", "05 00 F4 01 03 00", {5, -1, -1, -1, -1, 3}, 0, {}, {0, 4});
    }
    void entry()
    {
        QFETCH(QByteArray, bytes); QFETCH(QList<int>, rows); QFETCH(int, shown);
        QFETCH(QStringList, words); QFETCH(QList<int>, writes); QFETCH(QByteArray, after);
        const std::int32_t b = 0x3711CF4; // species 40
        QCOMPARE(blk(40), b);
        Rig r;
        r.load(2, hx("04 00 4D 00 05 00"));
        MessageRecorder msgs;
        AccessRecorder acc;
        qsizetype readsAtBox = -1;
        Platform::setMessageHandler([&](const QString &text, const QString &title) {
            msgs.boxes.append({text, title});
            readsAtBox = acc.reads().size();
        });
        r.load(40, bytes);
        QCOMPARE(acc.reads(), loadReads(b));
        QCOMPARE(r.rows(), rows);
        QCOMPARE(r.shown(), shown);
        const auto before = r.rom.snapshot();
        for (int press = 0; press < 2; ++press) {
            acc.accesses.clear();
            pressSave(r.form);
            QCOMPARE(acc.writes(), entryWrites(b, writes));
            QCOMPARE(changedOffsets(before, r.rom.snapshot()), diff(b, bytes, after));
        }
        QCOMPARE(msgs.boxes.size(), words.isEmpty() ? 0 : 1);
        if (words.isEmpty()) return;
        QCOMPARE(readsAtBox, 6);
        QCOMPARE(msgs.boxes[0].title, QStringLiteral("zorvani veltrium"));
        for (const QString &w : words << "40") QVERIFY2(hasWord(msgs.boxes[0].text, w), qPrintable(w + ": " + msgs.boxes[0].text));
    }
    void oneSpeciesPerSave()
    {
        const std::int32_t b162 = 0x37131EC; // species 162, List2 row 10
        QCOMPARE(blk(162), b162);
        Rig r;
        r.load(25, hx("04 00 0A 00 05 00"));
        r.rom.write(b162, hx("05 00 07 00 08 00"));
        chooseRegion(r.form, 2);
        selectRow(r.form.List2, 10);
        QCOMPARE(r.form.List1->ListIndex(), -1);
        QCOMPARE(r.rows(), (QList<int>{5, 7, 7, 7, 7, 8}));
        r.pick(4, 12, 100);
        const auto before = r.rom.snapshot();
        pressSave(r.form);
        QCOMPARE(r.rom.read(b162, 6), hx("04 00 0C 00 64 00"));
        QCOMPARE(changedOffsets(before, r.rom.snapshot()), (QList<qint64>{b162, b162 + 2, b162 + 4}));
    }
    // The ROM goes away or shrinks after "Open" (before the load) or after the load (before "Save").
    // A save writes all of the entry or, when the file cannot hold every byte it writes, none of it.
    void fileFailure_data()
    {
        QTest::addColumn<bool>("atSave");
        QTest::addColumn<int>("size"); // -1: removed, -2: a folder in its place
        QTest::addColumn<int>("target"); // Combo6's row at "Save"
        QTest::addColumn<Acc>("tried"); // the reads or writes, the last failed when a box shows
        QTest::addColumn<bool>("box");
        QTest::addColumn<QByteArray>("left");
        const std::int32_t b = 0x37116F0; // species 5
        const Acc load = loadReads(b);
        const Acc save = {{b, 1}, {b + 4, 2}, {b + 2, 2}};
        const struct { const char *name; bool atSave; int size, target; Acc tried; bool box; const char *left; } rows[] = {
            {"load, removed", false, -1, 298, load.mid(0, 1), true, ""},
            {"load, folder", false, -2, 298, load.mid(0, 1), true, ""},
            {"load, ends before the target", false, b + 4, 298, load, true, "04 00 10 00"},
            {"save, removed", true, -1, 298, save.mid(0, 1), true, ""},
            {"save, folder", true, -2, 298, save.mid(0, 1), true, ""},
            {"save, ends at the block", true, b, 298, {}, true, ""},
            {"save, ends inside the parameter", true, b + 3, 298, {}, true, "04 00 10"},
            {"save, ends before the target", true, b + 4, 298, {}, true, "04 00 10 00"},
            {"save, ends inside the target", true, b + 5, 298, {}, true, "04 00 10 00 2A"},
            {"save, ends after the target", true, b + 6, 298, save, false, "15 00 07 00 2A 01"},
            {"save, no target, ends before it", true, b + 4, -1, {{b, 1}, {b + 2, 2}}, false, "15 00 07 00"},
        };
        for (const auto &row : rows)
            QTest::newRow(row.name) << row.atSave << row.size << row.target << row.tried << row.box << hx(row.left);
    }
    void fileFailure()
    {
        QFETCH(bool, atSave); QFETCH(int, size); QFETCH(int, target); QFETCH(Acc, tried); QFETCH(bool, box); QFETCH(QByteArray, left);
        const std::int32_t b = 0x37116F0;
        QCOMPARE(blk(5), b);
        Rig r;
        r.rom.write(b, hx("04 00 10 00 2A 01"));
        if (atSave) { selectRow(r.form.List1, 5); r.form.Combo1->setListIndex(21); r.form.Combo4->setListIndex(7); r.form.Combo6->setListIndex(target); }
        const QString path = r.rom.path();
        QVERIFY(size >= 0 ? QFile::resize(path, size) : QFile::remove(path));
        if (size == -2) QVERIFY(QDir().mkdir(path));
        MessageRecorder msgs;
        AccessRecorder acc;
        if (!atSave) selectRow(r.form.List1, 5);
        QCOMPARE(r.form.List1->ListIndex(), atSave ? 5 : -1);
        pressSave(r.form);
        QCOMPARE(atSave ? acc.writes() : acc.reads(), tried);
        QCOMPARE(acc.accesses.size(), tried.size());
        for (int i = 0; i < tried.size(); ++i) QCOMPARE(acc.accesses[i].ok, !box || i < tried.size() - 1);
        QCOMPARE(msgs.boxes.size(), box ? 1 : 0);
        if (size > 0) QCOMPARE(r.rom.size(), size);
        QCOMPARE(QFileInfo::exists(path), size != -1);
        QCOMPARE(r.rom.read(b, 6), left);
        if (!box) return;
        QVERIFY2(QRegularExpression("^Error: \\d+$").match(msgs.boxes[0].title).hasMatch(), qPrintable(msgs.boxes[0].title));
        if (size > 0) {
            QCOMPARE(msgs.boxes[0].title, QStringLiteral("Error: %1").arg(HexCore::ErrTooShort));
            QVERIFY2(msgs.boxes[0].text.contains("too short") && msgs.boxes[0].text.endsWith(QStringLiteral("it holds only %1 bytes").arg(size)),
                     qPrintable(msgs.boxes[0].text));
        }
    }
};

QTEST_MAIN(DravaRegion)
#include "tst_drava.moc"

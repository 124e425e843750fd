// Thousands of random user actions on a ROM whose table holds random entries;
// after every action the whole file is compared with a model of what may change.
#include "shell/controls.h"
#include "shell/form1.h"
#include "testsupport.h"
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTest>

using namespace TestSupport;

namespace {
constexpr qint64 First = 0x3711640;
constexpr int Rows[7] = {0, 27, 101, 464, 494, 468, 494}; // Combo1..Combo6
constexpr int FirstSpecies[4] = {0, 152, 252, 387};
// The picker (2..5 for Combo2..Combo5) that a method shows, 0 for none.
int shownFor(int m) { return m == 4 ? 2 : QList{6, 7, 18, 19}.contains(m) ? 3 : m == 20 ? 5 : m == 21 ? 4 : 0; }
}

class RandomUse : public QObject {
    Q_OBJECT
private slots:
    void randomActions();
};

void RandomUse::randomActions()
{
    const quint32 seed = qEnvironmentVariableIsSet("RANDOM_USE_SEED") ? qEnvironmentVariableIntValue("RANDOM_USE_SEED") : 20240611u;
    qInfo("RANDOM_USE_SEED=%u", seed);
    QRandomGenerator rng(seed);
    const auto pick = [&](int lo, int hi) { return int(rng.bounded(lo, hi + 1)); };
    // Random blocks; methods and words lean to rows, FF FF and 0x8000..0xFFFE so that every kind turns up.
    QByteArray model(TableEnd - First, '\0');
    for (char &b : model) b = char(pick(0, 255));
    for (qint64 o = 0; o < model.size(); o += 44) {
        model[o] = char(pick(0, 2) ? pick(0, 27) : pick(0, 255));
        for (int at : {2, 4}) {
            const int k = pick(0, 9), w = k < 5 ? pick(0, pick(0, 1) ? 101 : 494) : k < 6 ? 0xFFFF : k < 8 ? pick(0x8000, 0xFFFE) : pick(0, 0xFFFF);
            model[o + at] = char(w & 0xFF), model[o + at + 1] = char(w >> 8);
        }
    }
    TestRom rom;
    rom.write(First, model);
    const qint64 size = rom.size();
    MessageRecorder boxes;
    Form1 f;
    f.show();
    DropDown *const combo[7] = {nullptr, f.Combo1, f.Combo2, f.Combo3, f.Combo4, f.Combo5, f.Combo6};
    ListBox *const lists[4] = {f.List1, f.List2, f.List3, f.List4};
    QRadioButton *const options[4] = {f.Option1, f.Option2, f.Option3, f.Option4};
    const auto u8 = [&](qint64 at) { return int(quint8(model[at])); };
    const auto s16 = [&](qint64 at) { return int(qint16(u8(at) | u8(at + 1) << 8)); };
    int shownList = -1, selected = -1, selectedRow = -1, loads = 0, unknownBoxes = 0, writes = 0;
    for (int step = 0; step < 3000; ++step) {
        QString action;
#define CHECK(c, msg) do { if (!(c)) QFAIL(qPrintable(QStringLiteral("seed %1, step %2 (%3): " #c " ").arg(seed).arg(step).arg(action) + (msg))); } while (0)
        boxes.boxes.clear();
        const int kind = pick(0, 99);
        int loaded = 0, expectBox = 0, expected[7] = {};
        if (kind < 6) {
            action = kind < 3 ? "open" : "cancelled open";
            const QString path = kind < 3 ? rom.path() : f.romPath();
            const bool enabled = kind < 3 || f.Option1->isEnabled();
            ScriptedChooser chooser;
            kind < 3 ? chooser.choose(rom.path()) : chooser.cancel();
            f.Open1->trigger();
            CHECK(f.romPath() == path && f.Option4->isEnabled() == enabled && f.Combo1->isEnabled() == enabled && f.Combo6->isEnabled() == enabled, QString());
        } else if (kind < 14) {
            const int k = pick(0, 3);
            action = QStringLiteral("region %1").arg(k + 1);
            if (options[k]->isEnabled()) shownList = k;
            chooseRegion(f, k + 1);
        } else if (kind < 44 && shownList >= 0) {
            const int row = pick(-1, lists[shownList]->count() - 1), s = FirstSpecies[shownList] + row;
            action = QStringLiteral("List%1 row %2").arg(shownList + 1).arg(row);
            if (row >= 0 && s > 0 && !(selected == shownList && selectedRow == row)) { // a new row loads its species
                const qint64 o = 44 * (s - 1);
                const int raw[7] = {0, u8(o), u8(o + 2), s16(o + 2), s16(o + 2), s16(o + 2), s16(o + 4)};
                for (int c = 1; c <= 6; ++c)
                    expected[c] = raw[c] >= 0 && raw[c] < Rows[c] ? raw[c] : -1;
                for (int c : {1, 6, shownFor(expected[1])})
                    expectBox |= c && (raw[c] < -1 || raw[c] >= Rows[c]);
                loaded = s;
            }
            if (row >= 0 || selected == shownList)
                selected = row >= 0 ? shownList : -1, selectedRow = row;
            selectRow(lists[shownList], row);
        } else if (kind < 88) {
            const int c = pick(1, 6), row = pick(-1, Rows[c] - 1);
            action = QStringLiteral("Combo%1 row %2").arg(c).arg(row);
            if (combo[c]->isEnabled() && combo[c]->Visible()) combo[c]->setListIndex(row);
        } else {
            action = "Save";
            const int s = selected >= 0 ? FirstSpecies[selected] + selectedRow : 0;
            const auto put = [&](qint64 at, DropDown *picker, int bytes) { // a picker with no row writes nothing
                const int row = picker->ListIndex();
                for (int i = 0; row >= 0 && i < bytes; ++i, ++writes) model[at + i] = char(row >> 8 * i);
            };
            if (s > 0) {
                put(44 * (s - 1), f.Combo1, 1), put(44 * (s - 1) + 4, f.Combo6, 2);
                for (int c = 2; c <= 5; ++c)
                    if (combo[c]->Visible()) { put(44 * (s - 1) + 2, combo[c], 2); break; }
            }
            pressSave(f);
        }
        for (int k = 0; k < 4; ++k)
            CHECK(lists[k]->ListIndex() == (k == selected ? selectedRow : -1), QStringLiteral("List%1").arg(k + 1));
        for (int c = 2; c <= 5; ++c)
            CHECK(combo[c]->Visible() == (shownFor(f.Combo1->ListIndex()) == c), QStringLiteral("Combo%1").arg(c));
        for (int c = 1; loaded && c <= 6; ++c)
            CHECK(combo[c]->ListIndex() == expected[c], QStringLiteral("Combo%1 %2 after loading %3").arg(c).arg(combo[c]->ListIndex()).arg(loaded));
        loads += loaded > 0, unknownBoxes += expectBox;
        const auto box = boxes.boxes.value(0);
        CHECK(boxes.boxes.size() == expectBox && (!expectBox || (box.title == "zorvani veltrium" && box.text.contains(QString::number(loaded)))), box.title + ": " + box.text);
        // Nothing outside the table holds data, the size stays and the table equals the model.
        const QMap<qint64, QByteArray> snap = rom.snapshot();
        for (auto it = snap.begin(); it != snap.end(); ++it)
            CHECK(it.key() < 0 ? it.value().toLongLong() == size : it.key() >= First && it.key() + it.value().size() <= TableEnd, QString::number(it.key(), 16));
        const QByteArray table = rom.read(First, model.size());
        for (qint64 i = 0; i < model.size(); ++i)
            CHECK(table[i] == model[i], QStringLiteral("species %1 +%2: %3").arg(i / 44 + 1).arg(i % 44).arg(quint8(table[i])));
    }
    qInfo("%d loads, %d with a box, %d bytes written", loads, unknownBoxes, writes);
    QVERIFY2(loads > 100 && unknownBoxes > 10 && writes > 100, qPrintable(QStringLiteral("seed %1: too few loads, boxes or writes").arg(seed)));
}

QTEST_MAIN(RandomUse)
#include "tst_random_use.moc"

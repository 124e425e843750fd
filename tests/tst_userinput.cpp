// Real mouse and key events on the shown window: what the user's gestures do to the
// region lists, the region buttons, "Save" and the menu bar.
#include "shell/controls.h"
#include "shell/form1.h"
#include "testsupport.h"

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

using namespace TestSupport;

namespace {

constexpr int LoadedRow = 5;
constexpr int StoredTarget = 26;
constexpr int ChosenTarget = 31;

// "Level Evo" at level 10, target 61; then an item method (7) with item 300 and
// target 16, the entry that replaces it on disk or in a second ROM.
const QByteArray FirstEntry = QByteArray::fromHex("04A50A003D00");
const QByteArray SecondEntry = QByteArray::fromHex("07112C011000");
// Combo1 to Combo6 for SecondEntry: the level picker shows the parameter's low byte.
const QList<int> SecondEntryRows = {7, 0x2C, 300, 300, 300, 16};

// Number of the chosen region button, 0 for none.
int chosenRegion(Form1 &form)
{
    for (int region = 1; region <= 4; ++region) {
        if (regionButton(form, region)->isChecked())
            return region;
    }
    return 0;
}

// Number of the shown region list, 0 for none.
int shownList(Form1 &form)
{
    for (int region = 1; region <= 4; ++region) {
        if (regionList(form, region)->Visible())
            return region;
    }
    return 0;
}

int speciesOfRow(int region, int row)
{
    return RegionFirstSpecies.at(region - 1) + row;
}

QByteArray word(int value)
{
    const char bytes[] = {char(value & 0xFF), char(value >> 8)};
    return QByteArray(bytes, 2);
}

QList<int> pickerRows(Form1 &form)
{
    QList<int> rows;
    for (DropDown *picker : {form.Combo1, form.Combo2, form.Combo3, form.Combo4, form.Combo5, form.Combo6})
        rows << picker->ListIndex();
    return rows;
}

// The shown window with a ROM opened, as the user has it before choosing a region.
struct OpenedEditor {
    OpenedEditor()
    {
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        openRom(form, rom.path());
    }
    TestRom rom;
    Form1 form;
};

void clickRow(ListBox *list, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    list->scrollToItem(list->item(row));
    const QPoint centre = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, centre);
}

// A point of the viewport below the last row, with the list scrolled to its end.
QPoint belowLastRow(ListBox *list)
{
    list->scrollToBottom();
    const QRect last = list->visualItemRect(list->item(list->count() - 1));
    return QPoint(last.center().x(), last.bottom() + 2);
}

// Gestures that a plain list view would take to empty or repeat its selection, and
// keys that move it.
enum class Gesture { CtrlClickSelected, CtrlSpace, ClickBelowLastRow, ClickSelected, DoubleClickSelected, Down, End };

// Where the entry that a click must show comes from.
enum class Change { None, OnDisk, SecondRom };

void perform(Gesture gesture, ListBox *list)
{
    switch (gesture) {
    case Gesture::CtrlClickSelected:
        clickRow(list, list->ListIndex(), Qt::ControlModifier);
        break;
    case Gesture::CtrlSpace:
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);
        break;
    case Gesture::ClickBelowLastRow: {
        const QPoint below = belowLastRow(list);
        QVERIFY2(below.y() < list->viewport()->height(), "no empty area below the last row");
        QVERIFY(!list->indexAt(below).isValid());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, below);
        break;
    }
    case Gesture::ClickSelected:
        clickRow(list, list->ListIndex());
        break;
    case Gesture::DoubleClickSelected: {
        // As the window system delivers it: press, release, double-click, release.
        const QPoint centre = list->visualItemRect(list->item(list->ListIndex())).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
        break;
    }
    case Gesture::Down:
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        break;
    case Gesture::End:
        list->setFocus();
        QTest::keyClick(list, Qt::Key_End);
        break;
    }
}

// Height of a menu bar with the same menus in the desktop's own font.
int plainMenuBarHeight()
{
    QMenuBar bar;
    bar.addMenu(QStringLiteral("File"));
    bar.addAction(QStringLiteral("About"));
    return bar.sizeHint().height();
}

} // namespace

class UserInput : public QObject {
    Q_OBJECT
private slots:
    void gestures_data()
    {
        QTest::addColumn<int>("region");
        QTest::addColumn<Gesture>("gesture");
        QTest::addColumn<int>("loads"); // the row whose species the gesture loads, -1 for none
        QTest::addColumn<bool>("cut"); // the file ends inside that species' target word
        const int last = -2; // the region's last row
        const struct { const char *name; Gesture gesture; int loads; bool cut; } gestures[] = {
            {"ctrl+click on the selected row", Gesture::CtrlClickSelected, LoadedRow, false},
            {"ctrl+space", Gesture::CtrlSpace, -1, false},
            {"click below the last row", Gesture::ClickBelowLastRow, -1, false},
            {"click on the selected row", Gesture::ClickSelected, LoadedRow, false},
            {"double-click on the selected row", Gesture::DoubleClickSelected, LoadedRow, false},
            {"down onto a species the file is too short for", Gesture::Down, LoadedRow + 1, true},
            {"end onto a species the file is too short for", Gesture::End, last, true},
        };
        for (int region = 1; region <= 4; ++region) {
            for (const auto &g : gestures) {
                const int loads = g.loads == last ? RegionRowCount.at(region - 1) - 1 : g.loads;
                QTest::addRow("List%d %s", region, g.name) << region << g.gesture << loads << g.cut;
            }
        }
    }
    // Once a row is selected the user can move the selection but not empty it: a
    // press on the selected row loads it once more (a double-click too, not twice),
    // other gestures load nothing, and "Save" still writes the species the pickers show.
    // A key onto a species that fails to load loads it once, shows one box and leaves
    // no row selected, so "Save" writes nothing.
    void gestures()
    {
        QFETCH(int, region);
        QFETCH(Gesture, gesture);
        QFETCH(int, loads);
        QFETCH(bool, cut);
        const int species = speciesOfRow(region, LoadedRow);
        OpenedEditor editor;
        Form1 &form = editor.form;
        editor.rom.writeEntry(species, QByteArray("\x04\x00\x10\x00", 4) + word(StoredTarget));
        chooseRegion(form, region);
        ListBox *list = regionList(form, region);
        clickRow(list, LoadedRow);
        QCOMPARE(list->ListIndex(), LoadedRow);
        QCOMPARE(form.Combo6->ListIndex(), StoredTarget);
        const std::int32_t loadedBlock = EvolutionBlock::offset(speciesOfRow(region, loads));
        if (cut)
            QVERIFY(QFile::resize(editor.rom.path(), loadedBlock + EvolutionEntry::Target + 1));

        MessageRecorder messages;
        AccessRecorder access;
        perform(gesture, list);
        const QList<QPair<std::int32_t, std::int32_t>> noReads;
        QCOMPARE(access.reads(), loads < 0 ? noReads : loadReads(loadedBlock));
        QCOMPARE(messages.boxes.size(), cut ? 1 : 0);
        if (cut) {
            QCOMPARE(messages.boxes.constFirst().title, QStringLiteral("Error: %1").arg(HexCore::ErrTooShort));
            QVERIFY(!access.accesses.constLast().ok);
            QCOMPARE(list->ListIndex(), -1);
            QVERIFY(list->selectedItems().isEmpty());
            const QMap<qint64, QByteArray> before = editor.rom.snapshot();
            access.accesses.clear();
            pressSave(form);
            QVERIFY(access.accesses.isEmpty());
            QCOMPARE(changedOffsets(before, editor.rom.snapshot()), QList<qint64>());
            QCOMPARE(messages.boxes.size(), 1);
            return;
        }
        QCOMPARE(list->ListIndex(), LoadedRow);
        QCOMPARE(list->selectedItems().size(), 1);

        form.Combo6->setListIndex(ChosenTarget);
        pressSave(form);
        QCOMPARE(editor.rom.entry(species).mid(4, 2), word(ChosenTarget));
    }

    void clickLoadsOnce_data()
    {
        QTest::addColumn<int>("region");
        QTest::addColumn<int>("row");
        QTest::addColumn<Change>("change");
        const struct { const char *name; int row; Change change; } clicks[] = {
            {"another row", LoadedRow + 1, Change::None},
            {"the selected row, changed on disk", LoadedRow, Change::OnDisk},
            {"the selected row, another ROM opened", LoadedRow, Change::SecondRom},
        };
        for (int region = 1; region <= 4; ++region) {
            for (const auto &c : clicks)
                QTest::addRow("List%d %s", region, c.name) << region << c.row << c.change;
        }
    }
    // A click loads the species it lands on exactly once, the selected one too: the
    // pickers show what the ROM in use holds now, so an unchanged "Save" keeps it.
    void clickLoadsOnce()
    {
        QFETCH(int, region);
        QFETCH(int, row);
        QFETCH(Change, change);
        const int species = speciesOfRow(region, row);
        OpenedEditor editor;
        Form1 &form = editor.form;
        TestRom secondRom;
        const TestRom &shown = change == Change::SecondRom ? secondRom : editor.rom;
        editor.rom.writeEntry(speciesOfRow(region, LoadedRow), FirstEntry);
        chooseRegion(form, region);
        ListBox *list = regionList(form, region);
        clickRow(list, LoadedRow);
        QCOMPARE(form.Combo6->ListIndex(), 61);
        shown.writeEntry(species, SecondEntry);
        if (change == Change::SecondRom)
            openRom(form, secondRom.path());

        AccessRecorder access;
        clickRow(list, row);
        QCOMPARE(list->ListIndex(), row);
        QCOMPARE(access.reads(), loadReads(EvolutionBlock::offset(species)));
        QCOMPARE(pickerRows(form), SecondEntryRows);

        const QMap<qint64, QByteArray> firstBefore = editor.rom.snapshot();
        const QMap<qint64, QByteArray> secondBefore = secondRom.snapshot();
        pressSave(form);
        QCOMPARE(changedOffsets(firstBefore, editor.rom.snapshot()), QList<qint64>());
        QCOMPARE(changedOffsets(secondBefore, secondRom.snapshot()), QList<qint64>());
    }

    // A failed load clears the selection, so "Save" writes nothing for the species;
    // once the file is mended a click on the row loads it.
    void clickAfterFailedLoad()
    {
        const int species = speciesOfRow(2, LoadedRow);
        OpenedEditor editor;
        Form1 &form = editor.form;
        editor.rom.writeEntry(species, FirstEntry);
        chooseRegion(form, 2);
        clickRow(form.List2, LoadedRow);
        const qint64 size = editor.rom.size();
        // The file now ends inside the target word.
        QVERIFY(QFile::resize(editor.rom.path(), EvolutionBlock::offset(species) + 5));
        {
            MessageRecorder messages;
            clickRow(form.List2, LoadedRow);
            QCOMPARE(messages.boxes.size(), 1);
            QCOMPARE(messages.boxes.constFirst().title, QStringLiteral("Error: %1").arg(HexCore::ErrTooShort));
            QCOMPARE(form.List2->ListIndex(), -1);
            AccessRecorder access;
            pressSave(form);
            QVERIFY(access.accesses.isEmpty());
            QCOMPARE(messages.boxes.size(), 1);
        }
        QVERIFY(QFile::resize(editor.rom.path(), size));
        editor.rom.writeEntry(species, SecondEntry);
        clickRow(form.List2, LoadedRow);
        QCOMPARE(form.List2->ListIndex(), LoadedRow);
        QCOMPARE(pickerRows(form), SecondEntryRows);
    }

    // Row 0 of List1 stands for no species: clicking it, selected or not, reads nothing.
    void placeholderRowLoadsNothing()
    {
        OpenedEditor editor;
        Form1 &form = editor.form;
        chooseRegion(form, 1);
        AccessRecorder access;
        clickRow(form.List1, 0);
        clickRow(form.List1, 0);
        QCOMPARE(form.List1->ListIndex(), 0);
        QVERIFY(access.reads().isEmpty());
    }

    // Arrow keys, Home, End, the page keys and a typed letter select the row they reach
    // and load it once.
    void keysMoveSelection()
    {
        OpenedEditor editor;
        Form1 &form = editor.form;
        chooseRegion(form, 2);
        clickRow(form.List2, LoadedRow);
        // Page keys move by the shown rows, whose number depends on the font: -1 stands
        // for any row other than the one before, as for a letter, which moves to the next
        // species whose name starts with it.
        const struct { Qt::Key key; int row; } moves[] = {
            {Qt::Key_Down, LoadedRow + 1},
            {Qt::Key_Up, LoadedRow},
            {Qt::Key_End, 99},
            {Qt::Key_Home, 0},
            {Qt::Key_PageDown, -1},
            {Qt::Key_PageUp, -1},
            {Qt::Key_T, -1},
        };
        for (const auto &move : moves) {
            const int before = form.List2->ListIndex();
            AccessRecorder access;
            QTest::keyClick(form.List2, move.key);
            const int row = form.List2->ListIndex();
            QVERIFY(move.row < 0 ? row != before : row == move.row);
            QCOMPARE(access.reads(), loadReads(EvolutionBlock::offset(speciesOfRow(2, row))));
        }
    }

    void arrowKeysChooseRegion_data()
    {
        QTest::addColumn<int>("chosen");
        QTest::addColumn<int>("focused");
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<int>("expected");
        const struct { int chosen, focused; Qt::Key key; int expected; } cases[] = {
            {0, 1, Qt::Key_Down, 2},
            {0, 2, Qt::Key_Up, 1},
            {0, 3, Qt::Key_Right, 4},
            {0, 3, Qt::Key_Left, 2},
            {0, 4, Qt::Key_Down, 1},
            {0, 1, Qt::Key_Up, 4},
            {1, 1, Qt::Key_Down, 2},
            {2, 2, Qt::Key_Down, 3},
            {4, 4, Qt::Key_Up, 3},
            {4, 4, Qt::Key_Right, 1},
            {3, 1, Qt::Key_Down, 2},
        };
        for (const auto &c : cases) {
            QTest::addRow("chosen %d, key on Option%d to Option%d", c.chosen, c.focused, c.expected)
                << c.chosen << c.focused << c.key << c.expected;
        }
    }
    // An arrow key moves to the next or previous region button and chooses it,
    // whether or not a region was chosen before.
    void arrowKeysChooseRegion()
    {
        QFETCH(int, chosen);
        QFETCH(int, focused);
        QFETCH(Qt::Key, key);
        QFETCH(int, expected);
        OpenedEditor editor;
        Form1 &form = editor.form;
        if (chosen > 0)
            chooseRegion(form, chosen);
        regionButton(form, focused)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(regionButton(form, focused), key);
        QCOMPARE(QApplication::focusWidget(), regionButton(form, expected));
        QCOMPARE(chosenRegion(form), expected);
        QCOMPARE(shownList(form), expected);
    }

    void keysPressSave_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<int>("presses");
        QTest::newRow("Return on Save") << "Command" << Qt::Key_Return << Qt::KeyboardModifiers() << 1;
        QTest::newRow("Enter on Save") << "Command" << Qt::Key_Enter << Qt::KeyboardModifiers(Qt::KeypadModifier) << 1;
        QTest::newRow("Space on Save") << "Command" << Qt::Key_Space << Qt::KeyboardModifiers() << 1;
        QTest::newRow("Return on the target") << "Combo6" << Qt::Key_Return << Qt::KeyboardModifiers() << 0;
        QTest::newRow("Enter on the list") << "List1" << Qt::Key_Enter << Qt::KeyboardModifiers(Qt::KeypadModifier) << 0;
        QTest::newRow("Return on a region") << "Option1" << Qt::Key_Return << Qt::KeyboardModifiers() << 0;
    }
    // The keyboard presses "Save" only while it has the focus.
    void keysPressSave()
    {
        QFETCH(QString, focus);
        QFETCH(Qt::Key, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(int, presses);
        OpenedEditor editor;
        Form1 &form = editor.form;
        chooseRegion(form, 1);
        QWidget *focused = form.centralWidget()->findChild<QWidget *>(focus);
        focused->setFocus();
        QSignalSpy saves(form.Command, &QPushButton::clicked);
        QTest::keyClick(focused, key, modifiers);
        QCOMPARE(saves.size(), presses);
    }

    // The menus show the desktop's menu fonts, not the window's own font.
    void menuFont()
    {
        Form1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(form.menuBar()->font(), QApplication::font(form.menuBar()));
        QCOMPARE(form.File1->font(), QApplication::font(form.File1));
        QVERIFY(form.menuBar()->font() != form.font());
        QCOMPARE(form.height(), 576 + form.menuBar()->sizeHint().height());
        QCOMPARE(form.menuBar()->height(), plainMenuBarHeight());
    }
};

QTEST_MAIN(UserInput)
#include "tst_userinput.moc"

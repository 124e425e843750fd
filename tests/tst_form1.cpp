// The window: its controls, rows, the method choice, the region lists and the menu commands.
#include "shell/controls.h"
#include "shell/form1.h"
#include "testsupport.h"

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace TestSupport;
using Names = QStringList;
using State = QMap<QString, QString>;

namespace {
Names rowsOf(const QAbstractItemModel *m) { Names r; for (int i = 0; i < m->rowCount(); ++i) r << m->index(i, 0).data().toString(); return r; }

// Hidden, enabled, checked and chosen row of every control, by name.
State stateOf(const Form1 &f)
{
    State state;
    for (QWidget *w : f.centralWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        const auto *list = qobject_cast<ListBox *>(w); const auto *drop = qobject_cast<DropDown *>(w);
        const auto *option = qobject_cast<QRadioButton *>(w);
        state[w->objectName()] = QStringLiteral("%1 %2 %3 %4").arg(w->isHidden()).arg(w->isEnabled()).arg(option && option->isChecked())
                                     .arg(list ? list->ListIndex() : drop ? drop->ListIndex() : 0);
    }
    return state;
}
Names changedNames(const State &a, const State &b)
{
    Names names; for (auto it = a.begin(); it != a.end(); ++it) if (b.value(it.key()) != it.value()) names << it.key();
    return names;
}
// The numbers (first, first+1, ...) of the shown widgets as digits; 0 when none is shown.
int shown(std::initializer_list<const QWidget *> widgets, int first)
{
    int n = 0; for (const QWidget *w : widgets) { if (!w->isHidden()) n = n * 10 + first; ++first; }
    return n;
}
int shownPickers(const Form1 &f) { return shown({f.Combo2, f.Combo3, f.Combo4, f.Combo5}, 2); }
int shownLists(const Form1 &f) { return shown({f.List1, f.List2, f.List3, f.List4}, 1); }
} // namespace

class TestForm1 : public QObject {
    Q_OBJECT
private slots:
    void layout_data()
    {
        QTest::addColumn<QRect>("twips"); QTest::addColumn<QString>("text");
        QTest::addColumn<QColor>("back"); QTest::addColumn<double>("points");
        struct Row { const char *name; int l, t, w, h; const char *text; QColor back; double points; };
        const QColor reg(0xFF, 0x80, 0x80), cap(0xFF, 0xFF, 0xC0), none;
        const Row rows[] = {
            {"Option1", 105, 360, 2175, 495, "Drava Region", reg, 15.75}, {"Option2", 105, 1110, 2175, 495, "Ostin Region", reg, 15.75},
            {"Option3", 105, 1880, 2250, 495, "Merek Region", reg, 15.75}, {"Option4", 105, 2640, 2295, 495, "Tavrin Region", reg, 15.75},
            {"Combo1", 5025, 45, 2415, 315, "", none, 8.25}, {"Combo2", 5040, 840, 2415, 315, "", none, 8.25},
            {"Combo3", 5025, 1635, 2415, 315, "", none, 8.25}, {"Combo4", 5010, 2415, 2415, 315, "", none, 8.25},
            {"Combo5", 5025, 3210, 2415, 315, "", none, 8.25}, {"Combo6", 5025, 4005, 2415, 315, "", none, 8.25},
            {"Label3", 2880, 30, 1485, 360, "Evol Type !", cap, 15.75}, {"Label1", 2880, 915, 885, 360, "Level !", cap, 15.75},
            {"Label2", 2880, 1680, 1500, 360, "Item Used !", cap, 15.75}, {"Label4", 2880, 2460, 1410, 360, "Zoravni !", cap, 15.75},
            {"Label5", 2880, 3225, 1125, 360, "Attack  !", cap, 15.75}, {"Label6", 2880, 3990, 1890, 360, "Evolution To !", cap, 15.75},
            {"Label55", 420, 4590, 3705, 435, "Game Code = JRWA", QColor(0x80, 0xFF, 0xFF), 18},
            {"Label44", 405, 5400, 2775, 495, "kestrovanelle", QColor(Qt::white), 20.25},
            {"Command", 5955, 6555, 1650, 840, "Save", none, 14.25},
        };
        for (const char *list : {"List1", "List2", "List3", "List4"})
            QTest::newRow(list) << QRect(7920, 0, 2895, 7665) << QString() << none << 8.25;
        for (const Row &r : rows) QTest::newRow(r.name) << QRect(r.l, r.t, r.w, r.h) << QString::fromUtf8(r.text) << r.back << r.points;
    }
    void layout() // bold italic for all but the 8.25 pt lists and pickers
    {
        QFETCH(QRect, twips); QFETCH(QString, text); QFETCH(QColor, back); QFETCH(double, points);
        Form1 f;
        QWidget *w = f.centralWidget()->findChild<QWidget *>(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(w);
        const QRect px = w->geometry();
        const int got[] = {px.x(), px.y(), px.width(), px.height()}, want[] = {twips.x(), twips.y(), twips.width(), twips.height()};
        for (int i = 0; i < 4; ++i)
            QVERIFY2(qAbs(got[i] - qRound(want[i] / 15.0)) <= 1, qPrintable(QStringLiteral("%1: %2").arg(i).arg(got[i])));
        if (auto *label = qobject_cast<QLabel *>(w)) QCOMPARE(label->text(), text);
        if (auto *button = qobject_cast<QAbstractButton *>(w)) QCOMPARE(button->text(), text);
        if (back.isValid()) { QCOMPARE(w->palette().color(w->backgroundRole()), back); QVERIFY(w->autoFillBackground()); }
        QVERIFY2(qAbs(w->font().pointSizeF() - points) < 0.01, qPrintable(QString::number(w->font().pointSizeF())));
        QCOMPARE(w->font().bold(), points > 9); QCOMPARE(w->font().italic(), points > 9);
    }

    void startState()
    {
        Form1 f;
        QCOMPARE(f.windowTitle(), QStringLiteral("Zorvani veltrium level editor v 2.00 "));
        QCOMPARE(f.centralWidget()->size(), QSize(724, 576));
        for (QRadioButton *o : {f.Option1, f.Option2, f.Option3, f.Option4}) QVERIFY(!o->isHidden() && !o->isEnabled() && !o->isChecked());
        for (ListBox *l : {f.List1, f.List2, f.List3, f.List4}) QVERIFY(!l->Visible() && l->ListIndex() == -1);
        for (DropDown *c : {f.Combo1, f.Combo2, f.Combo3, f.Combo4, f.Combo5, f.Combo6}) {
            const bool main = c == f.Combo1 || c == f.Combo6;
            QCOMPARE(c->Visible(), main);
            QVERIFY(!(main && c->isEnabled()) && c->ListIndex() == -1 && !c->isEditable());
        }
        for (QLabel *l : {f.Label1, f.Label2, f.Label3, f.Label4, f.Label5, f.Label6, f.Label55, f.Label44})
            QVERIFY(!l->isHidden() && l->focusPolicy() == Qt::NoFocus);
        QVERIFY(f.Command->isEnabled());
        QVERIFY(f.menuBar()->actions().contains(f.About1) && f.menuBar()->actions().contains(f.File1->menuAction()));
        QCOMPARE(f.File1->actions(), (QList<QAction *>{f.Open1, f.Exit1}));
        QCOMPARE(f.Open1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(f.Command));
        QList<QWidget *> chain; QWidget *w = f.Option1;
        for (int guard = 0; guard < 1000 && (chain.isEmpty() || w != f.Option1); ++guard, w = w->nextInFocusChain())
            if (w->parentWidget() == f.centralWidget() && w->focusPolicy() != Qt::NoFocus) chain << w;
        QCOMPARE(chain, (QList<QWidget *>{f.Option1, f.List1, f.Combo1, f.Combo2, f.Combo3, f.Combo4, f.Combo5, f.Combo6,
                                          f.Command, f.List2, f.Option3, f.Option4, f.List3, f.List4, f.Option2}));
    }

    void rows()
    {
        Form1 f;
        const Names species = rowsOf(f.Combo6->model()), items = rowsOf(f.Combo3->model()), moves = rowsOf(f.Combo5->model());
        QCOMPARE(species.size(), 494); QCOMPARE(items.size(), 464); QCOMPARE(moves.size(), 468);
        QCOMPARE(species[0], QStringLiteral("??????????")); QCOMPARE(items[0], "None"); QCOMPARE(moves[0], "None");
        QCOMPARE(rowsOf(f.Combo4->model()), species);
        const int first[] = {0, 152, 252, 387}, count[] = {152, 100, 135, 107};
        const ListBox *lists[] = {f.List1, f.List2, f.List3, f.List4};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(lists[i]->count(), count[i]); QCOMPARE(rowsOf(lists[i]->model()), species.mid(first[i], count[i]));
        }
        QCOMPARE(items.mid(112, 23), Names(23, QStringLiteral("????????")));
        QVERIFY(items[111] != QStringLiteral("????????") && items[135] != QStringLiteral("????????"));
        QCOMPARE(rowsOf(f.Combo1->model()), (Names{"None", "Happiness Evo", "Happiness (Day)", "Happiness (Night)", "Level Evo",
            "Trade Evo", "Trade With Item", "Item Evo", "Attack > Defence", "Attack < Defence", "Attack = Defence", "Personaltiy <=4",
            "Personaltiy => 5", "Special Level Evo", "Party Spots > 0", "Max Beauty", items[109] + " (Male)", "Happiness (Day)",
            "Level With Item (Day)", "Level With Item (Night)", "Level With Attack", "Level With Zorvani", "Special Level Evo",
            "Special Level Evo", "Level at Mt.Vastrel", "Level at Ulvessa Forest", "Level at Route 217"}));
        Names levels; for (int level = 0; level <= 100; ++level) levels << QString::number(level);
        QCOMPARE(rowsOf(f.Combo2->model()), levels);
        for (Names names : {species, items.mid(0, 112) + items.mid(135), moves}) {
            QVERIFY(std::none_of(names.begin(), names.end(), [](const QString &n) { return n.trimmed().isEmpty(); }));
            QCOMPARE(names.removeDuplicates(), 0);
        }
    }

    void regionSwitch()
    {
        TestRom rom; Form1 f;
        openRom(f, rom.path());
        chooseRegion(f, 2); QCOMPARE(shownLists(f), 2);
        selectRow(f.List2, 5);
        f.Combo1->setListIndex(4); f.Combo2->setListIndex(37); f.Combo6->setListIndex(10);
        const State before = stateOf(f);
        AccessRecorder access;
        for (int region : {1, 3, 4, 2, 2}) { // ends with a click on the option already chosen
            chooseRegion(f, region);
            QCOMPARE(shownLists(f), region);
            QCOMPARE(changedNames(before, stateOf(f)).filter(QStringLiteral("Combo")), Names());
        }
        QCOMPARE(stateOf(f), before); // List2 shown again with its row, Option2 the one checked
        QVERIFY(access.accesses.isEmpty());
    }

    void methodChoice_data()
    {
        QTest::addColumn<int>("method"); QTest::addColumn<int>("shown");
        for (int m = -1; m <= 26; ++m)
            QTest::addRow("method %d", m) << m << (m == 4 ? 2 : m == 6 || m == 7 || m == 18 || m == 19 ? 3 : m == 20 ? 5 : m == 21 ? 4 : 0);
    }
    void methodChoice()
    {
        QFETCH(int, method); QFETCH(int, shown);
        Form1 f;
        DropDown *pickers[] = {f.Combo2, f.Combo3, f.Combo4, f.Combo5};
        for (int i = 0; i < 4; ++i) pickers[i]->setListIndex(7 + i);
        f.Combo1->setListIndex(method);
        QCOMPARE(shownPickers(f), shown);
        f.Combo1->setListIndex(method == 4 ? 6 : 4); // another picker, then back as the drop-down's own choice
        f.Combo1->setCurrentIndex(method);
        QCOMPARE(shownPickers(f), shown);
        for (int i = 0; i < 4; ++i) QCOMPARE(pickers[i]->ListIndex(), 7 + i);
        for (QLabel *l : {f.Label1, f.Label2, f.Label3, f.Label4, f.Label5, f.Label6}) QVERIFY(!l->isHidden());
    }

    // Keys on the shown window: Ctrl+O, the method by arrow keys, and focus into a list.
    void keyboard()
    {
        TestRom rom; Form1 f;
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        ScriptedChooser chooser; chooser.choose(rom.path());
        QTest::keyClick(&f, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(chooser.requests.size(), 1); QCOMPARE(f.romPath(), rom.path());
        f.Combo1->setFocus(); // the method by keys: row 4 after five downs, then 6
        for (int i = 0; i < 5; ++i) QTest::keyClick(f.Combo1, Qt::Key_Down);
        QCOMPARE(f.Combo1->ListIndex(), 4); QCOMPARE(shownPickers(f), 2);
        QTest::keyClick(f.Combo1, Qt::Key_Down); QTest::keyClick(f.Combo1, Qt::Key_Down);
        QCOMPARE(f.Combo1->ListIndex(), 6); QCOMPARE(shownPickers(f), 3);
        chooseRegion(f, 1);
        AccessRecorder access;
        for (Qt::FocusReason reason : {Qt::OtherFocusReason, Qt::TabFocusReason}) {
            f.Command->setFocus(); f.List1->setFocus(reason); QApplication::processEvents();
            QVERIFY(f.List1->hasFocus() && f.List1->ListIndex() == -1);
        }
        QVERIFY(access.reads().isEmpty());
    }

    void open()
    {
        TestRom rom; Form1 f;
        const State start = stateOf(f);
        ScriptedChooser chooser;
        chooser.cancel(); f.Open1->trigger(); // a cancelled first "Open" changes nothing
        QCOMPARE(f.romPath(), QString()); QCOMPARE(stateOf(f), start);
        chooser.choose(rom.path()); f.Open1->trigger();
        QCOMPARE(chooser.requests.size(), 2);
        const Platform::FileRequest &r = chooser.requests[1];
        QCOMPARE(r.title, QStringLiteral("Open Zorvani NDS ROM..."));
        QCOMPARE(r.filters, (QList<QPair<QString, QString>>{{"NDS ROMs (*.nds)", "*.nds"}}));
        QCOMPARE(r.flags, 6148); QCOMPARE(r.owner, static_cast<QWidget *>(&f)); QVERIFY(!r.save);
        QCOMPARE(f.romPath(), rom.path());
        QCOMPARE(changedNames(start, stateOf(f)), (Names{"Combo1", "Combo6", "Option1", "Option2", "Option3", "Option4"}));
        const State opened = stateOf(f);
        chooser.cancel(); f.Open1->trigger(); // a cancelled second "Open" keeps the ROM
        QCOMPARE(f.romPath(), rom.path()); QCOMPARE(stateOf(f), opened);
    }

    void aboutExitAndEarlySave()
    {
        Form1 f;
        MessageRecorder messages; AccessRecorder access; QuitRecorder quit;
        f.Command->click(); // before any "Open"
        f.Exit1->trigger();
        QCOMPARE(quit.quits, 1); QVERIFY(messages.boxes.isEmpty() && access.accesses.isEmpty());
        f.About1->trigger();
        QCOMPARE(messages.boxes.size(), 1);
        QCOMPARE(messages.boxes[0].text, QStringLiteral(" Zorvani Veltrium (E) "));
        QCOMPARE(messages.boxes[0].title, QStringLiteral("zorvani veltrium"));
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"

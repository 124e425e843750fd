#pragma once

#include <QMainWindow>
#include <QString>

#include <cstdint>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class ListBox;
class DropDown;

// The editor's one window. It holds every control and the path of the ROM;
// all work happens in its event handlers.
class Form1 : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(QWidget *parent = nullptr);

    // The controls, by the names the handlers use.
    QRadioButton *Option1, *Option2, *Option3, *Option4;
    ListBox *List1, *List2, *List3, *List4;
    DropDown *Combo1, *Combo2, *Combo3, *Combo4, *Combo5, *Combo6;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label55, *Label44;
    QPushButton *Command;
    QMenu *File1;
    QAction *Open1, *Exit1, *About1;

    [[nodiscard]] const QString &romPath() const { return RomPath; }

private slots:
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void Combo1_Click();
    void Command_Click();
    void Open1_Click();
    void Exit1_Click();
    void About1_Click();
    void List1_Click();
    void List2_Click();
    void List3_Click();
    void List4_Click();

private:
    void buildControls();
    void buildMenus();
    void showRegionList(int region);
    // A row chosen in one region list clears the other three, so that "Save"
    // writes only the species whose entry the pickers hold.
    void regionRowChosen(int region);

    // Save routines, called by "Save" in order a_c .. a_j; a_a and a_b hold
    // load rows of List1 and List3.
    void a_a();
    void a_b();
    void a_c();
    void a_d();
    void a_e();
    void a_f();
    void a_g();
    void a_h();
    void a_i();
    void a_j();

    // Row dispatch: for each row from first to last, the list's selected row
    // is asked afresh and the step of the matching row runs.
    void loadRows(int region, int firstRow, int lastRow);
    void saveRows(int region, int firstRow, int lastRow);

    // False when a read failed (its box is shown) and the load stopped.
    bool LoadEvolutionEntry(int species);
    // Writes the method, the target and the shown parameter, skipping empty pickers;
    // nothing when the file is too short for any of them.
    void SaveEvolutionEntry(int species);

    [[nodiscard]] ListBox *regionList(int region) const;

    QString RomPath;
    bool m_saveFailed = false;
};

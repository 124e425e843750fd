#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

// A list box whose selected row is ListIndex (-1 for none). Click is raised
// whenever the selected row changes, by the user or by code, and when the left
// mouse button is pressed on the row that is already selected; the current row
// that focus alone gives a list is not a selection.
class ListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ListBox(QWidget *parent = nullptr);

    // Kept up to date on every change of the selection: the save routines ask
    // for it once for every row they test.
    [[nodiscard]] int ListIndex() const { return m_listIndex; }
    // Selects row (-1 clears). With raiseClick false no Click is raised for it.
    void setListIndex(int row, bool raiseClick = true);
    [[nodiscard]] bool Visible() const { return !isHidden(); }

signals:
    void Click();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    // The user can move the selection to another row but never empty the list.
    [[nodiscard]] QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                                       const QEvent *event) const override;

private:
    void selectionChanged_();
    [[nodiscard]] int selectedRow() const;

    int m_listIndex = -1;
    bool m_silent = false; // selection changes update ListIndex but raise no Click
};

// A drop-down list of fixed rows; ListIndex is the chosen row, -1 for none.
// Click is raised whenever the chosen row changes, by the user or by code.
class DropDown : public QComboBox {
    Q_OBJECT
public:
    explicit DropDown(QWidget *parent = nullptr);

    // Replaces the rows and leaves no row chosen, without raising Click.
    void setRows(const QStringList &rows);
    [[nodiscard]] int ListIndex() const { return currentIndex(); }
    // Rows outside -1 .. count()-1 are refused: false and nothing changes.
    bool setListIndex(int row);
    [[nodiscard]] bool Visible() const { return !isHidden(); }

signals:
    void Click();
};

// An option button of a group: an arrow key chooses the next (Down, Right) or
// previous (Up, Left) enabled button of the group, wrapping round at its ends.
class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    using QRadioButton::QRadioButton;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// A command button that Return and Enter press as well as Space, while it has the focus.
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

#include "shell/controls.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStringListModel>

ListBox::ListBox(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true); // every row is one line in one font
    connect(this, &QListWidget::itemSelectionChanged, this, &ListBox::selectionChanged_);
}

int ListBox::selectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

void ListBox::setListIndex(int row, bool raiseClick)
{
    const bool wasSilent = m_silent;
    m_silent = !raiseClick;
    if (row < 0 || row >= count()) {
        clearSelection();
    } else {
        setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    }
    selectionChanged_();
    m_silent = wasSilent;
}

void ListBox::mousePressEvent(QMouseEvent *event)
{
    // A press that moves the selection raises Click through the selection change;
    // one on the selected row changes nothing there, so it raises Click here.
    const QModelIndex pressed = indexAt(event->position().toPoint());
    const bool again = event->button() == Qt::LeftButton && pressed.isValid() && pressed.row() == m_listIndex;
    QListWidget::mousePressEvent(event);
    if (again)
        emit Click();
}

void ListBox::keyPressEvent(QKeyEvent *event)
{
    // A key that moves the selection selects the new row twice: with the current
    // row, then once more as a selection rectangle. Click is raised once, after
    // both, so that a load that fails and clears the row does not run again.
    const int before = m_listIndex;
    m_silent = true;
    QListWidget::keyPressEvent(event);
    m_silent = false;
    if (m_listIndex != before)
        emit Click();
}

QItemSelectionModel::SelectionFlags ListBox::selectionCommand(const QModelIndex &index, const QEvent *event) const
{
    // A press on the selected row leaves the selection to the release. That row
    // is loaded on the press, and a failed load has cleared it since: the
    // release must not select it again.
    if (event && event->type() == QEvent::MouseButtonRelease)
        return QItemSelectionModel::NoUpdate;
    const QItemSelectionModel::SelectionFlags command = QListWidget::selectionCommand(index, event);
    const bool empties = !index.isValid() || command.testAnyFlags(QItemSelectionModel::Deselect | QItemSelectionModel::Toggle);
    if (m_listIndex >= 0 && empties)
        return QItemSelectionModel::NoUpdate;
    return command;
}

void ListBox::selectionChanged_()
{
    const int index = selectedRow();
    if (index == m_listIndex)
        return;
    m_listIndex = index;
    if (!m_silent)
        emit Click();
}

DropDown::DropDown(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(false);
    connect(this, &QComboBox::currentIndexChanged, this, &DropDown::Click);
}

void DropDown::setRows(const QStringList &rows)
{
    const QSignalBlocker blocker(this);
    // A plain string model: far cheaper than one item object a row.
    setModel(new QStringListModel(rows, this));
    setCurrentIndex(-1);
}

bool DropDown::setListIndex(int row)
{
    if (row < -1 || row >= count())
        return false;
    setCurrentIndex(row);
    return true;
}

void OptionButton::keyPressEvent(QKeyEvent *event)
{
    int step = 0;
    switch (event->key()) {
    case Qt::Key_Down:
    case Qt::Key_Right:
        step = 1;
        break;
    case Qt::Key_Up:
    case Qt::Key_Left:
        step = -1;
        break;
    default:
        QRadioButton::keyPressEvent(event);
        return;
    }
    const QList<QAbstractButton *> buttons = group() ? group()->buttons() : QList<QAbstractButton *>{this};
    const qsizetype count = buttons.size();
    qsizetype at = buttons.indexOf(this);
    for (qsizetype tried = 1; tried < count; ++tried) {
        at = (at + step + count) % count;
        QAbstractButton *next = buttons.at(at);
        if (next->isEnabled() && !next->isHidden()) {
            next->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            next->click();
            break;
        }
    }
    event->accept();
}

void CommandButton::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (enter && plain && !event->isAutoRepeat()) {
        click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

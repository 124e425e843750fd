#include "shell/controls.h"

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

#include "shell/controls.h"

ListBox::ListBox(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemSelectionChanged, this, &ListBox::selectionChanged_);
}

int ListBox::ListIndex() const
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
    const int index = ListIndex();
    if (index == m_lastIndex)
        return;
    m_lastIndex = index;
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
    clear();
    addItems(rows);
    setCurrentIndex(-1);
}

bool DropDown::setListIndex(int row)
{
    if (row < -1 || row >= count())
        return false;
    setCurrentIndex(row);
    return true;
}

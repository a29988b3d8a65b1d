#include "filelist.h"

namespace Dravix {

FileList::FileList(QWidget *parent)
    : QListWidget(parent)
{
}

void FileList::focusInEvent(QFocusEvent *event)
{
    // The view makes its first row current on focus; the arrow keys still start from the top.
    const bool hadCurrent = currentIndex().isValid();
    QListWidget::focusInEvent(event);
    if (!hadCurrent)
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    // The view repaints only its rows; the frame carries the focus ring.
    update();
}

void FileList::focusOutEvent(QFocusEvent *event)
{
    QListWidget::focusOutEvent(event);
    update();
}

} // namespace Dravix

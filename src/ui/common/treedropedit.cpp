#include "ui/common/treedropedit.h"

#include <QDropEvent>
#include <QItemSelectionModel>
#include <QTreeView>

TTreeDropEdit::TTreeDropEdit(QWidget *parent) : QPlainTextEdit(parent)
{
    setAcceptDrops(true);
}

bool TTreeDropEdit::IsTree(const QObject *source)
{
    return qobject_cast<const QTreeView *>(source) != nullptr;
}

QString TTreeDropEdit::SelectedItemText(QObject *source)
{
    auto *tree = qobject_cast<QTreeView *>(source);
    if (!tree || !tree->selectionModel())
        return QString();
    const QModelIndexList selected = tree->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : selected.first().data(Qt::DisplayRole).toString();
}

bool TTreeDropEdit::Takes(const QObject *source) const
{
    return DragOver ? DragOver(source) : IsTree(source);
}

void TTreeDropEdit::TreeDragOver(QDropEvent *event, const QObject *source)
{
    // The caret stays where it is: the drop goes in at the caret, not under the mouse.
    // Always a copy: a tree view removes the dragged item when the target reports a move,
    // which a drag with Shift held would otherwise propose.
    if (Takes(source))
    {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
    else
        event->ignore();
}

void TTreeDropEdit::TreeDrop(QDropEvent *event, QObject *source)
{
    if (!Takes(source))
    {
        event->ignore();
        return;
    }
    if (DragDrop)
        DragDrop(source);
    else if (const QString text = SelectedItemText(source); !text.isEmpty())
        insertPlainText(text);
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void TTreeDropEdit::dragEnterEvent(QDragEnterEvent *event)
{
    TreeDragOver(event, event->source());
}

void TTreeDropEdit::dragMoveEvent(QDragMoveEvent *event)
{
    TreeDragOver(event, event->source());
}

void TTreeDropEdit::dropEvent(QDropEvent *event)
{
    TreeDrop(event, event->source());
}

#include "ui/common/uihelpers.h"

#include <QAction>
#include <QMenu>

QAction *AddItem(QMenu *menu, const char *name, const QString &text, const QKeySequence &shortcut)
{
    QAction *action = menu->addAction(text);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    return action;
}

TFixedHeightDelegate::TFixedHeightDelegate(int height, QObject *parent)
    : QStyledItemDelegate(parent), Height(height)
{}

QSize TFixedHeightDelegate::sizeHint(const QStyleOptionViewItem &option,
                                     const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(Height);
    return size;
}

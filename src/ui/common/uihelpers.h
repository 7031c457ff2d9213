#pragma once

// Small pieces every window builds with: a named menu item, rows of one fixed height, the
// core's strings shown as Qt text.

#include <string>

#include <QKeySequence>
#include <QString>
#include <QStyledItemDelegate>

class QAction;
class QMenu;

// Adds an item to menu with its objectName (for the tests) and its shortcut.
QAction *AddItem(QMenu *menu, const char *name, const QString &text,
                 const QKeySequence &shortcut = QKeySequence());

// The core keeps its text in UTF-8 std::string.
inline QString Q(const std::string &s)
{
    return QString::fromStdString(s);
}

// Gives every row of a list the same height, whatever the font would ask for, so a small
// window packs as many rows as it allows.
class TFixedHeightDelegate : public QStyledItemDelegate
{
  public:
    TFixedHeightDelegate(int height, QObject *parent);

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

  private:
    int Height;
};

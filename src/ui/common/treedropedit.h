#pragma once

#include <functional>

#include <QPlainTextEdit>
#include <QString>

class QDropEvent;

// A plain-text edit that takes drops from a tree view and from nothing else: its owner says
// whether a drag's source is taken and puts the dropped item's text in. The text goes in at
// the caret (in place of the selection), wherever the mouse is released, and every drop is a
// copy, so the tree never loses the item.
class TTreeDropEdit : public QPlainTextEdit
{
    Q_OBJECT

  public:
    explicit TTreeDropEdit(QWidget *parent = nullptr);

    // Whether a drag from source is taken; the owner's drop then puts its text in.
    std::function<bool(const QObject *source)> DragOver;
    std::function<void(QObject *source)> DragDrop;

    // Whether source is a tree view, the only source of drops.
    static bool IsTree(const QObject *source);
    // The text of the tree's selected item: the dragged one. Empty when source is no tree or
    // nothing is selected in it.
    static QString SelectedItemText(QObject *source);

    // The drag handlers, with the drag's source passed apart from the event: an event names
    // its source only while a drag of this program is under way, and only a window system
    // runs one, so events built by hand can stand for a drag from a tree only this way.
    void TreeDragOver(QDropEvent *event, const QObject *source);
    void TreeDrop(QDropEvent *event, QObject *source);

  protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

  private:
    bool Takes(const QObject *source) const;
};

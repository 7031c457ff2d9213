#pragma once

#include <QMainWindow>

class QPlainTextEdit;
class QTreeWidget;

// The Line Builder: a tool window in which script lines are assembled from the tree of
// verbs and symbols before the editor pastes them into a script.
class TVF : public QMainWindow
{
    Q_OBJECT

  public:
    explicit TVF(QWidget *parent = nullptr);

    // The tree of verbs, symbol types and the script's "Symbols Used"; its items can be
    // dragged into an editor.
    QTreeWidget *TV;
    // The line being built.
    QPlainTextEdit *RE1;

  protected:
    void showEvent(QShowEvent *event) override;
};

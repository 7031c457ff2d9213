#pragma once

#include <QMainWindow>

#include "core/linebuilder/flagcalc.h"

class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
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

    // The flag calculator (flagpanel.cpp): the check list of the 32 positions of a flag value
    // and the "Flags" button that writes the value into the line; both hidden while closed.
    QListWidget *CLB;
    QPushButton *FlagOK;
    TFlagCalc FlagCalc;
    // Opens the calculator for flagLine, the line a double-click on a flag verb builds; false,
    // changing nothing, when the line opens none (no "flag*", or "Get" in it).
    bool SortFlag(const QString &flagLine);
    // Puts the completed line in place of RE1's selection and closes the calculator, or tells
    // the user why nothing was written.
    void FlagOKClick();
    void HideFlagCalculator();

  protected:
    void showEvent(QShowEvent *event) override;

  private:
    // The left pane: the tree over the calculator's button strip and check list.
    void CreateFlagPanel(QSplitter *splitter);
};

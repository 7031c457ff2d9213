#pragma once

#include <array>

#include <QMainWindow>

#include "core/linebuilder/flagcalc.h"

class QListWidget;
#include "core/analysis/symtools.h"

class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QTreeWidget;
class QTreeWidgetItem;

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
    // The script's declared symbols in TV: the top-level "Symbols Used" node and its type
    // nodes, indexed as SymbolTypes; none where the last scan found no such symbol.
    QTreeWidgetItem *SymbolsUsedNode = nullptr;
    std::array<QTreeWidgetItem *, SymbolTypeCount> TypeNodes{};
    // Set while the program moves TV's selection, so the move looks nothing up.
    bool SuppressLookup = false;
    // Replaces the "Symbols Used" branch (the empty one of a fresh tree included) with tree,
    // as the first top-level node. Names are script bytes.
    void ShowSymbolsUsed(const TSymbolTree &tree);
    // The type node captioned caption ("Thing"); none when there is none.
    QTreeWidgetItem *TypeNode(const QString &caption) const;
    // The symbol jumps of a selected text: shows the type node of each kind whose keyword the
    // text contains, so the last one stays selected; kinds without a node are skipped.
    void JumpToSymbols(const QString &selected);
    // Selects node with every other branch collapsed, at the top of the tree, and gives the
    // tree the focus; the description is not looked up.
    void ShowNode(QTreeWidgetItem *node);

  protected:
    void showEvent(QShowEvent *event) override;

  private:
    // The left pane: the tree over the calculator's button strip and check list.
    void CreateFlagPanel(QSplitter *splitter);
};

#pragma once

#include <array>

#include <QFont>
#include <QMainWindow>
#include <QString>
#include <QStringList>

#include "core/analysis/symtools.h"
#include "core/linebuilder/flagcalc.h"
#include "core/shell/folders.h"
#include "ui/common/treedropedit.h"

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;
class TPrompts;
class TRes;
struct TRefNode;

// The Line Builder: a tool window in which script lines are assembled from the tree of verbs
// and symbols, snippets, operators, resource pickers and the flag calculator before the
// editor pastes them into a script.
class TVF : public QMainWindow
{
    Q_OBJECT

  public:
    // dataDir: the folder of the reference data files, ending with "/". prompts: where the
    // window's questions go. game: the folders set by the user (the template file), which
    // outlive the window.
    TVF(const QString &dataDir, TPrompts &prompts, const TGameFolders &game,
        QWidget *parent = nullptr);

    // The Resource Picker the placeholders and the template pick use; the frame hands it
    // over once it is made (it is created after this window).
    void SetPicker(TRes *picker) { Picker = picker; }

    // The tree of verbs, symbol types and the script's "Symbols Used"; its items can be
    // dragged into an editor.
    QTreeWidget *TV;
    // The line being built; it takes drops from a tree.
    TTreeDropEdit *RE1;
    // The description of the selected entry.
    QPlainTextEdit *RE2;
    // The sorted operator list, hidden until "Operators".
    QListWidget *LB1;
    // The two toolbars; exactly one is visible.
    QToolBar *P2;
    QToolBar *P3;
    // The status strip: its caption, the stay-on-top label and the project-directory label.
    QWidget *P1;
    QLabel *P1Caption;
    QLabel *OnTopLabel;
    QLabel *ProjectLabel;

    QAction *Window1;
    QMenu *Toolbar1;
    QAction *HideOperators1;
    QAction *UseProjectDirectory1;
    QAction *Editortop1;
    QAction *DisplayBottom1;
    QAction *List1;

    // While set, a change of the tree's selection looks nothing up.
    bool SuppressLookup = false;
    // While on, resource placeholders are filled from the project folder by a file dialog.
    bool ProjectDirMode = false;

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

    // The whole built line, selected as the editor's Paste takes it; the selection made here
    // is the program's own and sets off no resource picker.
    QString SelectBuiltLine();

    // Handlers.
    void FormShow();
    void TVClick();
    void TVChange();
    void TVDblClick();
    void SBClearClick();
    void SBIF1Click();
    void SBIF2Click();
    void SBIf3Click();
    void SBIf4Click();
    void SBFor1Click();
    void SBFor2Click();
    void SBWhile1Click();
    void SBwhile2Click();
    void SBCom1Click();
    void SBCom2Click();
    void SBOPerClick();
    void HideOperators1Click();
    void LB1Click();
    void LB1DblClick();
    void Toolbar1Click();
    void OnTopClick();
    void UseProjectDirectory1Click();
    void Editortop1Click();
    void DisplayBottom1Click();
    void List1Click();
    void RE1SelectionChange();
    // Drops on RE1: only a tree's are taken; the dragged node's text goes in place of the
    // selection.
    bool RE1DragOver(const QObject *source) const;
    void RE1DragDrop(QObject *source);

    // Inserts a snippet: first in place of the selection, each further line appended as a new
    // last line; the caret goes to position caret within first.
    void LoopMake(const QString &first, const QStringList &further, int caret);
    // Fills the resource placeholder of extension ext (".mat"...) inside the selection text.
    QString GetResSel(const QString &ext);
    // Lists the templates in the picker and shows it; returns the picked name, or empty when
    // the picker was left without OK.
    QString GetTplNam();
    // Whether the picker was left with OK.
    bool DisplayAll();
    // The script's declared symbols in TV: the top-level "Symbols Used" node and its type
    // nodes, indexed as SymbolTypes; none where the last scan found no such symbol.
    QTreeWidgetItem *SymbolsUsedNode = nullptr;
    std::array<QTreeWidgetItem *, SymbolTypeCount> TypeNodes{};
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

  signals:
    // The window was shown: the frame records the editor it serves.
    void Shown();

  protected:
    // The menu hints ("Toggles the window  StayOnTop setting") show in the status strip.
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void FormCreate();
    void CreateMenus();
    void CreateToolbars();
    QAction *AddSnippetButton(QToolBar *bar, const QString &name, const QString &caption,
                              void (TVF::*handler)());
    // Puts text in place of RE1's selection without setting off the selection analysis.
    void ReplaceSelection(const QString &text);
    void ChooseFontFor(QWidget *control);
    // The calculator's button strip and check list under the tree in the left pane.
    void CreateFlagPanel(QWidget *pane, QVBoxLayout *layout);
    void LookUp(const QString &name);
    // Whether node is a declared symbol's name under "Symbols Used".
    bool IsSymbolEntry(const QTreeWidgetItem *node) const;
    void AddRefNode(QTreeWidgetItem *parent, const TRefNode &node);

    TPrompts &Ask() const { return OwnPrompts; }

    TPrompts &OwnPrompts;
    QString DataDir;
    const TGameFolders &Game;
    TRes *Picker = nullptr;
    QSplitter *LowerArea;
    QFont LastChosenFont;
    // Set while the window changes RE1 itself; the selection analysis then stays quiet.
    int OwnEdits = 0;
    // A selection made with the mouse is analysed once the button is released, by the
    // selection change of the release or, when that brings none, by a queued run.
    bool AnalysisPending = false;
    bool AnalysisQueued = false;
    // The left button went down on RE1 and is not up yet.
    bool MouseSelecting = false;
    // Set while a picker asks for a placeholder: the selection it fills is the one it opened
    // for, and whatever selection changes arrive meanwhile open no further picker.
    bool Picking = false;
    // The caption of the status strip before a menu hint took its place.
    bool HintShown = false;
    QString CaptionBeforeHint;
    // The entry last looked up, which the status strip shows while no flag kind does.
    QString LookedUpName;
};

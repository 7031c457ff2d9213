#pragma once

#include <vector>

#include <QObject>
#include <QPoint>

#include "core/analysis/scriptaids.h"

class QAction;
class QCompleter;
class QFrame;
class QKeyEvent;
class QLabel;
class QListWidget;
class QModelIndex;
class TCogEdit;
class TCogHighlighter;
class TCompletionModel;
class TLiveCheck;
class TRTFForm;

// The aids of a script editor for someone writing COG: a list of the words that may be written
// (Ctrl+Space, or by itself after three letters of a word), a verb inserted with its parameters
// and the first one selected, a tip with the parameters of the call being written, tooltips over
// findings, verbs, symbols and flag numbers, go to definition (F12, Ctrl+click) and the uses of
// a symbol or label in a list (Shift+F12). They read the analysis of the window's live check.
class TCodeAssist : public QObject
{
    Q_OBJECT

  public:
    TCodeAssist(TRTFForm *form, TLiveCheck *check);

    // Opens the list of what may be written at the caret; with only one word fitting what is
    // typed, asked for by the user, that word goes in at once.
    void CompleteWord1Click();
    void GoToDefinition1Click();
    void FindUses1Click();
    // The tooltip at a point of the editor's viewport: the finding there and what the word is.
    QString TipAt(const QPoint &point);

    QAction *CompleteWord1;
    QAction *GoToDefinition1;
    QAction *FindUses1;
    QCompleter *Completer;
    // The parameters of the call at the caret, the one being written in bold.
    QLabel *ParameterTip;
    QFrame *UsesPanel;
    QLabel *UsesTitle;
    QListWidget *UsesList;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    // The list of uses, between the text and the bars below it.
    void MakeUsesPanel();
    // Whether the key is the completion list's to take; false lets the editor have it.
    bool KeyTaken(QKeyEvent *event);
    // After the editor took a key: the list follows the word, or opens after enough letters.
    void KeyDone(QKeyEvent *event);
    void ShowCompletion(bool asked);
    // Shows the words that start with prefix, the first one chosen; with none the list goes.
    // Asked for, a word that is the only one to fit goes in at once.
    void ShowList(const QString &prefix, bool asked);
    void InsertCompletion(const QModelIndex &index);
    void ShowParameterTip();
    void ShowUse(int row);
    // The caret's line in script bytes and the caret's column in it.
    std::string CaretLine(int &column) const;
    TLineReader Lines() const;
    // The place at a character position, from the analysis.
    TScriptPlace PlaceAtPosition(const TScriptAnalysis &analysis, int position) const;
    void SelectRange(const TScriptRange &range);

    TRTFForm *Form;
    TCogEdit *Editor;
    TLiveCheck *Check;
    TCogHighlighter *Highlighter;
    TCompletionModel *Model;
    // Where the word being completed starts in the document.
    int WordStart = 0;
    std::vector<TScriptRange> Uses;
};

#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QPlainTextEdit>
#include <QTextEdit>

#include "core/analysis/symtools.h"
#include "core/shell/fileio.h"
#include "ui/common/treedropedit.h"
#include "ui/editor/editortools.h"
#include "ui/frame/childwindow.h"

class QLabel;
class TCodeAssist;
class TLiveCheck;
class QPrinter;
class TPrompts;
class TRTFForm;
class QStatusBar;
class QToolBar;
class QToolButton;

// The text area of a script editor: plain text, no wrap, a tab key that inserts a tab, the
// Edit menu's own shortcuts (Ctrl+B, Ctrl+D, Ctrl+U) left to the menu, and drops from a tree
// view inserting the tree's selected item at the caret.
class TCogEdit : public TTreeDropEdit
{
    Q_OBJECT

  public:
    TCogEdit(TRTFForm *owner, QWidget *parent);

    // Room at the left of the text, for the line numbers.
    void SetLeftMargin(int width) { setViewportMargins(width, 0, 0, 0); }

    // Sees a key before the text does; true when it took the key.
    std::function<bool(QKeyEvent *event)> KeyTaken;
    // Sees a key after the text took it.
    std::function<void(QKeyEvent *event)> KeyDone;

  protected:
    bool event(QEvent *event) override;
    // Shift+Enter ends a line as Enter does: the text holds no break inside a line.
    void keyPressEvent(QKeyEvent *event) override;
    // Pasted text comes in with its line breaks made the editor's own.
    void insertFromMimeData(const QMimeData *source) override;
};

// What writing a text does with characters a script file cannot hold.
enum class TUnwritable
{
    // Asks the user first; No writes nothing.
    Ask,
    // Writes "?" for them without asking.
    WriteAsFileHoldsIt
};

// A script editor window: one COG script, its tool bar tying it to the Line Builder and the
// Syntax Checker, and the reading and writing of the script's file.
class TRTFForm : public TMDIChild
{
    Q_OBJECT

  public:
    // prompts: where the editor's questions, dialogs and failures go. cogDir: the folder of
    // the scripts, where Save As starts and the starter script lies.
    TRTFForm(TPrompts &prompts, const std::string &cogDir, QWidget *parent = nullptr);
    ~TRTFForm() override;

    QList<QMenu *> MergedMenus() const override;

    // The window's caption: "Quillex" until a file is loaded, then the file's path as given.
    QString Caption() const { return TEditorTools::FileCaption(this); }

    // Replaces the text with the file at path (Latin-1, any line ends); the text then counts
    // as unmodified and the caption becomes path. A file that cannot be read is reported and
    // leaves text and caption as they were; returns whether it was loaded.
    bool LoadFile(const QString &path);
    // Writes the text to the file named by the caption; returns whether it was written. While
    // the caption is the starter script's path (after New), asks first whether to write over
    // it; No goes to Save As instead.
    bool Save();
    // Asks for a file name (in CogDir, ".cog" added) and writes the text there; the caption
    // becomes that name once the file is written.
    bool SaveAs();
    bool IsModified() const;

    // The text as the script's bytes: Latin-1, lines ending with LF.
    std::string Text() const;
    void SetText(const std::string &text);
    // The lines of the text as Latin-1 bytes, without line ends.
    std::vector<std::string> Lines() const;
    int LineCount() const;
    std::string Line(int index) const;
    // Replaces the text of line index, as one undoable edit.
    void SetLine(int index, const std::string &text);
    // The character offset at which line index begins.
    int LineStart(int index) const;
    // Selects length characters from the character offset start.
    void SelectRange(int start, int length);
    // Replaces the selection with text (inserts it at the caret when nothing is selected).
    void ReplaceSelection(const QString &text);
    // Writes the text to path (Windows-1252, CR LF), through a temporary file where the folder
    // allows one, so a failed write leaves the file as it was; in a folder that refuses new
    // files the file is written in place. The failure is reported. The caption is not touched.
    // A text holding characters a script file cannot hold is written (with "?" for them) only
    // when the user agrees; otherwise nothing is written and false is returned.
    bool SaveToFile(const QString &path, TUnwritable unwritable = TUnwritable::Ask);
    // Reads the text back from path; a failure is reported and leaves the text as it was.
    // The caption is not touched.
    bool LoadFromFile(const QString &path);

    // Tab stops in character widths of the editor's font.
    static QList<int> SymbolTabStops();
    static QList<int> CodeTabStops();
    // The tab stops of the text, in character widths.
    QList<int> TabStops() const;
    QString StatusText() const;

    // Edit commands, also run by the frame's speed buttons.
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    void Delete1Click();
    void Undo1Click();
    void SelectAll1Click();
    void Font1Click();

    // Tool bar handlers.
    void TabBClick();
    void SBShowLBClick();
    void PasteBClick();
    void SBConCheckClick();
    void FormatCogClick();
    // Pastes the Line Builder's line, handed over by whoever answers PasteAsked, at the caret
    // and leaves it on the clipboard; says "Nothing to paste" when its first line is empty.
    void PasteBuiltLine(const QString &line);

    // Drops onto the text: only a tree view may drop, and its selected item's text goes in
    // at the caret, wherever the mouse was released.
    bool REDragOver(const QObject *source) const;
    void REDragDrop(QObject *source);

    // Selects line index and colours it red. The red is drawn over the text, not stored in
    // it: no edit to undo, no change of the modified state. It stays until the text is read
    // from a file again.
    void HiLitLine(int index);
    void ClearRedLines();
    // Reads the symbols section and hands its tree out with SymbolsScanned; a text without a
    // section hands out nothing.
    void ScanSymbols();

    // The close question: true when the window may close (saved, or not modified, or the
    // user chose not to save).
    bool FormCloseQuery();

    // Looks whether the script's file changed on disk since it was loaded or saved (another
    // program, or an extraction over it). An unmodified text is read again, and the status
    // line says so; a modified one is read again only when the user agrees. A file gone from
    // disk is said once in the status line.
    void CheckFileOnDisk();

    // The printer of this window, kept between Print Setup and Print.
    QPrinter *Printer();

    TCogEdit *RE;
    QToolBar *ToolBar1;
    QToolButton *TabB;
    QToolButton *SBShowLB;
    QToolButton *PasteB;
    QToolButton *SBConCheck;
    QToolButton *SBSort;
    QStatusBar *StatusBar1;
    QLabel *StatusPanel;
    QMenu *Edit1;
    QMenu *Character1;
    QAction *Cut1;
    QAction *Copy1;
    QAction *Paste1;
    QAction *Delete1;
    QAction *Undo1;
    QAction *SelectAll1;
    QAction *Font1;
    // Highlighting, line numbers, find and replace, Redo.
    TEditorTools *Tools;
    // The finding under the caret, from the check as you type.
    QLabel *FindingPanel;
    TLiveCheck *LiveCheck;
    // Completion, tooltips, go to definition, the list of uses.
    TCodeAssist *Assist;

  signals:
    // The window's own surface was clicked: it is the one the tools serve.
    void Clicked(TRTFForm *editor);
    // "LineBuilder": show the Line Builder for this window.
    void LineBuilderAsked(TRTFForm *editor);
    // The declared symbols of the script, for the Line Builder's "Symbols Used".
    void SymbolsScanned(TRTFForm *editor, const TSymbolTree &tree);
    // "Paste": the Line Builder's line is wanted; the answer is PasteBuiltLine.
    void PasteAsked(TRTFForm *editor);
    // "Check Cog": check this window's text and list the findings.
    void CheckRequested(TRTFForm *editor);

  protected:
    void Save1Click() override;
    void SaveAs1Click() override;
    void Print1Click() override;
    void PrintSetup1Click() override;
    void closeEvent(QCloseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;

  private:
    // Draws the underlines of the live check and the red lines over the text.
    void ShowMarks();
    void SetTabLayout(const QList<int> &points, const QString &status);
    // Whether the text may be written: true when every character has its byte in a script
    // file, or when the user agrees to "?" for those that do not.
    bool AgreeToUnwritableCharacters();

    TPrompts &OwnPrompts;
    const std::string CogDir;
    // The file the text belongs to; empty until a file was loaded or saved under a name.
    QString FileName;
    std::unique_ptr<QPrinter> ThePrinter;
    QList<int> CurrentTabStops;
    // The lines coloured by HiLitLine, as selections drawn over the text.
    QList<QTextEdit::ExtraSelection> RedLines;

    // Reads the file at path into bytes; a failure is reported and gives false.
    bool ReadFileBytes(const QString &path, std::string &bytes);
    // Puts a file's bytes in place of the text, as LoadFromFile does.
    void ShowFileBytes(const std::string &bytes);
    // Loads a file's bytes as LoadFile does: the text unmodified, the caption the path.
    void TakeFile(const QString &path, const std::string &bytes);
    // The file as it was when the text was loaded from it or saved to it.
    TFileStamp OnDisk;
    bool CheckingDisk = false;
};

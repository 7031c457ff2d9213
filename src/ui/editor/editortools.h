#pragma once

#include <QObject>
#include <QString>

class QAction;
class QLabel;
class QWidget;
class TCogHighlighter;
class TFindBar;
class TGoToBar;
class TLineGutter;
class TRTFForm;

// The code-editor aids of a script editor window: syntax colours, line numbers, the caret's
// line and column in the status bar, find and replace, "Go to line", Redo, and the marker of
// a modified text in the title bar. The window's caption stays the file's path: the marker
// is Qt's "[*]" placeholder, which FileCaption leaves out.
class TEditorTools : public QObject
{
    Q_OBJECT

  public:
    explicit TEditorTools(TRTFForm *form);

    // A window's caption without the modified marker: the file's path, or "Quillex".
    static QString FileCaption(const QWidget *window);

    // Puts text in place of the editor's whole text, as setPlainText does: no undo history,
    // the text unmodified and without character formats, the caret at the start. Quicker on a
    // long text: the highlighter does not go over every line (the lines out of view only get
    // their sections), and the line numbers take their width before the text goes in.
    void ReplaceText(const QString &text);

    void SetHighlighting(bool on);
    bool Highlighting() const;

    void Redo1Click();
    void Find1Click();
    void FindNext1Click();
    void FindPrevious1Click();
    void Replace1Click();
    void GoToLine1Click();

    TCogHighlighter *Highlighter;
    TLineGutter *Gutter;
    TFindBar *FindBar;
    TGoToBar *GoToBar;
    QLabel *CaretPanel;
    QAction *Redo1;
    QAction *Find1;
    QAction *FindNext1;
    QAction *FindPrevious1;
    QAction *Replace1;
    QAction *GoToLine1;

  signals:
    // The window's text was loaded from, or saved under, path.
    void FileNamed(const QString &path);

  private:
    void ShowCaret();
    void CaptionChanged(const QString &title);

    TRTFForm *Form;
};

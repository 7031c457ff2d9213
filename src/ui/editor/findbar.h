#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRegularExpression;
class QSpinBox;
class QTextCursor;

// The find and replace bar under an editor's text: a search text with "match case" and
// "whole word", a replacement text, and the commands on them. A search wraps round the end
// of the text; Replace All is one edit that one Undo takes back.
class TFindBar : public QWidget
{
    Q_OBJECT

  public:
    explicit TFindBar(QPlainTextEdit *editor, QWidget *parent = nullptr);

    // Shows the bar with the search text focused (the selection, when there is one on one
    // line, becomes the search text); withReplace shows the replacement row too.
    void ShowFind(bool withReplace);
    // Selects the next (or previous) match from the caret, round the end of the text.
    // Returns false, and says so in the bar, when there is none.
    bool FindNext(bool backward = false);
    // Replaces the selection when it is a match, then selects the next match.
    void ReplaceOne();
    // Replaces every match in one undoable edit; returns how many.
    int ReplaceAll();

    QLineEdit *FindEdit;
    QLineEdit *ReplaceEdit;
    QCheckBox *MatchCase;
    QCheckBox *WholeWord;
    QPushButton *NextButton;
    QPushButton *PreviousButton;
    QPushButton *ReplaceButton;
    QPushButton *ReplaceAllButton;
    QPushButton *CloseButton;
    QLabel *Result;

  protected:
    void keyPressEvent(QKeyEvent *event) override;

  private:
    // The search text as an expression, with the letter case and the word test asked for.
    QRegularExpression Pattern() const;
    QTextCursor Search(const QRegularExpression &expression, const QTextCursor &from,
                       bool backward) const;
    bool IsMatch(const QTextCursor &cursor) const;

    QPlainTextEdit *Editor;
    QWidget *ReplaceRow;
};

// The "Go to line" bar: a line number (1-based) and a button that moves the caret there.
class TGoToBar : public QWidget
{
    Q_OBJECT

  public:
    explicit TGoToBar(QPlainTextEdit *editor, QWidget *parent = nullptr);

    void ShowBar();
    // Moves the caret to the start of line (1-based, kept within the text) and shows it; a
    // line past the end goes to the last one, and says so.
    void GoToLine(int line);

    QSpinBox *LineBox;
    QPushButton *GoButton;

  signals:
    // A line past the end was asked for; the caret went to the last line.
    void PastTheEnd(const QString &text);

  protected:
    void keyPressEvent(QKeyEvent *event) override;

  private:
    QPlainTextEdit *Editor;
};

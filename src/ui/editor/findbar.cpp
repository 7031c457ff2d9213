#include "ui/editor/findbar.h"

#include <algorithm>
#include <limits>

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {
QPushButton *AddButton(QHBoxLayout *row, QWidget *parent, const char *name, const QString &text)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::TabFocus);
    row->addWidget(button);
    return button;
}

QLineEdit *AddEdit(QHBoxLayout *row, QWidget *parent, const char *name, const QString &label)
{
    auto *caption = new QLabel(label, parent);
    caption->setMinimumWidth(60);
    row->addWidget(caption);
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMinimumWidth(160);
    row->addWidget(edit, 1);
    return edit;
}

// Escape hides a bar and gives the focus back to its editor; true when it did.
bool CloseOnEscape(QWidget *bar, QPlainTextEdit *editor, const QKeyEvent *event)
{
    if (event->key() != Qt::Key_Escape)
        return false;
    bar->hide();
    editor->setFocus();
    return true;
}
} // namespace

TFindBar::TFindBar(QPlainTextEdit *editor, QWidget *parent) : QWidget(parent), Editor(editor)
{
    setObjectName("FindBar");
    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(4, 2, 4, 2);
    rows->setSpacing(2);

    auto *findRow = new QHBoxLayout;
    FindEdit = AddEdit(findRow, this, "FindEdit", "Find:");
    NextButton = AddButton(findRow, this, "NextButton", "Next");
    PreviousButton = AddButton(findRow, this, "PreviousButton", "Previous");
    MatchCase = new QCheckBox("match case", this);
    MatchCase->setObjectName("MatchCase");
    WholeWord = new QCheckBox("whole word", this);
    WholeWord->setObjectName("WholeWord");
    findRow->addWidget(MatchCase);
    findRow->addWidget(WholeWord);
    Result = new QLabel(this);
    Result->setObjectName("Result");
    Result->setMinimumWidth(90);
    findRow->addWidget(Result);
    CloseButton = AddButton(findRow, this, "CloseButton", "Close");
    rows->addLayout(findRow);

    ReplaceRow = new QWidget(this);
    auto *replaceRow = new QHBoxLayout(ReplaceRow);
    replaceRow->setContentsMargins(0, 0, 0, 0);
    ReplaceEdit = AddEdit(replaceRow, ReplaceRow, "ReplaceEdit", "Replace:");
    ReplaceButton = AddButton(replaceRow, ReplaceRow, "ReplaceButton", "Replace");
    ReplaceAllButton = AddButton(replaceRow, ReplaceRow, "ReplaceAllButton", "Replace All");
    replaceRow->addStretch();
    rows->addWidget(ReplaceRow);

    connect(FindEdit, &QLineEdit::returnPressed, this, [this] { FindNext(); });
    connect(ReplaceEdit, &QLineEdit::returnPressed, this, [this] { ReplaceOne(); });
    connect(NextButton, &QPushButton::clicked, this, [this] { FindNext(); });
    connect(PreviousButton, &QPushButton::clicked, this, [this] { FindNext(true); });
    connect(ReplaceButton, &QPushButton::clicked, this, [this] { ReplaceOne(); });
    connect(ReplaceAllButton, &QPushButton::clicked, this, [this] { ReplaceAll(); });
    connect(CloseButton, &QPushButton::clicked, this, [this] {
        hide();
        Editor->setFocus();
    });
    hide();
}

void TFindBar::ShowFind(bool withReplace)
{
    const QString selected = Editor->textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
        FindEdit->setText(selected);
    ReplaceRow->setVisible(withReplace);
    Result->clear();
    show();
    FindEdit->setFocus();
    FindEdit->selectAll();
}

QRegularExpression TFindBar::Pattern() const
{
    // Our own word test: names in scripts hold underscores, which Qt's whole-word search
    // counts as a word's end.
    QString pattern = QRegularExpression::escape(FindEdit->text());
    if (WholeWord->isChecked())
        pattern = "(?<![A-Za-z0-9_])" + pattern + "(?![A-Za-z0-9_])";
    QRegularExpression expression(pattern);
    if (!MatchCase->isChecked())
        expression.setPatternOptions(QRegularExpression::CaseInsensitiveOption);
    return expression;
}

QTextCursor TFindBar::Search(const QRegularExpression &expression, const QTextCursor &from,
                             bool backward) const
{
    // The document's search goes by its own flag for the letter case, whatever the
    // expression says.
    QTextDocument::FindFlags flags;
    if (MatchCase->isChecked())
        flags |= QTextDocument::FindCaseSensitively;
    if (backward)
        flags |= QTextDocument::FindBackward;
    return Editor->document()->find(expression, from, flags);
}

bool TFindBar::IsMatch(const QTextCursor &cursor) const
{
    if (!cursor.hasSelection() || FindEdit->text().isEmpty())
        return false;
    QTextCursor start(Editor->document());
    start.setPosition(cursor.selectionStart());
    const QTextCursor found = Search(Pattern(), start, false);
    return !found.isNull() && found.selectionStart() == cursor.selectionStart() &&
           found.selectionEnd() == cursor.selectionEnd();
}

bool TFindBar::FindNext(bool backward)
{
    if (FindEdit->text().isEmpty())
        return false;
    const QRegularExpression expression = Pattern();
    const QTextCursor caret = Editor->textCursor();
    QTextCursor from(Editor->document());
    from.setPosition(backward ? caret.selectionStart() : caret.selectionEnd());
    QTextCursor found = Search(expression, from, backward);
    if (found.isNull())
    {
        QTextCursor wrap(Editor->document());
        wrap.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
        found = Search(expression, wrap, backward);
    }
    if (found.isNull())
    {
        Result->setText("Not found");
        return false;
    }
    Result->clear();
    Editor->setTextCursor(found);
    Editor->ensureCursorVisible();
    return true;
}

void TFindBar::ReplaceOne()
{
    QTextCursor cursor = Editor->textCursor();
    if (IsMatch(cursor))
    {
        cursor.insertText(ReplaceEdit->text());
        Editor->setTextCursor(cursor);
    }
    FindNext();
}

int TFindBar::ReplaceAll()
{
    if (FindEdit->text().isEmpty())
        return 0;
    // One expression for the whole run, however many matches it replaces.
    const QRegularExpression expression = Pattern();
    int count = 0;
    QTextCursor edit(Editor->document());
    edit.beginEditBlock();
    QTextCursor from(Editor->document());
    for (QTextCursor found = Search(expression, from, false); !found.isNull();
         found = Search(expression, found, false))
    {
        found.insertText(ReplaceEdit->text());
        ++count;
    }
    edit.endEditBlock();
    Result->setText(QString("%1 replaced").arg(count));
    return count;
}

void TFindBar::keyPressEvent(QKeyEvent *event)
{
    if (!CloseOnEscape(this, Editor, event))
        QWidget::keyPressEvent(event);
}

TGoToBar::TGoToBar(QPlainTextEdit *editor, QWidget *parent) : QWidget(parent), Editor(editor)
{
    setObjectName("GoToBar");
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->addWidget(new QLabel("Go to line:", this));
    LineBox = new QSpinBox(this);
    LineBox->setObjectName("LineBox");
    LineBox->setMinimum(1);
    LineBox->setMinimumWidth(90);
    row->addWidget(LineBox);
    GoButton = AddButton(row, this, "GoButton", "Go");
    row->addStretch();
    connect(GoButton, &QPushButton::clicked, this, [this] { GoToLine(LineBox->value()); });
    connect(LineBox, &QSpinBox::editingFinished, this, [this] {
        if (LineBox->hasFocus())
            GoToLine(LineBox->value());
    });
    hide();
}

void TGoToBar::ShowBar()
{
    // Any number is taken: a box bounded by the line count would drop the digit that takes a
    // number past it (500 typed in a 120-line script would be 50).
    LineBox->setMaximum(std::numeric_limits<int>::max());
    LineBox->setValue(Editor->textCursor().blockNumber() + 1);
    show();
    LineBox->setFocus();
    LineBox->selectAll();
}

void TGoToBar::GoToLine(int line)
{
    const int last = std::max(1, Editor->blockCount());
    const int index = std::clamp(line, 1, last) - 1;
    if (line > last)
        emit PastTheEnd(
            QString("There is no line %1: the script ends at line %2.").arg(line).arg(last));
    QTextCursor cursor(Editor->document()->findBlockByNumber(index));
    Editor->setTextCursor(cursor);
    Editor->centerCursor();
    hide();
    Editor->setFocus();
}

void TGoToBar::keyPressEvent(QKeyEvent *event)
{
    if (!CloseOnEscape(this, Editor, event))
        QWidget::keyPressEvent(event);
}

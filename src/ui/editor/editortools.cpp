#include "ui/editor/editortools.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

#include "ui/common/uihelpers.h"
#include "ui/editor/findbar.h"
#include "ui/editor/highlighter.h"
#include "ui/editor/linegutter.h"
#include "ui/editor/scripteditor.h"

namespace {
const QString ModifiedMarker = "[*]";
} // namespace

TEditorTools::TEditorTools(TRTFForm *form) : QObject(form), Form(form)
{
    setObjectName("EditorTools");
    TCogEdit *re = form->RE;
    Highlighter = new TCogHighlighter(re);
    Highlighter->SetEnabled(true);
    Gutter = new TLineGutter(re, [re](int width) { re->SetLeftMargin(width); });

    // The bars go between the text and the status bar.
    auto *layout = qobject_cast<QVBoxLayout *>(form->widget()->layout());
    FindBar = new TFindBar(re, form->widget());
    GoToBar = new TGoToBar(re, form->widget());
    if (layout)
    {
        const int below = layout->indexOf(re) + 1;
        layout->insertWidget(below, FindBar);
        layout->insertWidget(below + 1, GoToBar);
    }

    connect(GoToBar, &TGoToBar::PastTheEnd, form->StatusBar1,
            [form](const QString &text) { form->StatusBar1->showMessage(text, 5000); });

    CaretPanel = new QLabel(form->StatusBar1);
    CaretPanel->setObjectName("CaretPanel");
    CaretPanel->setMinimumWidth(120);
    form->StatusBar1->addWidget(CaretPanel);
    connect(re, &QPlainTextEdit::cursorPositionChanged, this, [this] { ShowCaret(); });
    ShowCaret();

    QMenu *edit = form->Edit1;
    edit->addSeparator();
    Redo1 = AddItem(edit, "Redo1", "&Redo", QKeySequence("Ctrl+Y"));
    edit->addSeparator();
    Find1 = AddItem(edit, "Find1", "&Find...", QKeySequence("Ctrl+F"));
    FindNext1 = AddItem(edit, "FindNext1", "Find &Next", QKeySequence(Qt::Key_F3));
    FindPrevious1 =
        AddItem(edit, "FindPrevious1", "Find Pre&vious", QKeySequence(Qt::SHIFT | Qt::Key_F3));
    Replace1 = AddItem(edit, "Replace1", "R&eplace...", QKeySequence("Ctrl+H"));
    GoToLine1 = AddItem(edit, "GoToLine1", "&Go to Line...", QKeySequence("Ctrl+G"));
    connect(Redo1, &QAction::triggered, this, [this] { Redo1Click(); });
    connect(Find1, &QAction::triggered, this, [this] { Find1Click(); });
    connect(FindNext1, &QAction::triggered, this, [this] { FindNext1Click(); });
    connect(FindPrevious1, &QAction::triggered, this, [this] { FindPrevious1Click(); });
    connect(Replace1, &QAction::triggered, this, [this] { Replace1Click(); });
    connect(GoToLine1, &QAction::triggered, this, [this] { GoToLine1Click(); });

    connect(re->document(), &QTextDocument::modificationChanged, form, &QWidget::setWindowModified);
    connect(form, &QWidget::windowTitleChanged, this,
            [this](const QString &title) { CaptionChanged(title); });
    form->setWindowTitle(form->windowTitle() + ModifiedMarker);
}

QString TEditorTools::FileCaption(const QWidget *window)
{
    QString title = window->windowTitle();
    if (title.endsWith(ModifiedMarker))
        title.chop(ModifiedMarker.size());
    return title;
}

void TEditorTools::CaptionChanged(const QString &title)
{
    // Loading and Save As set the caption to the path; the marker goes back behind it.
    if (title.endsWith(ModifiedMarker))
        return;
    Form->setWindowTitle(title + ModifiedMarker);
    emit FileNamed(title);
}

void TEditorTools::ReplaceText(const QString &text)
{
    TCogEdit *re = Form->RE;
    QTextDocument *doc = re->document();
    // The old text goes with everything told about it: its undo history, its modified state,
    // its line count; and with its character formats, so the new text comes in with none.
    doc->clear();
    doc->setUndoRedoEnabled(false);
    // The new text goes in unseen by the highlighter, which would otherwise go over every
    // line at once; the editor misses nothing it needs: its layout follows the document by
    // itself, and the line count, the caret and the modified state are given to it below.
    Gutter->FitLineCount(static_cast<int>(text.count(QChar('\n'))) + 1);
    {
        const QSignalBlocker unseen(doc);
        QTextCursor(doc).insertText(text);
    }
    doc->setUndoRedoEnabled(true);
    doc->setModified(false);
    Gutter->FitLineCount(doc->blockCount());
    Highlighter->TextReplaced(text);
    re->setTextCursor(QTextCursor(doc));
}

void TEditorTools::SetHighlighting(bool on)
{
    Highlighter->SetEnabled(on);
}

bool TEditorTools::Highlighting() const
{
    return Highlighter->IsEnabled();
}

void TEditorTools::ShowCaret()
{
    const QTextCursor cursor = Form->RE->textCursor();
    CaretPanel->setText(
        QString("Ln %1, Col %2").arg(cursor.blockNumber() + 1).arg(cursor.positionInBlock() + 1));
}

void TEditorTools::Redo1Click()
{
    Form->RE->redo();
}

void TEditorTools::Find1Click()
{
    GoToBar->hide();
    FindBar->ShowFind(false);
}

void TEditorTools::FindNext1Click()
{
    if (FindBar->FindEdit->text().isEmpty())
        Find1Click();
    else
        FindBar->FindNext(false);
}

void TEditorTools::FindPrevious1Click()
{
    if (FindBar->FindEdit->text().isEmpty())
        Find1Click();
    else
        FindBar->FindNext(true);
}

void TEditorTools::Replace1Click()
{
    GoToBar->hide();
    FindBar->ShowFind(true);
}

void TEditorTools::GoToLine1Click()
{
    FindBar->hide();
    GoToBar->ShowBar();
}

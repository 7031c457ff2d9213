#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>

#include "tests/ui/framefixture.h"
#include "ui/editor/editortools.h"
#include "ui/editor/findbar.h"
#include "ui/editor/highlighter.h"
#include "ui/editor/linegutter.h"
#include "ui/linebuilder/linebuilderwindow.h"

namespace {
const QByteArray Script = "# a comment\r\n"
                          "symbols\r\n"
                          "thing player local\r\n"
                          "end\r\n"
                          "code\r\n"
                          "startup:\r\n"
                          "  if (1) Sleep(2.5);\r\n"
                          "  Print(\"hello\");\r\n"
                          "  return;\r\n"
                          "end\r\n";

// The colour a character is painted in: an extra selection over it first, then the
// highlighter's formats, then the text's own format.
QColor PaintedColour(TRTFForm *editor, int line, int column)
{
    const QTextBlock block = editor->RE->document()->findBlockByNumber(line);
    const int position = block.position() + column;
    for (const QTextEdit::ExtraSelection &selection : editor->RE->extraSelections())
        if (selection.format.hasProperty(QTextFormat::ForegroundBrush) &&
            selection.cursor.selectionStart() <= position &&
            position < selection.cursor.selectionEnd())
            return selection.format.foreground().color();
    const QList<QTextLayout::FormatRange> formats = block.layout()->formats();
    for (auto it = formats.rbegin(); it != formats.rend(); ++it)
        if (it->start <= column && column < it->start + it->length &&
            it->format.hasProperty(QTextFormat::ForegroundBrush))
            return it->format.foreground().color();
    QTextCursor cursor(editor->RE->document());
    cursor.setPosition(position + 1);
    return cursor.charFormat().hasProperty(QTextFormat::ForegroundBrush)
               ? cursor.charFormat().foreground().color()
               : QColor(Qt::black);
}

QColor ClassColour(TCogWordClass cls)
{
    return TCogHighlighter::FormatOf(cls).foreground().color();
}

// Column of word in line of the editor's text.
int ColumnOf(TRTFForm *editor, int line, const char *word)
{
    return QString::fromStdString(editor->Line(line)).indexOf(word);
}
} // namespace

class EditorToolsUiTest : public QObject
{
    Q_OBJECT

    TFrameFixture F;

  private slots:
    void init() { F.Start(); }
    void cleanup() { F.Stop(); }

    void highlightingColoursTheWordsOfAScript()
    {
        TRTFForm *editor = F.OpenScript(Script);
        struct TCase
        {
            int Line;
            const char *Word;
            TCogWordClass Class;
        };
        const TCase cases[] = {
            {0, "comment", TCogWordClass::Comment},  {1, "symbols", TCogWordClass::Section},
            {2, "thing", TCogWordClass::SymbolType}, {2, "local", TCogWordClass::Extension},
            {5, "startup", TCogWordClass::Label},    {6, "if", TCogWordClass::Keyword},
            {6, "Sleep", TCogWordClass::Verb},       {6, "2.5", TCogWordClass::Number},
            {7, "hello", TCogWordClass::String},     {7, "Print", TCogWordClass::Verb},
        };
        for (const TCase &c : cases)
            QCOMPARE(PaintedColour(editor, c.Line, ColumnOf(editor, c.Line, c.Word)),
                     ClassColour(c.Class));
        // A name stays in the text's own colour; the colours are no edit of the script.
        QCOMPARE(PaintedColour(editor, 2, ColumnOf(editor, 2, "player")), QColor(Qt::black));
        QVERIFY(!editor->IsModified());
        // Typing a keyword colours it at once.
        editor->SelectRange(editor->LineStart(8), 0);
        QTest::keyClicks(editor->RE, "while ");
        QCOMPARE(PaintedColour(editor, 8, 0), ClassColour(TCogWordClass::Keyword));
        // Past the code section's end a keyword is plain text.
        editor->RE->moveCursor(QTextCursor::End);
        QTest::keyClicks(editor->RE, "while");
        QCOMPARE(PaintedColour(editor, 10, 0), QColor(Qt::black));
    }

    void theCheckersRedLineShowsOverTheColours()
    {
        TRTFForm *editor = F.OpenScript(Script);
        editor->HiLitLine(6);
        for (const char *word : {"if", "Sleep", "2.5"})
            QCOMPARE(PaintedColour(editor, 6, ColumnOf(editor, 6, word)), QColor(255, 0, 0));
        QCOMPARE(PaintedColour(editor, 7, ColumnOf(editor, 7, "Print")),
                 ClassColour(TCogWordClass::Verb));
    }

    void aLongScriptIsColouredWhereItIsShown()
    {
        QByteArray text = "code\r\n";
        for (int i = 0; i < 20000; ++i)
            text += "  Sleep(1);\r\n";
        TRTFForm *editor = F.OpenScript(text);
        QCOMPARE(PaintedColour(editor, 1, 2), ClassColour(TCogWordClass::Verb));
        QCOMPARE(PaintedColour(editor, 15000, 2), QColor(Qt::black));
        editor->Tools->GoToLine1Click();
        editor->Tools->GoToBar->GoToLine(15001);
        QTRY_COMPARE(PaintedColour(editor, 15000, 2), ClassColour(TCogWordClass::Verb));
    }

    void aLongScriptKeepsItsSectionsWhereverItIsShown()
    {
        // Lines 1-10000 code, 10001 "end", 10002 "symbols", 10003-20002 symbols.
        QByteArray text = "code\r\n";
        for (int i = 0; i < 10000; ++i)
            text += "  Sleep(1);\r\n";
        text += "end\r\nsymbols\r\n";
        for (int i = 0; i < 10000; ++i)
            text += "thing t local\r\n";
        text += "end\r\n";
        TRTFForm *editor = F.OpenScript(text);
        TGoToBar *bar = editor->Tools->GoToBar;
        struct TCase
        {
            int Line;
            int Column;
            QColor Colour;
        };
        const TCase cases[] = {
            {20002, 0, ClassColour(TCogWordClass::SymbolType)},
            {15000, 8, ClassColour(TCogWordClass::Extension)},
            {10002, 0, ClassColour(TCogWordClass::Section)},
            {10000, 2, ClassColour(TCogWordClass::Verb)},
            {5000, 2, ClassColour(TCogWordClass::Verb)},
        };
        for (const TCase &c : cases)
        {
            bar->GoToLine(c.Line + 1);
            QTRY_COMPARE(PaintedColour(editor, c.Line, c.Column), c.Colour);
        }

        // Ending the code section far down takes the colours from the lines below it, wherever
        // they are; Undo brings them back. The lines out of view get their sections in the
        // background, or at once when they are shown first.
        TCogHighlighter *highlighter = editor->Tools->Highlighter;
        bar->GoToLine(5001);
        QTest::keyClicks(editor->RE, "end");
        QTest::keyClick(editor->RE, Qt::Key_Return);
        QCOMPARE(editor->Line(5000), std::string("end"));
        QCOMPARE(PaintedColour(editor, 5000, 0), ClassColour(TCogWordClass::Section));
        QCOMPARE(PaintedColour(editor, 5001, 2), QColor(Qt::black));
        bar->GoToLine(9001);
        QCOMPARE(PaintedColour(editor, 9000, 2), QColor(Qt::black));
        QTRY_VERIFY(!highlighter->SectionsPending());
        bar->GoToLine(7001);
        QCOMPARE(PaintedColour(editor, 7000, 2), QColor(Qt::black));
        // The symbols section after it is untouched.
        bar->GoToLine(15002);
        QCOMPARE(PaintedColour(editor, 15001, 8), ClassColour(TCogWordClass::Extension));
        for (int i = 0; i < 5 && editor->Line(5000) != "  Sleep(1);"; ++i)
            editor->Undo1Click();
        QCOMPARE(editor->Line(5000), std::string("  Sleep(1);"));
        bar->GoToLine(9001);
        QCOMPARE(PaintedColour(editor, 9000, 2), ClassColour(TCogWordClass::Verb));
        QTRY_VERIFY(!highlighter->SectionsPending());
        bar->GoToLine(6001);
        QCOMPARE(PaintedColour(editor, 6000, 2), ClassColour(TCogWordClass::Verb));
    }

    void loadingReplacesTheTextWithItsHistoryAndLineCount()
    {
        TRTFForm *editor = F.OpenScript("first\r\n", "first.cog");
        TLineGutter *gutter = editor->Tools->Gutter;
        const int shortWidth = gutter->width();
        editor->RE->moveCursor(QTextCursor::End);
        QTest::keyClicks(editor->RE, "mine");
        QVERIFY(editor->isWindowModified());

        QByteArray text;
        for (int i = 0; i < 20000; ++i)
            text += "  Sleep(1);\r\n";
        QVERIFY(editor->LoadFile(F.WriteScript(text, "second.cog")));
        QCOMPARE(editor->LineCount(), 20000);
        QVERIFY(!editor->IsModified());
        QVERIFY(!editor->isWindowModified());
        // Undo cannot take the loaded text back to what was there before.
        QVERIFY(!editor->RE->document()->isUndoAvailable());
        editor->Undo1Click();
        QCOMPARE(editor->LineCount(), 20000);
        // The caret at the start, the line numbers as wide as the line count needs.
        QCOMPARE(editor->RE->textCursor().position(), 0);
        QCOMPARE(editor->findChild<QLabel *>("CaretPanel")->text(), QString("Ln 1, Col 1"));
        QCOMPARE(gutter->width(), gutter->GutterWidth());
        QVERIFY(gutter->width() > shortWidth);
        QCOMPARE(editor->RE->viewport()->geometry().left(), gutter->geometry().right() + 1);

        // A changed text read back from its file stays changed, marker and all.
        QTest::keyClicks(editor->RE, "x");
        const QString temp = F.ProgramDir + "qxdata/~temp.tmp";
        QVERIFY(editor->SaveToFile(temp));
        QVERIFY(editor->LoadFromFile(temp));
        QVERIFY(editor->IsModified());
        QVERIFY(editor->isWindowModified());
        QCOMPARE(editor->Line(0), std::string("x  Sleep(1);"));
        // A short text again: the line numbers narrow.
        QVERIFY(editor->LoadFile(F.WriteScript("a\r\nb\r\n", "third.cog")));
        QCOMPARE(gutter->width(), shortWidth);
        // The line numbers run the text's whole height when the window grows.
        editor->resize(editor->width() + 100, editor->height() + 200);
        QCOMPARE(gutter->height(), editor->RE->viewport()->height());
    }

    void highlightingCanBeTurnedOffAndStaysSo()
    {
        TRTFForm *editor = F.OpenScript(Script);
        QVERIFY(F.Frame->findChild<QAction *>("Highlight1")->isChecked());
        F.Frame->findChild<QAction *>("Highlight1")->trigger();
        QCOMPARE(PaintedColour(editor, 6, ColumnOf(editor, 6, "if")), QColor(Qt::black));
        TRTFForm *second = F.OpenScript(Script, "second.cog");
        QCOMPARE(PaintedColour(second, 6, ColumnOf(second, 6, "if")), QColor(Qt::black));
        // A new frame of the same user starts with the colours off.
        delete F.Frame;
        F.Frame = F.MakeFrame([&] {
            TFrameSetup setup;
            setup.ProgramDir = F.ProgramDir;
            return setup;
        }());
        QVERIFY(!F.Frame->findChild<QAction *>("Highlight1")->isChecked());
        QVERIFY(!F.OpenScript(Script, "third.cog")->Tools->Highlighting());
    }

    void findHonoursMatchCaseAndWholeWord()
    {
        TRTFForm *editor = F.OpenScript("thing a; Thing b; things c; my_thing d;\r\n");
        TFindBar *bar = editor->Tools->FindBar;
        struct TCase
        {
            bool MatchCase;
            bool WholeWord;
            QList<int> Starts;
        };
        const TCase cases[] = {
            {false, false, {0, 9, 18, 31}},
            {true, false, {0, 18, 31}},
            {false, true, {0, 9}},
            {true, true, {0}},
        };
        for (const TCase &c : cases)
        {
            editor->Tools->Find1Click();
            QVERIFY(bar->isVisible());
            bar->FindEdit->setText("thing");
            bar->MatchCase->setChecked(c.MatchCase);
            bar->WholeWord->setChecked(c.WholeWord);
            editor->SelectRange(0, 0);
            QList<int> starts;
            // Round the end and back to the first match.
            for (int i = 0; i <= c.Starts.size(); ++i)
            {
                editor->Tools->FindNext1->trigger();
                starts << editor->RE->textCursor().selectionStart();
            }
            QCOMPARE(starts, c.Starts + QList<int>{c.Starts.first()});
        }
        // Find previous goes back round the start.
        editor->SelectRange(0, 0);
        editor->Tools->FindPrevious1->trigger();
        QCOMPARE(editor->RE->textCursor().selectionStart(), 0);
        bar->FindEdit->setText("nowhere");
        QVERIFY(!bar->FindNext());
        QCOMPARE(bar->Result->text(), QString("Not found"));
    }

    void replaceAllIsOneUndoableEdit()
    {
        const QByteArray text = "Thing a;\r\nthing b; my_thing c;\r\nthings\r\n";
        TRTFForm *editor = F.OpenScript(text);
        const std::string before = editor->Text();
        editor->Tools->Replace1Click();
        TFindBar *bar = editor->Tools->FindBar;
        QVERIFY(bar->ReplaceEdit->isVisible());
        bar->FindEdit->setText("thing");
        bar->ReplaceEdit->setText("thing thing");
        bar->WholeWord->setChecked(true);
        QCOMPARE(bar->ReplaceAll(), 2);
        QCOMPARE(editor->Text(),
                 std::string("thing thing a;\nthing thing b; my_thing c;\nthings\n"));
        QVERIFY(editor->IsModified());
        editor->Undo1Click();
        QCOMPARE(editor->Text(), before);
        // Replace: the selected match is replaced and the next one selected.
        bar->WholeWord->setChecked(false);
        bar->MatchCase->setChecked(true);
        bar->ReplaceEdit->setText("X");
        editor->SelectRange(0, 0);
        bar->FindNext();
        QCOMPARE(editor->RE->textCursor().selectionStart(), 9);
        bar->ReplaceOne();
        QCOMPARE(editor->Line(1), std::string("X b; my_thing c;"));
        QCOMPARE(editor->RE->textCursor().selectedText(), QString("thing"));
    }

    void goToLineMovesTheCaretAndTheStatusBarShowsIt()
    {
        TRTFForm *editor = F.OpenScript(Script);
        auto *caret = editor->findChild<QLabel *>("CaretPanel");
        QCOMPARE(caret->text(), QString("Ln 1, Col 1"));
        editor->Tools->GoToLine1->trigger();
        TGoToBar *bar = editor->Tools->GoToBar;
        QVERIFY(bar->isVisible());
        bar->LineBox->setValue(7);
        QTest::mouseClick(bar->GoButton, Qt::LeftButton);
        QVERIFY(!bar->isVisible());
        QCOMPARE(editor->RE->textCursor().blockNumber(), 6);
        QCOMPARE(caret->text(), QString("Ln 7, Col 1"));
        QTest::keyClick(editor->RE, Qt::Key_End);
        QCOMPARE(caret->text(), QString("Ln 7, Col 21"));
        // Typed past the end, every digit counts: the last line, and the bar says so.
        const int lines = editor->RE->blockCount();
        QVERIFY(lines < 50);
        editor->Tools->GoToLine1->trigger();
        bar->LineBox->selectAll();
        QTest::keyClicks(bar->LineBox, "500");
        QCOMPARE(bar->LineBox->value(), 500);
        QTest::keyClick(bar->LineBox, Qt::Key_Return);
        QCOMPARE(editor->RE->textCursor().blockNumber(), lines - 1);
        QCOMPARE(editor->StatusBar1->currentMessage(),
                 QString("There is no line 500: the script ends at line %1.").arg(lines));
        QVERIFY(editor->Tools->Gutter->GutterWidth() > 0);
    }

    void redoAndTheModifiedMarkerKeepTheCaption()
    {
        TRTFForm *editor = F.OpenScript("abc\r\n");
        const QString path = F.ProgramDir + "cog/test.cog";
        QCOMPARE(editor->Caption(), path);
        QVERIFY(!editor->isWindowModified());
        editor->RE->moveCursor(QTextCursor::End);
        QTest::keyClicks(editor->RE, "x");
        QVERIFY(editor->isWindowModified());
        QCOMPARE(editor->Caption(), path);
        editor->Undo1Click();
        QCOMPARE(editor->Text(), std::string("abc\n"));
        editor->Tools->Redo1->trigger();
        QCOMPARE(editor->Text(), std::string("abc\nx"));
        editor->Undo1Click();
        QTest::keyClick(editor->RE, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(editor->Text(), std::string("abc\nx"));
        // The menu's own keys stay theirs.
        QCOMPARE(editor->Tools->Redo1->shortcut(), QKeySequence("Ctrl+Y"));
        for (QAction *action : editor->Edit1->actions())
            for (const char *taken : {"Ctrl+B", "Ctrl+U", "Ctrl+D"})
                if (action != editor->Paste1 && action != editor->Undo1 &&
                    action != editor->Delete1)
                    QVERIFY(action->shortcut() != QKeySequence(taken));
        // The Window menu and the Line Builder show the path without the marker.
        F.Frame->RememberTargetEditor();
        F.Frame->CaptionLineBuilder();
        QCOMPARE(F.Frame->LineBuilder()->windowTitle(), path);
        F.Prompts.ExpectYesNoCancel("'" + path + "' has been modified, Save?", TAnswer::No);
        editor->close();
    }
};

QTEST_MAIN(EditorToolsUiTest)
#include "EditorToolsUiTest.moc"

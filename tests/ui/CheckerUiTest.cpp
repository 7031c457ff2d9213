#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTextBlock>
#include <QToolButton>
#include <QtTest>

#include "tests/ui/framefixture.h"
#include "tests/ui/widgetprobes.h"
#include "ui/analysis/checkerwindow.h"

namespace {
// Errors "Unknown type" on lines 3 and 5.
const QByteArray TwoBadTypes = "# two faults\r\n"
                               "symbols\r\n"
                               "message startup\r\n"
                               "bogus x\r\n"
                               "int a\r\n"
                               "nonsense y\r\n"
                               "end\r\n"
                               "code\r\n"
                               "startup:\r\n"
                               "  stop;\r\n"
                               "end\r\n";

const QColor Red(255, 0, 0);

// A stretch of the editor's text as (start, length).
using TSpan = QPair<int, int>;

// The red marks stand beside the text (they are no edit of it): the stretches of the editor's
// extra selections drawn in red.
QList<TSpan> RedSpans(const TRTFForm *editor)
{
    QList<TSpan> spans;
    for (const QTextEdit::ExtraSelection &mark : editor->RE->extraSelections())
        if (mark.format.hasProperty(QTextFormat::ForegroundBrush) &&
            mark.format.foreground().color() == Red && mark.cursor.hasSelection())
            spans << TSpan(mark.cursor.selectionStart(),
                           mark.cursor.selectionEnd() - mark.cursor.selectionStart());
    return spans;
}

// The lines of the editor's text that hold a red character.
QList<int> RedLines(const TRTFForm *editor)
{
    QList<int> lines;
    const QTextDocument *doc = editor->RE->document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
        for (const TSpan &span : RedSpans(editor))
            if (span.first < block.position() + block.length() - 1 &&
                span.first + span.second > block.position())
            {
                lines << block.blockNumber();
                break;
            }
    return lines;
}

bool WholeLineRed(const TRTFForm *editor, int line)
{
    const QTextBlock block = editor->RE->document()->findBlockByNumber(line);
    if (block.text().isEmpty())
        return false;
    for (const TSpan &span : RedSpans(editor))
        if (span.first <= block.position() &&
            span.first + span.second >= block.position() + block.length() - 1)
            return true;
    return false;
}

QStringList Entries(const TSC *sc)
{
    return Texts(sc->Errors);
}

void ClickEntry(TSC *sc, int row)
{
    const QRect place = sc->Errors->visualItemRect(sc->Errors->item(row));
    QTest::mouseClick(sc->Errors->viewport(), Qt::LeftButton, {}, place.center());
}

void CheckCog(TRTFForm *editor)
{
    QTest::mouseClick(editor->SBConCheck, Qt::LeftButton);
}

TSpan Selection(const TRTFForm *editor)
{
    const QTextCursor cursor = editor->RE->textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()};
}

// The caret at the start of a line, nothing selected: where a click on an error leaves it.
TSpan LineStart(const TRTFForm *editor, int line)
{
    return {editor->RE->document()->findBlockByNumber(line).position(), 0};
}

// The texts drawn in red, in the order they were marked.
QStringList RedTexts(const TRTFForm *editor)
{
    QStringList texts;
    for (const QTextEdit::ExtraSelection &mark : editor->RE->extraSelections())
        if (mark.format.foreground().color() == Red)
            texts << mark.cursor.selectedText();
    return texts;
}
} // namespace

class CheckerUiTest : public QObject
{
    Q_OBJECT

    TFrameFixture F;

    TSC *SC() const { return F.Frame->SyntaxChecker(); }
    QString TempPath() const { return F.ProgramDir + "qxdata/~temp.tmp"; }

  private slots:
    void init() { F.Start(); }
    void cleanup() { F.Stop(); }

    void checkShowsTheFixedWindowWithoutBlocking()
    {
        QCOMPARE(SC()->windowTitle(), QString("Syntax Checker"));
        QCOMPARE(SC()->minimumSize(), QSize(413, 221));
        QCOMPARE(SC()->maximumSize(), QSize(413, 221));

        CheckCog(F.OpenScript(TwoBadTypes));
        QVERIFY(SC()->isVisible());
        QVERIFY(!SC()->isModal());
        QVERIFY(F.Modal.isEmpty());
        const QRect second = SC()->Errors->visualItemRect(SC()->Errors->item(1));
        QCOMPARE(second.top(), TSC::ItemHeight);
        QCOMPARE(second.height(), TSC::ItemHeight);
    }

    void checkCogListsTheMessagesAlone_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QStringList>("messages");

        QTest::newRow("unknown type and a call of a value")
            << QByteArray("symbols\r\n"
                          "flags=0x240\r\n"
                          "message startup\r\n"
                          "end\r\n"
                          "code\r\n"
                          "startup:\r\n"
                          "  call 5;\r\n"
                          "  stop;\r\n"
                          "end\r\n")
            << QStringList({"Unknown type", "Label name expected, Value found"});
        QTest::newRow("correct script") << QByteArray("# fine\r\n"
                                                      "symbols\r\n"
                                                      "message startup\r\n"
                                                      "thing player local\r\n"
                                                      "end\r\n"
                                                      "code\r\n"
                                                      "startup:\r\n"
                                                      "  player = GetLocalPlayerThing();\r\n"
                                                      "  if (player > -1) Print(\"here\");\r\n"
                                                      "  stop;\r\n"
                                                      "end\r\n")
                                        << QStringList();
        QTest::newRow("no sections") << QByteArray("") << QStringList({"No symbols section!"});
    }

    void checkCogListsTheMessagesAlone()
    {
        QFETCH(QByteArray, script);
        QFETCH(QStringList, messages);
        // Entries of an earlier check must not survive a check that finds nothing.
        SC()->Errors->addItem("stale");

        CheckCog(F.OpenScript(script));

        QCOMPARE(Entries(SC()), messages);
        QVERIFY(SC()->isVisible());
        QVERIFY(F.Prompts.Calls.isEmpty());
    }

    void errorClickSelectsTheLineInRedAndEarlierRedStays()
    {
        TRTFForm *editor = F.OpenScript(TwoBadTypes);
        CheckCog(editor);
        QCOMPARE(Entries(SC()), QStringList({"Unknown type", "Unknown type"}));

        ClickEntry(SC(), 0);
        QCOMPARE(Selection(editor), LineStart(editor, 3));
        QCOMPARE(RedTexts(editor), QStringList({"bogus x"}));
        QVERIFY(editor->RE->hasFocus());
        QVERIFY(WholeLineRed(editor, 3));
        QCOMPARE(RedLines(editor), QList<int>({3}));

        ClickEntry(SC(), 1);
        QCOMPARE(Selection(editor), LineStart(editor, 5));
        QCOMPARE(RedLines(editor), QList<int>({3, 5}));
        QVERIFY(WholeLineRed(editor, 3));
        QVERIFY(WholeLineRed(editor, 5));
        // Showing an error is no edit of the script.
        QVERIFY(!editor->IsModified());
        QCOMPARE(editor->Text(),
                 QString::fromLatin1(TwoBadTypes).replace("\r\n", "\n").toStdString());
    }

    void theArrowKeysShowTheChosenErrorsLineAndAClickShowsItAgain()
    {
        TRTFForm *editor = F.OpenScript(TwoBadTypes);
        CheckCog(editor);
        ClickEntry(SC(), 0);
        QCOMPARE(Selection(editor), LineStart(editor, 3));

        QTest::keyClick(SC()->Errors, Qt::Key_Down);
        QCOMPARE(SC()->SelectedIndex(), 1);
        QCOMPARE(Selection(editor), LineStart(editor, 5));
        QCOMPARE(RedLines(editor), QList<int>({3, 5}));
        QTest::keyClick(SC()->Errors, Qt::Key_Up);
        QCOMPARE(Selection(editor), LineStart(editor, 3));

        // A click on the entry already chosen changes no selection and still shows the line.
        editor->SelectRange(0, 0);
        ClickEntry(SC(), 0);
        QCOMPARE(Selection(editor), LineStart(editor, 3));

        // Filling the list again is nobody's choice: the editor keeps its selection.
        editor->SelectRange(2, 1);
        CheckCog(editor);
        QCOMPARE(Selection(editor), TSpan(2, 1));
        QCOMPARE(SC()->SelectedIndex(), -1);
    }

    void errorLinesCountEveryKindOfLineBreak()
    {
        // CR LF, LF and a lone CR in the file, and a soft line break typed in the editor: each
        // ends a line for the checker, so each must end one for the highlight too.
        TRTFForm *editor = F.OpenScript("symbols\nmessage startup\rbad2 a\r\nend\ncode\r"
                                        "startup:\r\nstop;\nend\n");
        QTextCursor cursor(editor->RE->document()->findBlockByNumber(1));
        cursor.movePosition(QTextCursor::EndOfBlock);
        editor->RE->setTextCursor(cursor);
        editor->RE->insertPlainText(QString(QChar::LineSeparator) + "bad1 b");
        CheckCog(editor);
        QCOMPARE(Entries(SC()), QStringList({"Unknown type", "Unknown type"}));

        ClickEntry(SC(), 0);
        QCOMPARE(RedTexts(editor), QStringList({"bad1 b"}));
        ClickEntry(SC(), 1);
        QCOMPARE(RedTexts(editor), QStringList({"bad1 b", "bad2 a"}));
    }

    void highlightOutsideTheTextDoesNothing()
    {
        TRTFForm *editor = F.OpenScript(TwoBadTypes);
        editor->SelectRange(2, 3);
        for (const int line : {-1, 11, 1000})
        {
            editor->HiLitLine(line);
            QCOMPARE(Selection(editor), TSpan(2, 3));
            QVERIFY(RedLines(editor).isEmpty());
        }

        // A list from before the text lost its last lines leads nowhere.
        CheckCog(editor);
        editor->SetText("symbols\nend\n");
        ClickEntry(SC(), 1);
        QVERIFY(RedLines(editor).isEmpty());
    }

    void loadingAFileIntoTheEditorLeavesNoRed()
    {
        TRTFForm *editor = F.OpenScript(TwoBadTypes);
        CheckCog(editor);
        ClickEntry(SC(), 0);
        QVERIFY(!RedLines(editor).isEmpty());

        // The caret still stands on the red line when another file comes in.
        const QString other = F.ProgramDir + "other.cog";
        QFile file(other);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(TwoBadTypes);
        file.close();
        QVERIFY(editor->LoadFile(other));
        QVERIFY(RedLines(editor).isEmpty());
    }

    void refreshWritesReadsBackAndChecksAgain_data()
    {
        QTest::addColumn<bool>("fix");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("fixed in the editor") << true << QStringList({"Unknown type"});
        QTest::newRow("unchanged") << false << QStringList({"Unknown type", "Unknown type"});
    }

    void refreshWritesReadsBackAndChecksAgain()
    {
        QFETCH(bool, fix);
        QFETCH(QStringList, messages);
        TRTFForm *editor = F.OpenScript(TwoBadTypes);
        const QString caption = editor->Caption();
        CheckCog(editor);
        ClickEntry(SC(), 0);
        ClickEntry(SC(), 1);
        if (fix)
            editor->SetLine(5, "int y");
        const std::string text = editor->Text();
        // The caret stands on a red line, whose format must not spread over the reloaded text.
        const TSpan selection = Selection(editor);

        QTest::mouseClick(SC()->BBRefresh, Qt::LeftButton);

        QCOMPARE(Entries(SC()), messages);
        QVERIFY(RedLines(editor).isEmpty());
        QCOMPARE(editor->Text(), text);
        QCOMPARE(editor->Caption(), caption);
        // A refresh is no load of the file: a changed text still counts as changed.
        QCOMPARE(editor->IsModified(), fix);
        QCOMPARE(Selection(editor), selection);
        QByteArray bytes = QByteArray::fromStdString(text);
        QCOMPARE(TFrameFixture::ReadFile(TempPath()), bytes.replace("\n", "\r\n"));
    }

    void failedTempWriteLeavesTheTextAsItIs()
    {
        // The data folder cannot hold the temporary file: a plain file stands in its place.
        QVERIFY(QDir(F.ProgramDir + "qxdata").removeRecursively());
        QFile blocker(F.ProgramDir + "qxdata");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();

        TRTFForm *editor = F.OpenScript(TwoBadTypes);
        CheckCog(editor);
        ClickEntry(SC(), 0);
        editor->SetLine(5, "int y");
        const std::string text = editor->Text();

        // One report, and no attempt to read a file back over the text.
        F.Prompts.ExpectIOError();
        QTest::mouseClick(SC()->BBRefresh, Qt::LeftButton);

        QCOMPARE(editor->Text(), text);
        QVERIFY(editor->IsModified());
        QCOMPARE(RedLines(editor), QList<int>({3}));
        QCOMPARE(Entries(SC()), QStringList({"Unknown type", "Unknown type"}));
    }

    void cancelHidesAndKeepsTheEntriesUntilTheNextCheck()
    {
        TRTFForm *editor = F.OpenScript(TwoBadTypes);
        CheckCog(editor);
        QTest::mouseClick(SC()->BBCancel, Qt::LeftButton);
        QVERIFY(!SC()->isVisible());
        QCOMPARE(SC()->Errors->count(), 2);

        editor->SetLine(3, "int x");
        CheckCog(editor);
        QVERIFY(SC()->isVisible());
        QCOMPARE(Entries(SC()), QStringList({"Unknown type"}));
    }

    void aClosedScriptsListSaysSoAndLeadsNowhere()
    {
        TRTFForm *editor = F.OpenScript(TwoBadTypes);
        CheckCog(editor);
        F.OpenScript(TwoBadTypes, "other.cog");
        QVERIFY(editor->close());
        QTRY_COMPARE(Entries(SC()), QStringList({TSC::ScriptClosedText}));

        ClickEntry(SC(), 0);
        QTest::mouseClick(SC()->BBRefresh, Qt::LeftButton);
        QVERIFY(!QFile::exists(TempPath()));
        QCOMPARE(Entries(SC()), QStringList({TSC::ScriptClosedText}));
        QVERIFY(F.Prompts.Calls.isEmpty());
    }

    void warningsFollowTheErrorsDrawnApartAndLeadToTheirLine()
    {
        TRTFForm *editor = F.OpenScript("symbols\r\n"
                                        "message startup\r\n"
                                        "end\r\n"
                                        "code\r\n"
                                        "startup:\r\n"
                                        "  x = Sleep(1);\r\n"
                                        "  stop;\r\n"
                                        "end\r\n");
        CheckCog(editor);
        QCOMPARE(Entries(SC()), QStringList({"warning: 'Sleep' returns nothing",
                                             "warning: 'x' is declared nowhere"}));
        ClickEntry(SC(), 1);
        QCOMPARE(Selection(editor), LineStart(editor, 5));
        QCOMPARE(RedLines(editor), QList<int>({5}));

        TCOGErrors errors;
        errors.Add({0, "Unknown type", {}});
        TCOGErrors warnings;
        warnings.Add({2, "'y' is declared nowhere", {}});
        SC()->ShowErrors(errors, warnings);
        QCOMPARE(Entries(SC()), QStringList({"Unknown type", "warning: 'y' is declared nowhere"}));
        QCOMPARE(SC()->Errors->item(0)->foreground().style(), Qt::NoBrush);
        QCOMPARE(SC()->Errors->item(1)->foreground().color(), TSC::WarningColour);
    }

    void optionsTurnThePassOffAndChooseTheGameAndAreKept()
    {
        TRTFForm *editor = F.OpenScript("symbols\r\n"
                                        "message startup\r\n"
                                        "thing p local\r\n"
                                        "end\r\n"
                                        "code\r\n"
                                        "startup:\r\n"
                                        "  p = GetGuidThing(1);\r\n"
                                        "  stop;\r\n"
                                        "end\r\n");
        QCOMPARE(F.Frame->Options1->findChild<QAction *>("GameChecks1"), SC()->GameChecks1);
        QVERIFY(SC()->GameChecks1->isChecked());
        QVERIFY(SC()->EitherGame1->isChecked());
        CheckCog(editor);
        QCOMPARE(Entries(SC()), QStringList());

        SC()->JediKnight1->trigger();
        QVERIFY(!SC()->EitherGame1->isChecked());
        CheckCog(editor);
        QCOMPARE(Entries(SC()), QStringList({"warning: 'GetGuidThing' exists only in MOTS"}));
        ClickEntry(SC(), 0);
        QCOMPARE(RedLines(editor), QList<int>({6}));

        SC()->GameChecks1->trigger();
        QVERIFY(!SC()->GameChecks1->isChecked());
        CheckCog(editor);
        QCOMPARE(Entries(SC()), QStringList());

        // The next start reads the choices back.
        TSC again(F.Prompts);
        QMenu options;
        again.AddOptionItems(&options);
        QVERIFY(!again.GameChecks1->isChecked());
        QVERIFY(again.JediKnight1->isChecked());
        QVERIFY(!again.GameChecker.Enabled);
        QCOMPARE(again.GameChecker.Game, TCheckGame::JK);
        QVERIFY(F.Prompts.Calls.isEmpty());
    }

    // The list belongs to the script it checked, whichever editor is in front when it is used.
    void theListLeadsToTheScriptItChecked()
    {
        TRTFForm *first = F.OpenScript(TwoBadTypes, "first.cog");
        TRTFForm *second = F.OpenScript(TwoBadTypes, "second.cog");
        QCOMPARE(F.Frame->ActiveEditor(), second);

        // Check Cog in a window that is not the active one brings it to the front.
        CheckCog(first);
        QCOMPARE(F.Frame->ActiveEditor(), first);
        ClickEntry(SC(), 0);
        QCOMPARE(RedLines(first), QList<int>({3}));

        // The user then brings the other script forward: a click still marks the checked one.
        F.Frame->ClientArea()->setActiveSubWindow(second);
        ClickEntry(SC(), 1);
        QCOMPARE(F.Frame->ActiveEditor(), first);
        QCOMPARE(RedLines(first), QList<int>({3, 5}));
        QVERIFY(RedLines(second).isEmpty());

        // Refresh checks the checked script again, corrected meanwhile, not the one in front.
        first->SetText("symbols\nend\ncode\nend\n");
        F.Frame->ClientArea()->setActiveSubWindow(second);
        QTest::mouseClick(SC()->BBRefresh, Qt::LeftButton);
        QCOMPARE(F.Frame->ActiveEditor(), first);
        QVERIFY(Entries(SC()).isEmpty());
        QVERIFY(RedLines(first).isEmpty());
    }

    // The checker's file holds the text as a script file would; no question, and the editor
    // keeps the characters a file cannot hold.
    void refreshAsksNothingAboutCharactersAFileCannotHold()
    {
        TRTFForm *editor = F.OpenScript(TwoBadTypes);
        QTextCursor cursor(editor->RE->document());
        cursor.insertText(QString::fromUtf8("# \u4e2d\n"));
        CheckCog(editor);
        const QStringList before = Entries(SC());
        QTest::mouseClick(SC()->BBRefresh, Qt::LeftButton);
        QVERIFY(F.Prompts.Calls.isEmpty());
        QCOMPARE(Entries(SC()), before);
        QVERIFY(editor->RE->toPlainText().startsWith(QString::fromUtf8("# \u4e2d\n")));
        QVERIFY(editor->IsModified());
    }
};

QTEST_MAIN(CheckerUiTest)
#include "CheckerUiTest.moc"

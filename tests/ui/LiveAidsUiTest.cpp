#include <QAbstractItemView>
#include <QAction>
#include <QCompleter>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTextBlock>
#include <QToolTip>
#include <QtTest>

#include "core/shell/editorprefs.h"
#include "tests/ui/framefixture.h"
#include "ui/common/settingskey.h"
#include "ui/editor/codeassist.h"
#include "ui/editor/editortools.h"
#include "ui/editor/livecheck.h"
#include "ui/frame/frameextras.h"

namespace {
const QByteArray Script = "symbols\n"                                           // 0
                          "message  activated\n"                                // 1
                          "thing    door\n"                                     // 2
                          "sound    snd=lvrclik2.wav   local\n"                 // 3
                          "end\n"                                               // 4
                          "code\n"                                              // 5
                          "activated:\n"                                        // 6
                          "    PlaySoundThing(snd, door, 1.0, -1, -1, 0x81);\n" // 7
                          "    call open;\n"                                    // 8
                          "    return;\n"                                       // 9
                          "open:\n"                                             // 10
                          "    SetPulse(0.5);\n"                                // 11
                          "    Sleep(door);\n"                                  // 12
                          "end\n";                                              // 13

// "line:column red" or "line:column orange" for each underline.
QStringList Underlines(TRTFForm *editor)
{
    QStringList marks;
    for (const QTextEdit::ExtraSelection &mark : editor->RE->extraSelections())
        if (mark.format.underlineStyle() == QTextCharFormat::WaveUnderline)
            marks << QString("%1:%2 %3")
                         .arg(mark.cursor.block().blockNumber())
                         .arg(mark.cursor.selectionStart() - mark.cursor.block().position())
                         .arg(mark.format.underlineColor() == TLiveCheck::ErrorColour() ? "red"
                                                                                        : "orange");
    return marks;
}

void CaretTo(TRTFForm *editor, int line, int column)
{
    QTextCursor cursor(editor->RE->document()->findBlockByNumber(line));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, column);
    editor->RE->setTextCursor(cursor);
}

// The middle of the character at line and column, in the viewport.
QPoint PointAt(TRTFForm *editor, int line, int column)
{
    CaretTo(editor, line, column);
    const QRect caret = editor->RE->cursorRect();
    return caret.center() + QPoint(editor->RE->fontMetrics().averageCharWidth() / 2, 0);
}

QString TooltipAt(TRTFForm *editor, int line, int column)
{
    const QPoint point = PointAt(editor, line, column);
    QHelpEvent help(QEvent::ToolTip, point, editor->RE->viewport()->mapToGlobal(point));
    QApplication::sendEvent(editor->RE->viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

QString Selected(TRTFForm *editor)
{
    return editor->RE->textCursor().selectedText();
}
} // namespace

class LiveAidsUiTest : public QObject
{
    Q_OBJECT

    TFrameFixture F;

    TRTFForm *OpenChecked(const QByteArray &bytes)
    {
        TRTFForm *editor = F.OpenScript(bytes);
        editor->LiveCheck->WhenAnalysed([](const TScriptAnalysis &) {});
        return editor;
    }

  private slots:
    void init() { F.Start(); }
    void cleanup() { F.Stop(); }

    void findingsAreUnderlinedAsTheTextChangesWithoutTouchingUndo()
    {
        TRTFForm *editor = OpenChecked(Script);
        QTRY_COMPARE(Underlines(editor), QStringList{});
        QVERIFY(!editor->IsModified());
        QCOMPARE(editor->RE->document()->availableUndoSteps(), 0);

        // An undeclared name is a warning; a statement left open an error, and errors silence
        // the warnings.
        CaretTo(editor, 11, 4);
        QTest::keyClicks(editor->RE, "x = 1; ");
        QTRY_COMPARE(Underlines(editor), QStringList{"11:4 orange"});
        const int undoSteps = editor->RE->document()->availableUndoSteps();
        CaretTo(editor, 11, 5);
        QCOMPARE(editor->FindingPanel->text(), QString("'x' is declared nowhere"));
        QVERIFY(TooltipAt(editor, 11, 4).contains("'x' is declared nowhere"));
        CaretTo(editor, 9, 10);
        QTest::keyClick(editor->RE, Qt::Key_Backspace);
        QTRY_VERIFY(Underlines(editor).size() == 1 && Underlines(editor)[0].endsWith("red"));

        // Undo takes back the user's edits only; the marks follow.
        QTest::keyClick(editor->RE, Qt::Key_U, Qt::ControlModifier);
        QTRY_COMPARE(Underlines(editor), QStringList{"11:4 orange"});
        QCOMPARE(editor->RE->document()->availableUndoSteps(), undoSteps);

        // Off, nothing is underlined, in every editor and in the settings.
        F.Frame->FrameExtras()->CheckAsYouType1->trigger();
        QCOMPARE(Underlines(editor), QStringList{});
        QTest::keyClicks(editor->RE, "y");
        QTest::qWait(TLiveCheck::PauseMs * 2);
        QCOMPARE(Underlines(editor), QStringList{});
        auto key = OpenSettingsKey();
        QVERIFY(!ReadCheckAsYouTypeSetting(*key));
        CloseSettingsKey(key, F.Prompts);
        F.Frame->FrameExtras()->CheckAsYouType1->trigger();
        QTRY_COMPARE(Underlines(editor).size(), 1);
    }

    void aLongScriptIsAnalysedAwayFromTheWindowAndANewerTextWins()
    {
        QByteArray bytes = "symbols\nmessage startup\nint i\nend\ncode\nstartup:\n";
        while (bytes.size() <= TLiveCheck::ForegroundLimit)
            bytes += "    i = i + 1;\n";
        bytes += "end\n";
        TRTFForm *editor = F.OpenScript(bytes);
        QString seen;
        editor->LiveCheck->WhenAnalysed([&](const TScriptAnalysis &analysis) {
            seen = analysis.Diagnostics.empty()
                       ? "clean"
                       : QString::fromStdString(analysis.Diagnostics[0].Message);
        });
        QVERIFY(editor->LiveCheck->Busy());
        // A change while it runs: the request is answered for the new text.
        CaretTo(editor, 6, 4);
        QTest::keyClicks(editor->RE, "zz = 1; ");
        QTRY_VERIFY_WITH_TIMEOUT(!seen.isEmpty(), 20000);
        QCOMPARE(seen, QString("'zz' is declared nowhere"));
        QTRY_COMPARE(Underlines(editor), QStringList{"6:4 orange"});
    }

    void tooltipsTellVerbsSymbolsAndFlags()
    {
        TRTFForm *editor = OpenChecked(Script);
        struct
        {
            int Line;
            int Column;
            const char *Shown;
        } rows[] = {
            {7, 6, "PlaySoundThing(sound *.snd"},          {7, 46, "Sound pos moves with thing"},
            {7, 19, "sound    snd=lvrclik2.wav   local"},  {1, 12, "Its handler is on line 7."},
            {8, 10, "Label &quot;open&quot; on line 11."},
        };
        for (const auto &row : rows)
            QVERIFY2(TooltipAt(editor, row.Line, row.Column).contains(row.Shown), row.Shown);
        QCOMPARE(editor->Assist->TipAt(PointAt(editor, 9, 6)), QString());
    }

    void completionOffersWordsAndFillsInAVerbsParameters()
    {
        TRTFForm *editor = OpenChecked(Script);
        QAbstractItemView *list = editor->Assist->Completer->popup();
        CaretTo(editor, 9, 4);
        QTest::keyClick(editor->RE, Qt::Key_Return);
        CaretTo(editor, 9, 4);
        QTest::keyClicks(editor->RE, "Pl");
        QVERIFY(!list->isVisible());
        QTest::keyClicks(editor->RE, "aySoundTh");
        QVERIFY(list->isVisible());
        QCOMPARE(list->currentIndex().data().toString(), QString("PlaySoundThing"));
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(!list->isVisible());
        QCOMPARE(QString::fromStdString(editor->Line(9)).left(30),
                 QString("    PlaySoundThing(snd, thing,"));
        QCOMPARE(Selected(editor), QString("snd"));
        QVERIFY(editor->Assist->ParameterTip->isVisible());
        QVERIFY(editor->Assist->ParameterTip->text().contains("<b>sound *.snd</b>"));
        QTest::keyClicks(editor->RE, "snd,");
        QVERIFY(editor->Assist->ParameterTip->text().contains("<b>thing</b>"));
        QTest::keyClick(editor->RE, Qt::Key_Escape);
        QVERIFY(!editor->Assist->ParameterTip->isVisible());

        // After "call", the labels; one that fits alone goes in at once when asked.
        CaretTo(editor, 8, 13);
        QTest::keyClicks(editor->RE, "\b\b\b\bo");
        editor->Assist->CompleteWord1->trigger();
        QCOMPARE(QString::fromStdString(editor->Line(8)), QString("    call open;"));
        // A type at the start of a symbols line, the section read from the lines above when
        // the colours are off.
        editor->Tools->SetHighlighting(false);
        CaretTo(editor, 4, 0);
        QTest::keyClick(editor->RE, Qt::Key_Return);
        CaretTo(editor, 4, 0);
        QTest::keyClicks(editor->RE, "tem");
        QVERIFY(list->isVisible());
        QCOMPARE(list->currentIndex().data().toString(), QString("template"));
        QTest::keyClick(list, Qt::Key_Escape);
        QVERIFY(!list->isVisible());
        // In a comment nothing is offered.
        CaretTo(editor, 14, 16);
        QTest::keyClicks(editor->RE, " # Pla");
        editor->Assist->CompleteWord1->trigger();
        QVERIFY(!list->isVisible());
    }

    void definitionsAndUsesAreFound()
    {
        TRTFForm *editor = OpenChecked(Script);
        CaretTo(editor, 7, 25);
        QTest::keyClick(editor->RE, Qt::Key_F12);
        QCOMPARE(editor->RE->textCursor().blockNumber(), 2);
        QCOMPARE(Selected(editor), QString("door"));

        // Ctrl+click on the label after "call".
        const QPoint label = PointAt(editor, 8, 10);
        QTest::mouseClick(editor->RE->viewport(), Qt::LeftButton, Qt::ControlModifier, label);
        QCOMPARE(editor->RE->textCursor().blockNumber(), 10);
        QCOMPARE(Selected(editor), QString("open"));

        // A message leads to its handler.
        CaretTo(editor, 1, 12);
        QTest::keyClick(editor->RE, Qt::Key_F12);
        QCOMPARE(editor->RE->textCursor().blockNumber(), 6);

        CaretTo(editor, 2, 11);
        QTest::keyClick(editor->RE, Qt::Key_F12, Qt::ShiftModifier);
        QListWidget *uses = editor->Assist->UsesList;
        QVERIFY(uses->isVisible());
        QCOMPARE(uses->count(), 3);
        QVERIFY(uses->item(2)->text().contains("Sleep(door);"));
        QTest::mouseClick(uses->viewport(), Qt::LeftButton, {},
                          uses->visualItemRect(uses->item(2)).center());
        QCOMPARE(editor->RE->textCursor().blockNumber(), 12);
        QCOMPARE(Selected(editor), QString("door"));

        CaretTo(editor, 9, 5);
        QTest::keyClick(editor->RE, Qt::Key_F12);
        QCOMPARE(editor->RE->textCursor().blockNumber(), 9);
        QVERIFY(!editor->IsModified());
    }
};

QTEST_MAIN(LiveAidsUiTest)
#include "LiveAidsUiTest.moc"

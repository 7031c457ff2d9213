#include <csignal>
#include <memory>
#include <sys/resource.h>

#include <QAction>
#include <QClipboard>
#include <QFontMetricsF>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QStatusBar>
#include <QTextBlock>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include "tests/ui/framefixture.h"
#include "ui/linebuilder/linebuilderwindow.h"

namespace {
QList<qreal> TabPositions(const TRTFForm *editor)
{
    QList<qreal> positions;
    for (const QTextOption::Tab &tab : editor->RE->document()->defaultTextOption().tabs())
        positions << tab.position;
    return positions;
}

// Files cannot grow beyond limit bytes while it lives: a full disk that even root meets.
class TFileSizeLimit
{
  public:
    explicit TFileSizeLimit(rlim_t limit)
    {
        getrlimit(RLIMIT_FSIZE, &Saved);
        OldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = Saved;
        small.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~TFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &Saved);
        std::signal(SIGXFSZ, OldHandler);
    }

  private:
    rlimit Saved;
    void (*OldHandler)(int);
};
} // namespace

class EditorUiTest : public QObject
{
    Q_OBJECT

  private slots:
    void init() { F.Start(); }
    void cleanup() { F.Stop(); }

    void aNewWindowLooksAsDesigned()
    {
        TRTFForm *editor = F.Frame->CreateEditor();
        QCOMPARE(editor->Caption(), QString("Quillex"));
        QCOMPARE(editor->width(), 653);
        QCOMPARE(editor->RE->objectName(), QString("RE"));
        QCOMPARE(editor->RE->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(editor->RE->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(editor->RE->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(editor->RE->font().pixelSize(), 11);
        // Courier New or, where the machine lacks it, a fixed-pitch face.
        const QFontMetrics metrics(editor->RE->font());
        QCOMPARE(metrics.horizontalAdvance('i'), metrics.horizontalAdvance('W'));
        QCOMPARE(editor->StatusText(), QString("Symbols"));

        QVERIFY(editor->TabB->isCheckable() && editor->SBShowLB->isCheckable());
        QVERIFY(!editor->TabB->isChecked());
    }

    void tabStopsSwitchBetweenTheSymbolsAndTheCodeLayout()
    {
        TRTFForm *editor = F.Frame->CreateEditor();
        // In characters of the fixed-pitch font: a tab-indented line shows indented by three.
        const qreal perChar = QFontMetricsF(editor->RE->font()).horizontalAdvance('x');
        QCOMPARE(editor->TabStops(), QList<int>({3, 13, 46}));
        QCOMPARE(TabPositions(editor), QList<qreal>({3 * perChar, 13 * perChar, 46 * perChar}));
        editor->SetText("\tx\nabcx\n");
        const auto left = [editor](int block, int column) {
            QTextCursor at(editor->RE->document()->findBlockByNumber(block));
            at.setPosition(at.position() + column);
            return editor->RE->cursorRect(at).left();
        };
        QCOMPARE(left(0, 1), left(1, 3));

        editor->TabB->click();
        QCOMPARE(editor->StatusText(), QString("Code"));
        QCOMPARE(editor->TabStops().size(), 21);
        QCOMPARE(editor->TabStops().first(), 3);
        QCOMPARE(editor->TabStops().last(), 63);
        QCOMPARE(TabPositions(editor).last(), 63 * perChar);

        // Another font moves the stops with its characters.
        F.Prompts.ExpectFont(QFont(editor->RE->font().family(), 20));
        editor->Font1Click();
        QCOMPARE(TabPositions(editor).first(),
                 3 * QFontMetricsF(editor->RE->font()).horizontalAdvance('x'));

        editor->TabB->click();
        QCOMPARE(editor->StatusText(), QString("Symbols"));
        QCOMPARE(editor->TabStops(), QList<int>({3, 13, 46}));
        QCOMPARE(TabPositions(editor).size(), 3);
    }

    void loadAndSaveKeepEveryByteAndWriteCrLf()
    {
        // Windows-1252: the euro sign, an e with acute, a no-break space, and the undefined
        // byte 0x81; line ends of all three kinds.
        const QByteArray bytes("a\x80 \xe9\xa0\x81\r\nb\nc\rd\r\n", 15);
        TRTFForm *editor = F.OpenScript(bytes);
        QCOMPARE(editor->RE->toPlainText().left(4), QString::fromUtf8("a\u20ac \u00e9"));
        QCOMPARE(editor->Lines(),
                 std::vector<std::string>({std::string("a\x80 \xe9\xa0\x81", 6), "b", "c", "d"}));
        QCOMPARE(editor->LineCount(), 4);
        QCOMPARE(editor->LineStart(1), 7);
        QVERIFY(!editor->IsModified());

        QVERIFY(editor->Save());
        QCOMPARE(F.ReadFile(editor->Caption()),
                 QByteArray("a\x80 \xe9\xa0\x81\r\nb\r\nc\r\nd\r\n", 17));

        // A character the code page lacks is written as '?', once the user agrees.
        editor->RE->moveCursor(QTextCursor::End);
        editor->RE->insertPlainText(QString::fromUtf8("\u2713"));
        QVERIFY(editor->IsModified());
        F.Prompts.ExpectConfirm(QString::fromUtf8("The character \"\u2713\" (U+2713) on line 5 "
                                                  "cannot be held by a script file. Write it "
                                                  "and all others like it as \"?\"?"),
                                true);
        QVERIFY(editor->Save());
        QVERIFY(!editor->IsModified());
        QVERIFY(F.ReadFile(editor->Caption()).endsWith("d\r\n?"));
    }

    void aFileThatCannotBeReadLeavesTextAndCaption()
    {
        TRTFForm *editor = F.OpenScript("kept\r\n");
        const QString caption = editor->Caption();
        editor->RE->insertPlainText("x");
        F.Prompts.ExpectIOError();
        QVERIFY(!editor->LoadFile(F.ProgramDir + "cog/missing.cog"));
        QCOMPARE(editor->Caption(), caption);
        QCOMPARE(editor->Text(), std::string("xkept\n"));
        QVERIFY(editor->IsModified());
    }

    void readingTheTextBackKeepsItModified()
    {
        TRTFForm *editor = F.OpenScript("a\r\n");
        editor->RE->insertPlainText("b");
        const QString temp = F.ProgramDir + "qxdata/~temp.tmp";
        QVERIFY(editor->SaveToFile(temp));
        QVERIFY(editor->LoadFromFile(temp));
        QCOMPARE(editor->Text(), std::string("ba\n"));
        QVERIFY(editor->IsModified());
        QCOMPARE(editor->Caption(), F.ProgramDir + "cog/test.cog");
    }

    void aFailedSaveKeepsTheFileAndTheModifiedState()
    {
        TRTFForm *editor = F.OpenScript("original\r\n");
        editor->SetText(std::string(64 * 1024, 'x'));
        QVERIFY(editor->IsModified());
        F.Prompts.ExpectIOError();
        {
            TFileSizeLimit full(4096);
            QVERIFY(!editor->Save());
        }
        QCOMPARE(F.ReadFile(editor->Caption()), QByteArray("original\r\n"));
        QVERIFY(editor->IsModified());
        QCOMPARE(QDir(F.ProgramDir + "cog").entryList(QDir::Files).size(),
                 QDir(QString(QX_DATA_DIR) + "/cog").entryList(QDir::Files).size() + 1);

        // Yes to the close question with a save that fails keeps the window open.
        QFile::remove(editor->Caption());
        QDir().mkpath(editor->Caption());
        F.Prompts.ExpectYesNoCancel("'" + editor->Caption() + "' has been modified, Save?",
                                    TAnswer::Yes);
        F.Prompts.ExpectIOError();
        QVERIFY(!editor->close());
        QCOMPARE(F.Frame->Editors().size(), 1);
    }

    void saveAsAddsTheExtensionAndTakesTheNameOnlyOnceWritten()
    {
        QDir(F.ProgramDir + "cog").removeRecursively();
        TRTFForm *editor = F.Frame->CreateEditor();
        editor->RE->setPlainText("symbols\nend\n");
        editor->RE->document()->setModified(true);

        F.Prompts.ExpectSaveFile(QString());
        editor->SaveAs1->trigger();
        const TFileDialog asked = F.Prompts.Calls.last().Dialog;
        QCOMPARE(asked.Filter, QString("Jedi Knight Cog File|*.cog"));
        QCOMPARE(asked.DefaultExt, QString("cog"));
        QCOMPARE(asked.InitialDir, F.ProgramDir + "cog/");
        QCOMPARE(asked.FileName, QString("Quillex"));
        QVERIFY(asked.ConfirmOverwrite);
        QVERIFY(QFileInfo(F.ProgramDir + "cog").isDir());
        QCOMPARE(editor->Caption(), QString("Quillex"));

        F.Prompts.ExpectSaveFile(F.ProgramDir + "nowhere/mine");
        F.Prompts.ExpectIOError();
        editor->SaveAs1->trigger();
        QCOMPARE(editor->Caption(), QString("Quillex"));
        QVERIFY(editor->IsModified());

        F.Prompts.ExpectSaveFile(F.ProgramDir + "cog/mine");
        editor->SaveAs1->trigger();
        QCOMPARE(editor->Caption(), F.ProgramDir + "cog/mine.cog");
        QCOMPARE(F.ReadFile(F.ProgramDir + "cog/mine.cog"), QByteArray("symbols\r\nend\r\n"));
        QVERIFY(!editor->IsModified());
    }

    void saveOfAWindowWithoutAFileAsksForAName()
    {
        TRTFForm *editor = F.Frame->CreateEditor();
        editor->RE->insertPlainText("x");
        F.Prompts.ExpectSaveFile(QString());
        F.Frame->SaveButtonClick();
        QVERIFY(!QFile::exists("Quillex"));
        QVERIFY(editor->IsModified());
    }

    void theCloseQuestionDecides()
    {
        TRTFForm *editor = F.OpenScript("a\r\n");
        editor->RE->insertPlainText("b");
        const QString question = "'" + editor->Caption() + "' has been modified, Save?";

        F.Prompts.ExpectYesNoCancel(question, TAnswer::Cancel);
        editor->Close1->trigger();
        QCOMPARE(F.Frame->Editors().size(), 1);

        F.Prompts.ExpectYesNoCancel(question, TAnswer::Yes);
        editor->Close1->trigger();
        QTRY_VERIFY(F.Frame->Editors().isEmpty());
        QCOMPARE(F.ReadFile(F.ProgramDir + "cog/test.cog"), QByteArray("ba\r\n"));

        TRTFForm *second = F.OpenScript("c\r\n", "second.cog");
        second->RE->insertPlainText("d");
        F.Prompts.ExpectYesNoCancel("'" + second->Caption() + "' has been modified, Save?",
                                    TAnswer::No);
        second->close();
        QTRY_VERIFY(F.Frame->Editors().isEmpty());
        QCOMPARE(F.ReadFile(F.ProgramDir + "cog/second.cog"), QByteArray("c\r\n"));
    }

    void theEditMenuKeysReachTheMenu()
    {
        TRTFForm *editor = F.OpenScript("one\r\n");
        F.Frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(F.Frame));
        editor->RE->setFocus();
        QCOMPARE(editor->Paste1->shortcut(), QKeySequence("Ctrl+B"));
        QCOMPARE(editor->Undo1->shortcut(), QKeySequence("Ctrl+U"));
        QCOMPARE(editor->Delete1->shortcut(), QKeySequence("Ctrl+D"));

        QApplication::clipboard()->setText("two");
        editor->RE->moveCursor(QTextCursor::Start);
        QTest::keyClick(editor->RE, Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(editor->Text(), std::string("twoone\n"));
        QTest::keyClick(editor->RE, Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(editor->Text(), std::string("one\n"));

        editor->SelectRange(0, 2);
        QTest::keyClick(editor->RE, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(editor->Text(), std::string("e\n"));
        // The text control's own keys stay as they are.
        QTest::keyClick(editor->RE, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(editor->Text(), std::string("twoe\n"));
        QTest::keyClick(editor->RE, Qt::Key_Tab);
        QCOMPARE(editor->Text(), std::string("two\te\n"));
        QTest::keyClick(editor->RE, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor->RE, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QString("two\te\n"));
    }

    void pasteTakesTheBuiltLineAndLeavesItOnTheClipboard()
    {
        TRTFForm *editor = F.OpenScript("before after\r\n");
        QPlainTextEdit *line = F.Frame->LineBuilder()->RE1;

        line->setPlainText("\nonly the second line");
        F.Prompts.ExpectMessage("Nothing to paste");
        editor->PasteB->click();
        QCOMPARE(editor->Text(), std::string("before after\n"));

        line->setPlainText("SetPulse(0.5);");
        editor->SelectRange(7, 5);
        editor->PasteB->click();
        QCOMPARE(editor->Text(), std::string("before SetPulse(0.5);\n"));
        QCOMPARE(QApplication::clipboard()->text(), QString("SetPulse(0.5);"));
        QCOMPARE(line->toPlainText(), QString("SetPulse(0.5);"));
    }

    void aTreeItemDropsAtTheCaretWhereverTheMouseIs()
    {
        TRTFForm *editor = F.OpenScript("end\r\n");
        // Set up as the Line Builder's tree, which offers its items for copying and moving.
        QTreeWidget tree;
        tree.setDragEnabled(true);
        tree.setDragDropMode(QAbstractItemView::DragOnly);
        auto *item = new QTreeWidgetItem(&tree, QStringList("thing"));
        const Qt::DropActions offered = tree.model()->supportedDragActions();
        QVERIFY(offered.testFlag(Qt::MoveAction));
        QVERIFY(editor->REDragOver(&tree));
        QVERIFY(!editor->REDragOver(editor->RE));
        QVERIFY(!editor->REDragOver(nullptr));

        // An event names its source only during a drag run by the window system, which the
        // offscreen platform ends at once. So the events are built as a drag from the tree
        // would bring them, and the tree is handed to the handlers beside them.
        editor->RE->moveCursor(QTextCursor::Start);
        const QPoint mouse =
            editor->RE->cursorRect(QTextCursor(editor->RE->document()->lastBlock())).center();
        std::unique_ptr<QMimeData> nothing(tree.model()->mimeData({}));
        QDropEvent empty(mouse, offered, nothing.get(), Qt::LeftButton, Qt::NoModifier);
        editor->RE->TreeDrop(&empty, &tree);
        QCOMPARE(editor->Text(), std::string("end\n"));

        // Shift proposes a move, after which the tree would delete the item: the editor
        // takes every drop from the tree as a copy.
        tree.setCurrentItem(item);
        std::unique_ptr<QMimeData> data(
            tree.model()->mimeData(tree.selectionModel()->selectedIndexes()));
        QDragEnterEvent enter(mouse, offered, data.get(), Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(enter.proposedAction(), Qt::MoveAction);
        editor->RE->TreeDragOver(&enter, &tree);
        QVERIFY(enter.isAccepted());
        QCOMPARE(enter.dropAction(), Qt::CopyAction);
        QDragMoveEvent move(mouse, offered, data.get(), Qt::LeftButton, Qt::ShiftModifier);
        editor->RE->TreeDragOver(&move, &tree);
        QVERIFY(move.isAccepted());
        QCOMPARE(move.dropAction(), Qt::CopyAction);
        QDropEvent drop(mouse, offered, data.get(), Qt::LeftButton, Qt::ShiftModifier);
        editor->RE->TreeDrop(&drop, &tree);
        QVERIFY(drop.isAccepted());
        QCOMPARE(drop.dropAction(), Qt::CopyAction);
        // At the caret, not under the mouse at the end of the text.
        QCOMPARE(editor->Text(), std::string("thingend\n"));
        QCOMPARE(tree.topLevelItemCount(), 1);

        // The same events through the text area's own handlers, which take the source from
        // the event: without a drag under way there is none, and nothing is taken.
        QMimeData text;
        text.setText("text");
        QDragEnterEvent foreignEnter(mouse, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(editor->RE->viewport(), &foreignEnter);
        QVERIFY(!foreignEnter.isAccepted());
        QDropEvent foreignDrop(mouse, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(editor->RE->viewport(), &foreignDrop);
        QVERIFY(!foreignDrop.isAccepted());
        QCOMPARE(editor->Text(), std::string("thingend\n"));
    }

    void lineOperationsWorkOnTheScriptsLines()
    {
        TRTFForm *editor = F.OpenScript("a\r\nbb\r\nccc\r\n");
        QCOMPARE(editor->Line(1), std::string("bb"));
        editor->SetLine(1, "B\xe9");
        QCOMPARE(editor->Line(1), std::string("B\xe9"));
        QVERIFY(editor->IsModified());
        editor->SelectRange(editor->LineStart(2), 3);
        QCOMPARE(editor->RE->textCursor().selectedText(), QString("ccc"));
        editor->ReplaceSelection("x");
        QCOMPARE(editor->Text(), std::string("a\nB\xe9\nx\n"));
        editor->Undo1Click();
        editor->Undo1Click();
        QCOMPARE(editor->Text(), std::string("a\nbb\nccc\n"));
    }

    void theFontDialogSetsTheFontOfTheWholeText()
    {
        TRTFForm *editor = F.OpenScript("a\r\n");
        QFont chosen("DejaVu Sans Mono");
        chosen.setPixelSize(16);
        F.Prompts.ExpectFont(chosen);
        editor->Font1->trigger();
        QCOMPARE(editor->RE->font().pixelSize(), 16);
        F.Prompts.ExpectFont(QFont(), false);
        editor->Font1->trigger();
        QCOMPARE(editor->RE->font().pixelSize(), 16);
        QCOMPARE(F.Prompts.Calls.last().Text, chosen.family());
    }

    void printingPrintsOnlyWhenConfirmed()
    {
        TRTFForm *editor = F.OpenScript("symbols\r\nend\r\n");
        const QString pdf = F.ProgramDir + "out.pdf";
        editor->Printer()->setOutputFormat(QPrinter::PdfFormat);
        editor->Printer()->setOutputFileName(pdf);
        F.Prompts.ExpectPrint(false);
        editor->Print1->trigger();
        QVERIFY(!QFile::exists(pdf));

        F.Prompts.ExpectPrinterSetup(true);
        editor->PrintSetup1->trigger();
        F.Prompts.ExpectPrint(true);
        editor->Print1->trigger();
        QVERIFY(QFileInfo(pdf).size() > 0);
        QCOMPARE(editor->Printer()->docName(), editor->Caption());
    }

    void newInAnEditorRunsTheFramesNew()
    {
        TRTFForm *editor = F.OpenScript("mine\r\n", "mine.cog");
        F.Prompts.ExpectConfirm("Load file into current form?", false);
        editor->New1->trigger();
        QCOMPARE(F.Frame->Editors().size(), 2);
        QCOMPARE(editor->Text(), std::string("mine\n"));
        QCOMPARE(F.Frame->ActiveEditor()->Caption(), F.ProgramDir + "cog/default.cog");
    }

    void theLineBuilderButtonShowsItForThisEditor()
    {
        TRTFForm *editor = F.OpenScript("a\r\n");
        F.Frame->TargetIndex = 3;
        editor->SBShowLB->click();
        QVERIFY(F.Frame->LineBuilder()->isVisible());
        QCOMPARE(F.Frame->TargetIndex, 0);
        F.Frame->LineBuilder()->hide();

        // A two-state button, set up again whenever the window is shown; its state changes
        // nothing of what a click does.
        QVERIFY(editor->SBShowLB->isChecked());
        editor->hide();
        editor->show();
        QVERIFY(!editor->SBShowLB->isChecked());
        F.Frame->TargetIndex = 3;
        editor->SBShowLB->click();
        QVERIFY(editor->SBShowLB->isChecked());
        QVERIFY(F.Frame->LineBuilder()->isVisible());
        QCOMPARE(F.Frame->TargetIndex, 0);
        F.Frame->LineBuilder()->hide();
    }

    void onlyAPressOnTheWindowsOwnSurfaceRemembersTheTarget_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<bool>("remembers");
        QTest::newRow("tool bar") << "ToolBar1" << false;
        QTest::newRow("status bar") << "StatusBar1" << false;
        QTest::newRow("status panel") << "StatusPanel" << false;
        QTest::newRow("text") << "RE" << false;
        QTest::newRow("title bar") << "title" << false;
        QTest::newRow("own surface") << "Body" << true;
    }

    void onlyAPressOnTheWindowsOwnSurfaceRemembersTheTarget()
    {
        QFETCH(QString, place);
        QFETCH(bool, remembers);
        TRTFForm *editor = F.OpenScript("a\r\n");
        // The bars and the text fill the window; a margin bares some of its own surface.
        QWidget *body = editor->widget();
        body->layout()->setContentsMargins(6, 6, 6, 6);
        body->layout()->activate();

        QWidget *target = editor->findChild<QWidget *>(place);
        QPoint at;
        if (place == "title")
        {
            target = editor;
            at = QPoint(editor->width() / 2, body->y() / 2);
            QVERIFY(body->y() > 4);
            QCOMPARE(editor->childAt(at), nullptr);
        }
        else if (place == "Body")
            at = QPoint(2, 2);
        else if (place == "RE")
        {
            target = editor->RE->viewport();
            at = target->rect().center();
        }
        else
            at = QPoint(target->width() - 4, target->height() / 2);
        QVERIFY(target);
        // The press lands on the widget itself, not on something inside it.
        if (place != "title" && place != "RE")
            QCOMPARE(target->childAt(at), nullptr);

        F.Frame->TargetIndex = 3;
        QTest::mousePress(target, Qt::LeftButton, {}, at);
        QTest::mouseRelease(target, Qt::LeftButton, {}, at);
        QCOMPARE(F.Frame->TargetIndex, remembers ? 0 : 3);
    }

    void aWritableScriptInAReadOnlyFolderIsSavedInPlace()
    {
        const QString folder = F.ProgramDir + "locked/";
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + "script.cog";
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("old\r\n");
        }
        TRTFForm *editor = F.Frame->OpenInEditor(nullptr, path);

        const QFileDevice::Permissions open = QFile::permissions(folder);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        struct TRestore
        {
            QString Folder;
            QFileDevice::Permissions Permissions;
            ~TRestore() { QFile::setPermissions(Folder, Permissions); }
        } restore{folder, open};
        QFile probe(folder + "probe");
        if (probe.open(QIODevice::WriteOnly))
        {
            probe.remove();
            QSKIP("The folder's permissions do not bind this user (root).");
        }

        editor->SetText("new\n");
        QVERIFY(editor->Save());
        QVERIFY(!editor->IsModified());
        QCOMPARE(F.ReadFile(path), QByteArray("new\r\n"));
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList("script.cog"));

        // A read-only script is still refused, and stays as it was.
        QFile::setPermissions(path, QFileDevice::ReadOwner);
        editor->SetText("newer\n");
        F.Prompts.ExpectIOError();
        QVERIFY(!editor->Save());
        QCOMPARE(F.ReadFile(path), QByteArray("new\r\n"));
    }

  private:
    TFrameFixture F;
};

QTEST_MAIN(EditorUiTest)
#include "EditorUiTest.moc"

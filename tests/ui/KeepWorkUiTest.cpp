// Nothing of the user's is lost: the editor's text and undo history across loads, error
// marks and saves, scripts on disk across extraction and deletion, and the program itself
// across an exception in a handler. Runs under the program's own application object.

#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <utility>

#include <QClipboard>
#include <QDateTime>
#include <QDirIterator>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStorageInfo>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include "core/shell/textutils.h"
#include "tests/core/gobbuilder.h"
#include "tests/ui/framefixture.h"
#include "ui/analysis/checkerwindow.h"
#include "ui/common/application.h"
#include "ui/gamedata/extractiondialog.h"
#include "ui/linebuilder/linebuilderwindow.h"

namespace {
// "Unknown type" on line 3.
const QByteArray OneBadType = "# one fault\r\n"
                              "symbols\r\n"
                              "message startup\r\n"
                              "bogus x\r\n"
                              "end\r\n"
                              "code\r\n"
                              "startup:\r\n"
                              "  stop;\r\n"
                              "end\r\n";

void TypeAtEnd(TRTFForm *editor, const QString &text)
{
    editor->RE->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor->RE, text);
}

QString Modified(const QString &path)
{
    return QString("'%1' has been modified, Save?").arg(path);
}

int RedMarks(const TRTFForm *editor)
{
    int marks = 0;
    for (const QTextEdit::ExtraSelection &mark : editor->RE->extraSelections())
        marks += mark.format.foreground().color() == QColor(255, 0, 0);
    return marks;
}

std::string Bytes(const QByteArray &bytes)
{
    return bytes.toStdString();
}

// A QObject whose timer event throws, for the guard of the event loop.
class TThrower : public QObject
{
  public:
    explicit TThrower(std::function<void()> action) : Action(std::move(action)) {}

  protected:
    void timerEvent(QTimerEvent *event) override
    {
        killTimer(event->timerId());
        Action();
    }

  private:
    std::function<void()> Action;
};
} // namespace

class KeepWorkUiTest : public QObject
{
    Q_OBJECT

    TFrameFixture F;

    QString Cog(const QString &name) const { return F.ProgramDir + "cog/" + name; }

    // Runs the extraction dialog over path with every script selected; expect queues the
    // questions the extraction is to ask.
    void ExtractAll(const QString &path, const std::function<void()> &expect = {})
    {
        SetModalHook([](QDialog *dialog) {
            auto *gg = qobject_cast<TGG *>(dialog);
            gg->show();
            gg->LB1->selectAll();
            QTest::mouseClick(gg->BBExtract, Qt::LeftButton);
            gg->hide();
            return gg->result();
        });
        F.Prompts.ExpectOpenFile(path);
        if (expect)
            expect();
        F.Frame->Open1Click();
    }

  private slots:
    void init() { F.Start(); }
    void cleanup() { F.Stop(); }

    void loadingIntoAModifiedEditorAsksTheCloseQuestionFirst_data()
    {
        QTest::addColumn<int>("reply");
        QTest::newRow("yes saves, then loads") << int(TAnswer::Yes);
        QTest::newRow("no discards, then loads") << int(TAnswer::No);
        QTest::newRow("cancel keeps everything") << int(TAnswer::Cancel);
    }

    void loadingIntoAModifiedEditorAsksTheCloseQuestionFirst()
    {
        QFETCH(int, reply);
        const auto answer = static_cast<TAnswer>(reply);
        TRTFForm *editor = F.OpenScript("first\r\n", "first.cog");
        const QString first = editor->Caption();
        const QString second = F.WriteScript("second\r\n", "second.cog");
        TypeAtEnd(editor, "mine");

        F.Prompts.ExpectOpenFile(second);
        F.Prompts.ExpectConfirm("Load file into current form?", true);
        F.Prompts.ExpectYesNoCancel(Modified(first), answer);
        F.Frame->Open1Click();

        QCOMPARE(F.Frame->Editors().size(), 1);
        QCOMPARE(F.ReadFile(first),
                 answer == TAnswer::Yes ? QByteArray("first\r\nmine") : QByteArray("first\r\n"));
        if (answer == TAnswer::Cancel)
        {
            QCOMPARE(editor->Caption(), first);
            QCOMPARE(editor->Text(), std::string("first\nmine"));
            QVERIFY(editor->IsModified());
            editor->Undo1Click();
            QCOMPARE(editor->Text(), std::string("first\n"));
        }
        else
        {
            QCOMPARE(editor->Caption(), second);
            QCOMPARE(editor->Text(), std::string("second\n"));
            QVERIFY(!editor->IsModified());
        }
    }

    void newIntoAModifiedEditorAsksAndAnUnmodifiedOneIsLoadedAsBefore()
    {
        TRTFForm *editor = F.OpenScript("mine\r\n", "mine.cog");
        const QString path = editor->Caption();
        TypeAtEnd(editor, "more");
        F.Prompts.ExpectConfirm("Load file into current form?", true);
        F.Prompts.ExpectYesNoCancel(Modified(path), TAnswer::Cancel);
        F.Frame->New1Click();
        QCOMPARE(editor->Text(), std::string("mine\nmore"));
        QCOMPARE(editor->Caption(), path);

        // Nothing at risk, nothing more asked.
        editor->Undo1Click();
        editor->RE->document()->setModified(false);
        F.Prompts.ExpectConfirm("Load file into current form?", true);
        F.Frame->New1Click();
        QCOMPARE(editor->Caption(), Cog("default.cog"));
        QCOMPARE(F.Prompts.Texts("YesNoCancel").size(), 1);
    }

    void errorMarksAreNoEditAndUndoUndoesTheUsersLastOne()
    {
        TRTFForm *editor = F.OpenScript(OneBadType);
        QTest::mouseClick(editor->SBConCheck, Qt::LeftButton);
        TSC *sc = F.Frame->SyntaxChecker();
        QCOMPARE(sc->Errors->count(), 1);
        for (int i = 0; i < 3; ++i)
        {
            sc->Errors->setCurrentRow(0);
            F.Frame->ShowError();
        }
        QVERIFY(RedMarks(editor) > 0);
        QVERIFY(!editor->IsModified());
        QVERIFY(!editor->RE->document()->isUndoAvailable());

        // The user's edit, another error click, then Ctrl+U: the edit goes, the red stays.
        F.Frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(F.Frame));
        TypeAtEnd(editor, "# note");
        F.Frame->ShowError();
        QTest::keyClick(editor->RE, Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(QByteArray::fromStdString(editor->Text()),
                 QByteArray(OneBadType).replace("\r\n", "\n"));
        QVERIFY(RedMarks(editor) > 0);
        QVERIFY(!editor->IsModified());

        // Refresh takes the red away and leaves the text and its state as they were.
        sc->BBRefresh->click();
        QCOMPARE(RedMarks(editor), 0);
        QVERIFY(!editor->IsModified());
        QCOMPARE(sc->Errors->count(), 1);
        // Closing an unchanged script asks nothing.
        editor->close();
        QTRY_VERIFY(F.Frame->Editors().isEmpty());
    }

    void everyWayTextComesInKeepsOneLineModel()
    {
        TRTFForm *editor = F.OpenScript("a", "lines.cog");
        F.Frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(F.Frame));
        editor->RE->setFocus();
        editor->RE->moveCursor(QTextCursor::End);
        // Typing, with Shift+Enter.
        QTest::keyClick(editor->RE, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(editor->RE, "b");
        QTest::keyClick(editor->RE, Qt::Key_Enter, Qt::ShiftModifier);
        // Paste.
        const QChar lineSeparator(QChar::LineSeparator);
        const QChar paragraphSeparator(QChar::ParagraphSeparator);
        QApplication::clipboard()->setText(QString("c\rd\r\ne") + lineSeparator + "f" +
                                           paragraphSeparator + "g\n");
        editor->Paste1Click();
        // Drop of a tree item.
        QTreeWidget tree;
        auto *item = new QTreeWidgetItem(&tree, QStringList(QString("h") + lineSeparator + "i"));
        tree.setCurrentItem(item);
        editor->REDragDrop(&tree);
        // The Line Builder's built line.
        F.Frame->LineBuilder()->RE1->setPlainText(QString("j") + lineSeparator + "k");
        editor->PasteB->click();

        QVERIFY(editor->Save());
        const std::string bytes = Bytes(F.ReadFile(editor->Caption()));
        const std::vector<std::string> lines = SplitTextLines(bytes);
        QCOMPARE(editor->Lines(), lines);
        QCOMPARE(editor->LineCount(), static_cast<int>(lines.size()));
        QCOMPARE(lines,
                 std::vector<std::string>({"a", "b", "c", "d", "e", "f", "g", "h", "ij", "k"}));
        for (int i = 0; i < editor->LineCount(); ++i)
            QCOMPARE(editor->Line(i), lines[static_cast<size_t>(i)]);
        QVERIFY(bytes.find("\r\n") != std::string::npos);
        QVERIFY(bytes.find('?') == std::string::npos);
    }

    void charactersAFileCannotHoldAreWrittenOnlyWhenTheUserAgrees()
    {
        TRTFForm *editor = F.OpenScript("a\r\n", "marks.cog");
        const QString path = editor->Caption();
        editor->RE->moveCursor(QTextCursor::End);
        editor->ReplaceSelection(QString("ok %1 %2\n").arg(QChar(0x2713), QChar(0x2192)));
        const QString question = QString("The character \"%1\" (U+2713) on line 2 cannot be held "
                                         "by a script file. Write it and all others like it as "
                                         "\"?\"?")
                                     .arg(QChar(0x2713));

        F.Prompts.ExpectConfirm(question, false);
        QVERIFY(!editor->Save());
        QCOMPARE(F.ReadFile(path), QByteArray("a\r\n"));
        QVERIFY(editor->IsModified());

        const QString other = Cog("other.cog");
        F.Prompts.ExpectSaveFile(other);
        F.Prompts.ExpectConfirm(question, false);
        QVERIFY(!editor->SaveAs());
        QVERIFY(!QFile::exists(other));
        QCOMPARE(editor->Caption(), path);

        // Check Cog's Refresh writes the checker's own file as a script file holds the text,
        // without asking, and the editor keeps showing what the user typed.
        const QString temp = F.ProgramDir + "qxdata/~temp.tmp";
        QFile::remove(temp);
        QTest::mouseClick(editor->SBConCheck, Qt::LeftButton);
        F.Frame->SyntaxChecker()->BBRefresh->click();
        QCOMPARE(F.ReadFile(temp), QByteArray("a\r\nok ? ?\r\n"));
        QVERIFY(editor->RE->toPlainText().contains(QChar(0x2713)));

        F.Prompts.ExpectConfirm(question, true);
        QVERIFY(editor->Save());
        QCOMPARE(F.ReadFile(path), QByteArray("a\r\nok ? ?\r\n"));

        // Plain text, and characters of the script's code page, ask nothing.
        editor->SetText("plain \xe9\x80\n");
        QVERIFY(editor->Save());
        QCOMPARE(F.ReadFile(path), QByteArray("plain \xe9\x80\r\n"));
    }

    void extractionReachesAScriptFolderSpelledInAnotherCase()
    {
        const QString path = F.Temp->filePath("case.gob");
        WriteBytes(path.toStdString(),
                   TGobBuilder().Add("COG\\x.cog", "x").Add("Cog\\y.cog", "y").Build());
        ExtractAll(path);
        QCOMPARE(F.ReadFile(Cog("x.cog")), QByteArray("x"));
        QCOMPARE(F.ReadFile(Cog("y.cog")), QByteArray("y"));
        QVERIFY(!QFile::exists(F.ProgramDir + "COG"));
        QVERIFY(!QFile::exists(F.ProgramDir + "Cog"));
    }

    void extractionAsksBeforeReplacingAChangedScript_data()
    {
        QTest::addColumn<QList<int>>("replies");
        QTest::addColumn<QByteArray>("a");
        QTest::addColumn<QByteArray>("c");
        QTest::addColumn<bool>("dExtracted");
        QTest::newRow("yes, then no")
            << QList<int>{int(TReplaceAnswer::Yes), int(TReplaceAnswer::No)}
            << QByteArray("archive a") << QByteArray("mine c") << true;
        QTest::newRow("yes to all") << QList<int>{int(TReplaceAnswer::YesToAll)}
                                    << QByteArray("archive a") << QByteArray("archive c") << true;
        QTest::newRow("cancel stops the run")
            << QList<int>{int(TReplaceAnswer::Cancel)} << QByteArray("mine a")
            << QByteArray("mine c") << false;
    }

    void extractionAsksBeforeReplacingAChangedScript()
    {
        QFETCH(QList<int>, replies);
        QFETCH(QByteArray, a);
        QFETCH(QByteArray, c);
        QFETCH(bool, dExtracted);
        const QString path = F.Temp->filePath("replace.gob");
        WriteBytes(path.toStdString(), TGobBuilder()
                                           .Add("cog\\a.cog", "archive a")
                                           .Add("cog\\b.cog", "same b")
                                           .Add("cog\\c.cog", "archive c")
                                           .Add("cog\\d.cog", "archive d")
                                           .Build());
        F.WriteScript("mine a", "a.cog");
        F.WriteScript("same b", "b.cog");
        F.WriteScript("mine c", "c.cog");
        const QStringList files = {"a.cog", "c.cog"};
        ExtractAll(path, [&] {
            for (int i = 0; i < replies.size(); ++i)
                F.Prompts.ExpectReplace(
                    QString("'%1' already exists and differs from the archive's copy. Replace it?")
                        .arg(Cog(files[i])),
                    static_cast<TReplaceAnswer>(replies[i]));
        });
        QCOMPARE(F.ReadFile(Cog("a.cog")), a);
        QCOMPARE(F.ReadFile(Cog("b.cog")), QByteArray("same b"));
        QCOMPARE(F.ReadFile(Cog("c.cog")), c);
        QCOMPARE(QFile::exists(Cog("d.cog")), dExtracted);
    }

    void anExceptionInAHandlerIsReportedAndTheProgramGoesOn()
    {
        TRTFForm *editor = F.OpenScript("kept\r\n");
        TypeAtEnd(editor, "typed");
        TThrower failing([] { throw std::runtime_error("Broken handler"); });
        TThrower exhausted([] { throw std::bad_alloc(); });
        F.Prompts.ExpectIOError("Broken handler");
        F.Prompts.ExpectIOError("Out of memory");
        failing.startTimer(0);
        QTRY_COMPARE(F.Prompts.Calls.size(), 1);
        exhausted.startTimer(0);
        QTRY_COMPARE(F.Prompts.Calls.size(), 2);

        // A button whose handler fails: reported the same way.
        auto *button = new QPushButton("fail", F.Frame);
        connect(button, &QPushButton::clicked, [] { throw std::logic_error("Bad click"); });
        button->show();
        F.Prompts.ExpectIOError("Bad click");
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(F.Prompts.Calls.size(), 3);

        QVERIFY(F.Frame->isVisible());
        QCOMPARE(F.Frame->Editors().size(), 1);
        QCOMPARE(editor->Text(), std::string("kept\ntyped"));
        QVERIFY(editor->IsModified());
    }

    void saveAfterNewAsksBeforeWritingOverTheStarterScript()
    {
        const QByteArray starter = F.ReadFile(Cog("default.cog"));
        F.Frame->New1Click();
        TRTFForm *editor = F.Frame->ActiveEditor();
        QVERIFY(editor);
        TypeAtEnd(editor, "# mine");

        F.Prompts.ExpectYesNoCancel("Save over the starter script default.cog?", TAnswer::Cancel);
        QVERIFY(!editor->Save());
        QCOMPARE(F.ReadFile(Cog("default.cog")), starter);
        QVERIFY(editor->IsModified());

        const QString mine = Cog("mine.cog");
        F.Prompts.ExpectYesNoCancel("Save over the starter script default.cog?", TAnswer::No);
        F.Prompts.ExpectSaveFile(mine);
        F.Frame->SaveButtonClick();
        QCOMPARE(F.ReadFile(Cog("default.cog")), starter);
        QVERIFY(F.ReadFile(mine).endsWith("# mine"));
        QCOMPARE(editor->Caption(), mine);

        // The window holds the user's own file now: Save writes it with no question.
        TypeAtEnd(editor, "!");
        QVERIFY(editor->Save());
        QVERIFY(F.ReadFile(mine).endsWith("# mine!"));
    }

    void deleteSaysDeleteAndMovesTheFileToTheTrash()
    {
        // The desktop's trash of this test, not the user's.
        const QByteArray savedData = qgetenv("XDG_DATA_HOME");
        QDir().mkpath(F.Temp->filePath("data"));
        qputenv("XDG_DATA_HOME", F.Temp->filePath("data").toLocal8Bit());
        const QString path = F.WriteScript("delete me", "gone.cog");
        F.Prompts.ExpectOpenFile(path);
        F.Frame->Delete1Click();
        QCOMPARE(F.Prompts.Calls.last().Dialog.AcceptLabel, QString("Delete"));
        QCOMPARE(F.Prompts.Calls.last().Dialog.Title, QString("Delete File"));
        QVERIFY(!QFile::exists(path));
        QVERIFY(F.Frame->OpenDialog.AcceptLabel.isEmpty());

        // In the trash of the file's own disk or of the user's data folder.
        QStringList found;
        for (const QString &trash :
             {F.Temp->filePath("data/Trash"),
              QStorageInfo(F.Temp->path()).rootPath() + QString("/.Trash-%1").arg(getuid())})
            for (QDirIterator it(trash, QDirIterator::Subdirectories); it.hasNext();)
                if (QFileInfo(it.next()).fileName().startsWith("gone"))
                    found << it.filePath();
        for (const QString &file : found)
            if (file.contains("/files/"))
                QCOMPARE(F.ReadFile(file), QByteArray("delete me"));
        QVERIFY2(!found.isEmpty(), "the deleted file is not in the trash");
        if (savedData.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", savedData);
        for (const QString &file : found)
            QFile::remove(file);
    }

    // A script changed on disk while open is read again when its window comes forward: at once
    // when the window holds no changes, on the user's word when it does; never a second time
    // for the same change, and never over the new file without a word.
    void aScriptChangedOnDiskIsReadAgainWhenItsWindowComesForward()
    {
        TRTFForm *script = F.OpenScript("symbols\r\nend\r\n", "a.cog");
        TRTFForm *other = F.OpenScript("x\r\n", "b.cog");
        const QString path = script->Caption();
        const auto changeOnDisk = [&](const QByteArray &bytes) {
            F.WriteScript(bytes, "a.cog");
            QFile(path).setFileTime(QDateTime::currentDateTime().addSecs(60),
                                    QFileDevice::FileModificationTime);
        };
        const auto bringForward = [&](TRTFForm *editor) {
            F.Frame->ClientArea()->setActiveSubWindow(editor);
        };

        changeOnDisk("# from the extraction\r\n");
        bringForward(script);
        QCOMPARE(script->Text(), std::string("# from the extraction\n"));
        QVERIFY(!script->IsModified());
        QVERIFY(script->StatusBar1->currentMessage().contains("read again"));

        // Changed in the window too: No keeps the window's text, and is not asked again.
        script->SetText("mine\n");
        bringForward(other);
        changeOnDisk("# theirs\r\n");
        const QString question =
            QString("'%1' was changed on disk by another program, and this window holds changes "
                    "that are not saved. Read the file again and lose the changes in this window?")
                .arg(path);
        F.Prompts.ExpectConfirm(question, false);
        bringForward(script);
        QCOMPARE(script->Text(), std::string("mine\n"));
        bringForward(other);
        bringForward(script);
        QCOMPARE(F.Prompts.Texts("Confirm").size(), 1);

        bringForward(other);
        changeOnDisk("# theirs again\r\n");
        F.Prompts.ExpectConfirm(question, true);
        bringForward(script);
        QCOMPARE(script->Text(), std::string("# theirs again\n"));
        QVERIFY(!script->IsModified());

        // Its own saves are no change from elsewhere.
        script->SetText("saved\n");
        QVERIFY(script->Save());
        bringForward(other);
        bringForward(script);
        QCOMPARE(F.Prompts.Texts("Confirm").size(), 2);
    }
};

int main(int argc, char **argv)
{
    TQxApplication app(argc, argv);
    KeepWorkUiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "KeepWorkUiTest.moc"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "core/shell/folders.h"
#include "tests/ui/framefixture.h"
#include "ui/analysis/checkerwindow.h"
#include "ui/editor/livecheck.h"
#include "ui/frame/aboutbox.h"
#include "ui/frame/frameextras.h"
#include "ui/frame/helpwindow.h"
#include "ui/gamedata/directoriesdialog.h"
#include "ui/gamedata/extractiondialog.h"
#include "ui/gamedata/resourcepicker.h"
#include "ui/linebuilder/linebuilderwindow.h"

namespace {
QStringList MenuTitles(QMainWindow *window)
{
    QStringList titles;
    for (QAction *action : window->menuBar()->actions())
        titles << action->text();
    return titles;
}

// Whether the client area, as it paints itself now, shows the whole program picture with its
// top-left corner at origin (in the area's coordinates).
bool ShowsPicture(TClientArea *area, QPoint origin)
{
    const QImage shot = area->grab().toImage();
    const QImage picture = area->Picture().toImage();
    if (shot.devicePixelRatio() != 1.0 || picture.devicePixelRatio() != 1.0)
        return false;
    if (!shot.rect().contains(QRect(origin, picture.size())))
        return false;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if ((shot.pixel(origin.x() + x, origin.y() + y) ^ picture.pixel(x, y)) & 0xffffff)
                return false;
    return true;
}

void Modify(TRTFForm *editor, const QString &text = "x")
{
    editor->RE->moveCursor(QTextCursor::End);
    editor->RE->insertPlainText(text);
}
} // namespace

class FrameUiTest : public QObject
{
    Q_OBJECT

  private slots:
    void init() { F.Start(); }
    void cleanup() { F.Stop(); }

    void startReadsTheFoldersAndCreatesTheToolWindowsHidden()
    {
        const TProgramFolders &folders = F.Frame->ProgramFolders();
        QCOMPARE(QString::fromStdString(folders.ProgramDir), F.ProgramDir);
        QCOMPARE(QString::fromStdString(folders.CogDir), F.ProgramDir + "cog/");
        QCOMPARE(QString::fromStdString(folders.DataDir), F.ProgramDir + "qxdata/");
        QCOMPARE(QString::fromStdString(F.Frame->StartVersion()), QString("0.3 beta"));
        QVERIFY(!F.Frame->Timer1->isActive());

        // The order of creation is the order of the frame's children.
        QStringList order;
        for (QObject *child : F.Frame->children())
            if (child == F.Frame->LineBuilder() || child == F.Frame->About() ||
                child == F.Frame->Extraction() || child == F.Frame->ResourcePicker() ||
                child == F.Frame->Directories() || child == F.Frame->SyntaxChecker())
            {
                order << child->objectName();
                QVERIFY(!static_cast<QWidget *>(child)->isVisible());
            }
        QCOMPARE(order, QStringList({"VF", "AboutBox", "GG", "Res", "Dir", "SC"}));
        QCOMPARE(F.Frame->windowTitle(), QString("Quillex"));
    }

    void newOpensTheStarterScriptWhateverTheCaseOfItsName()
    {
        QFile::rename(F.ProgramDir + "cog/default.cog", F.ProgramDir + "cog/Default.COG");
        F.Frame->New1Click();
        TRTFForm *editor = F.Frame->ActiveEditor();
        QVERIFY(editor);
        QCOMPARE(editor->Caption(), F.ProgramDir + "cog/Default.COG");
        QVERIFY(editor->Text().find("symbols") != std::string::npos);
        QVERIFY(!editor->IsModified());
    }

    void newWithoutTheStarterScriptSaysSo()
    {
        QFile::remove(F.ProgramDir + "cog/default.cog");
        F.Prompts.ExpectMessage(" Cannot find \"default.cog\" in \" \\cog \" Directory");
        F.Frame->New1Click();
        QVERIFY(F.Frame->ChildList().isEmpty());
    }

    void saveAfterNewWritesTheStarterScript()
    {
        F.Frame->New1Click();
        TRTFForm *editor = F.Frame->ActiveEditor();
        QVERIFY(editor);
        Modify(editor, "# mine\n");
        F.Prompts.ExpectYesNoCancel("Save over the starter script default.cog?", TAnswer::Yes);
        F.Frame->SaveButtonClick();
        QVERIFY(F.ReadFile(F.ProgramDir + "cog/default.cog").endsWith("# mine\r\n"));
        QVERIFY(!editor->IsModified());
    }

    void saveButtonWithoutAnEditorSaysSo()
    {
        F.Prompts.ExpectMessage("No Cog File is Open to Save");
        F.Frame->SaveButtonClick();
    }

    void openActsOnTheFirstFourCharactersOfTheExtension_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("editors");
        QTest::addColumn<bool>("archive");
        QTest::newRow("cog") << "a.cog" << 1 << false;
        QTest::newRow("upper-case COG") << "b.COG" << 1 << false;
        QTest::newRow("longer cog") << "c.cogx" << 1 << false;
        QTest::newRow("gob") << "d.gob" << 0 << true;
        QTest::newRow("longer goo") << "e.Goob" << 0 << true;
        QTest::newRow("template") << "f.tpl" << 0 << false;
        QTest::newRow("no extension") << "cog" << 0 << false;
    }

    void openActsOnTheFirstFourCharactersOfTheExtension()
    {
        QFETCH(QString, name);
        QFETCH(int, editors);
        QFETCH(bool, archive);
        // An archive with an empty directory: its header alone.
        const QByteArray bytes = archive ? QByteArray("GOB \x14\0\0\0\x0c\0\0\0\0\0\0\0", 16)
                                         : QByteArray("symbols\r\nend\r\n");
        const QString path = F.WriteScript(bytes, name);

        F.Prompts.ExpectOpenFile(path);
        F.Frame->Open1Click();
        const TFileDialog &asked = F.Prompts.Calls.first().Dialog;
        QCOMPARE(asked.Title, QString("Open File"));
        QCOMPARE(asked.FilterIndex, 1);
        QCOMPARE(asked.InitialDir, F.ProgramDir + "cog/");
        QCOMPARE(F.Frame->Editors().size(), editors);
        if (editors)
            QCOMPARE(F.Frame->ActiveEditor()->Caption(), path);
        QCOMPARE(F.Modal.size(), archive ? 1 : 0);
        if (archive)
        {
            QCOMPARE(F.Modal.first().data(), static_cast<QDialog *>(F.Frame->Extraction()));
            QCOMPARE(QString::fromStdString(F.Frame->Extraction()->ListedArchive().Path), path);
        }
    }

    void openCreatesTheScriptFolderAndCancelDoesNothing()
    {
        QDir(F.ProgramDir + "cog").removeRecursively();
        F.Prompts.ExpectOpenFile(QString());
        F.Frame->Open1Click();
        QVERIFY(QFileInfo(F.ProgramDir + "cog").isDir());
        QVERIFY(F.Frame->ChildList().isEmpty());
    }

    void openIntoAnActiveEditorAsksFirst()
    {
        TRTFForm *first = F.OpenScript("first\r\n", "first.cog");
        const QString second = F.WriteScript("second\r\n", "second.cog");

        F.Prompts.ExpectOpenFile(second);
        F.Prompts.ExpectConfirm("Load file into current form?", false);
        F.Frame->Open1Click();
        QCOMPARE(F.Frame->Editors().size(), 2);
        QCOMPARE(first->Caption(), F.ProgramDir + "cog/first.cog");

        F.Frame->ClientArea()->setActiveSubWindow(first);
        F.Prompts.ExpectOpenFile(second);
        F.Prompts.ExpectConfirm("Load file into current form?", true);
        F.Frame->Open1Click();
        QCOMPARE(F.Frame->Editors().size(), 2);
        QCOMPARE(first->Caption(), second);
        QCOMPARE(first->Text(), std::string("second\n"));
    }

    void closeAllAsksFromTheLastToTheFirstAndKeepsACancelledWindow()
    {
        TRTFForm *older = F.OpenScript("a\r\n", "older.cog");
        TRTFForm *newer = F.OpenScript("b\r\n", "newer.cog");
        Modify(older);
        Modify(newer);
        // The window focused longest ago stands last in the child list and is asked first.
        F.Prompts.ExpectYesNoCancel("'" + older->Caption() + "' has been modified, Save?",
                                    TAnswer::No);
        F.Prompts.ExpectYesNoCancel("'" + newer->Caption() + "' has been modified, Save?",
                                    TAnswer::Cancel);
        F.Frame->CloseAll1Click();
        QTRY_COMPARE(F.Frame->ChildList().size(), 1);
        QCOMPARE(F.Frame->ChildList().first(), static_cast<QMdiSubWindow *>(newer));
        QCOMPARE(F.ReadFile(F.ProgramDir + "cog/older.cog"), QByteArray("a\r\n"));
    }

    void exitSavesOnYesAndStaysOnCancel()
    {
        TRTFForm *older = F.OpenScript("a\r\n", "older.cog");
        TRTFForm *newer = F.OpenScript("b\r\n", "newer.cog");
        Modify(older, "1");
        Modify(newer, "2");
        F.Prompts.ExpectYesNoCancel("'" + newer->Caption() + "' has been modified, Save?",
                                    TAnswer::Yes);
        F.Prompts.ExpectYesNoCancel("'" + older->Caption() + "' has been modified, Save?",
                                    TAnswer::Cancel);
        F.Frame->Exit1Click();
        QVERIFY(F.Frame->isVisible());
        QCOMPARE(F.Frame->Editors().size(), 2);
        QCOMPARE(F.ReadFile(newer->Caption()), QByteArray("b\r\n2"));
        QCOMPARE(F.ReadFile(older->Caption()), QByteArray("a\r\n"));
    }

    void exitWithUnmodifiedEditorsClosesWithoutAQuestion()
    {
        F.OpenScript("a\r\n");
        QVERIFY(F.Frame->close());
    }

    void editButtonsFollowTheActiveChild()
    {
        const QList<QToolButton *> editButtons = {F.Frame->UndoButton, F.Frame->CutButton,
                                                  F.Frame->CopyButton, F.Frame->PasteButton};
        // The tool bar shows and hides its buttons when it next lays itself out.
        TRTFForm *editor = F.OpenScript("a\r\n");
        for (QToolButton *button : editButtons)
            QTRY_VERIFY(button->isVisible());
        editor->close();
        QTRY_VERIFY(F.Frame->ChildList().isEmpty());
        for (QToolButton *button : editButtons)
            QTRY_VERIFY(!button->isVisible());
        QVERIFY(F.Frame->OpenButton->isVisible() && F.Frame->SaveButton->isVisible());
        F.OpenScript("b\r\n");
        for (QToolButton *button : editButtons)
            QTRY_VERIFY(button->isVisible());
    }

    void speedButtonsWorkOnTheActiveEditor()
    {
        TRTFForm *editor = F.OpenScript("hello\r\n");
        editor->RE->selectAll();
        F.Frame->CutButton->click();
        QCOMPARE(editor->Text(), std::string());
        F.Frame->PasteButton->click();
        F.Frame->PasteButton->click();
        QCOMPARE(editor->Text(), std::string("hello\nhello\n"));
        F.Frame->UndoButton->click();
        QCOMPARE(editor->Text(), std::string("hello\n"));
    }

    void theEditorsMenusTakeThePlaceOfTheFramesFileMenu()
    {
        QCOMPARE(MenuTitles(F.Frame), QStringList({"&File", "Options", "&Window", "Help"}));
        QVERIFY(F.Frame->menuBar()->actions().first()->menu() == F.Frame->File1);

        TRTFForm *editor = F.OpenScript("a\r\n");
        QCOMPARE(MenuTitles(F.Frame),
                 QStringList({"&File", "&Edit", "&Character", "Options", "&Window", "Help"}));
        QVERIFY(F.Frame->menuBar()->actions().first()->menu() == editor->File1);

        editor->close();
        QTRY_COMPARE(MenuTitles(F.Frame), QStringList({"&File", "Options", "&Window", "Help"}));
        QVERIFY(F.Frame->menuBar()->actions().first()->menu() == F.Frame->File1);
    }

    void theChildListPutsTheMostRecentlyFocusedFirst()
    {
        TRTFForm *a = F.OpenScript("a\r\n", "a.cog");
        TRTFForm *b = F.OpenScript("b\r\n", "b.cog");
        TRTFForm *c = F.OpenScript("c\r\n", "c.cog");
        QCOMPARE(F.Frame->ChildList(), QList<QMdiSubWindow *>({c, b, a}));
        F.Frame->ClientArea()->setActiveSubWindow(a);
        QCOMPARE(F.Frame->ChildList(), QList<QMdiSubWindow *>({a, c, b}));
        F.Frame->RememberTargetEditor();
        QCOMPARE(F.Frame->TargetIndex, 0);
        F.Frame->CaptionLineBuilder();
        QCOMPARE(F.Frame->LineBuilder()->windowTitle(), a->Caption());
    }

    void theTargetIsTheEditorFocusedLastWhenItIsBroughtForward()
    {
        TRTFForm *a = F.OpenScript("a\r\n", "a.cog");
        TRTFForm *b = F.OpenScript("b\r\n", "b.cog");
        TRTFForm *c = F.OpenScript("c\r\n", "c.cog");
        F.Frame->ClientArea()->setActiveSubWindow(a);
        F.Frame->RememberTargetEditor();
        // A click into another editor after the target was recorded makes that one the target.
        F.Frame->ClientArea()->setActiveSubWindow(b);
        F.Frame->BringTargetEditorToFront();
        QCOMPARE(F.Frame->ActiveEditor(), b);
        // With the target closed, the editor focused most recently among the rest comes.
        b->close();
        QTRY_COMPARE(F.Frame->ChildList().size(), 2);
        F.Frame->BringTargetEditorToFront();
        QCOMPARE(F.Frame->ActiveEditor(), a);
        c->close();
        a->close();
        QTRY_VERIFY(F.Frame->ChildList().isEmpty());
        F.Frame->BringTargetEditorToFront();
        F.Frame->CaptionLineBuilder();
        QCOMPARE(F.Frame->ActiveEditor(), nullptr);
    }

    void theWindowMenuListsTheEditorsAndActivatesTheChosenOne()
    {
        TRTFForm *a = F.OpenScript("a\r\n", "a.cog");
        F.OpenScript("b\r\n", "b.cog");
        emit F.Frame->Window1->aboutToShow();
        QStringList items;
        QAction *first = nullptr;
        for (QAction *action : F.Frame->Window1->actions())
            if (action->text().contains(".cog"))
            {
                items << action->text();
                first = first ? first : action;
            }
        QCOMPARE(items, QStringList({"&1 " + a->Caption(), "&2 " + F.ProgramDir + "cog/b.cog"}));
        first->trigger();
        QCOMPARE(F.Frame->ActiveEditor(), a);
        // Showing the menu again lists the windows once.
        emit F.Frame->Window1->aboutToShow();
        QCOMPARE(F.Frame->Window1->actions().size(), 4 + 1 + 2);
    }

    void tileStacksTheEditorsAtFullWidth()
    {
        F.OpenScript("a\r\n", "a.cog");
        F.OpenScript("b\r\n", "b.cog");
        F.OpenScript("c\r\n", "c.cog");
        F.Frame->Tile1Click();
        const QSize area = F.Frame->ClientArea()->viewport()->size();
        QList<int> tops;
        int height = 0;
        for (QMdiSubWindow *child : F.Frame->ChildList())
        {
            QCOMPARE(child->geometry().left(), 0);
            QCOMPARE(child->width(), area.width());
            tops << child->geometry().top();
            height += child->height();
        }
        std::sort(tops.begin(), tops.end());
        QCOMPARE(tops.first(), 0);
        QCOMPARE(height, area.height());
    }

    void cascadeStaggersTheWindowsAndCloseAllEmptiesTheFrame()
    {
        for (const char *name : {"a.cog", "b.cog", "c.cog"})
            F.OpenScript("a\r\n", name);
        for (QMdiSubWindow *child : F.Frame->ChildList())
            child->move(0, 0);
        F.Frame->Cascade1Click();
        QList<QPoint> corners;
        for (QMdiSubWindow *child : F.Frame->ChildList())
            corners << child->pos();
        std::sort(corners.begin(), corners.end(), [](QPoint a, QPoint b) { return a.y() < b.y(); });
        // Each window stands down and right of the one before, by the same step.
        const QPoint step = corners[1] - corners[0];
        QVERIFY(step.x() > 0 && step.y() > 0);
        QCOMPARE(corners[2] - corners[1], step);

        // The minimised windows go in a row along the bottom of the client area.
        const QList<QMdiSubWindow *> children =
            F.Frame->ClientArea()->subWindowList(QMdiArea::CreationOrder);
        children[0]->showMinimized();
        children[2]->showMinimized();
        F.Frame->ArrangeIcons1Click();
        const int bottom = F.Frame->ClientArea()->viewport()->height();
        QCOMPARE(children[0]->geometry().bottom() + 1, bottom);
        QCOMPARE(children[2]->geometry().bottom() + 1, bottom);
        QCOMPARE(children[0]->x(), 0);
        QCOMPARE(children[2]->x(), children[0]->width());

        F.Frame->CloseAll1Click();
        QTRY_VERIFY(F.Frame->ChildList().isEmpty());
    }

    void deleteAsksUnderItsOwnTitleAndReportsAFailure()
    {
        const QString path = F.WriteScript("x", "gone.cog");
        F.Prompts.ExpectOpenFile(path);
        F.Frame->Delete1Click();
        QCOMPARE(F.Prompts.Calls.last().Dialog.Title, QString("Delete File"));
        QVERIFY(!QFile::exists(path));
        QCOMPARE(F.Frame->OpenDialog.Title, QString("Open File"));

        F.Prompts.ExpectOpenFile(path);
        F.Prompts.ExpectMessage(
            "File not deleted,May Be In Use By Another Application Or Marked Read Only");
        F.Frame->Delete1Click();

        F.Frame->OpenDialog.Title = "Locate res2.gob file";
        F.Prompts.ExpectOpenFile(QString());
        F.Frame->Delete1Click();
        QCOMPARE(F.Frame->OpenDialog.Title, QString("Open File"));
    }

    void thePictureStaysCentredAndIsCutEquallyWhenTooLarge_data()
    {
        QTest::addColumn<QSize>("area");
        QTest::addColumn<QPoint>("origin");
        QTest::newRow("larger") << QSize(1000, 600) << QPoint(250, 199);
        QTest::newRow("exact") << QSize(500, 201) << QPoint(0, 0);
        QTest::newRow("one pixel smaller") << QSize(499, 200) << QPoint(0, 0);
        QTest::newRow("smaller") << QSize(300, 101) << QPoint(-100, -50);
    }

    void thePictureStaysCentredAndIsCutEquallyWhenTooLarge()
    {
        QFETCH(QSize, area);
        QFETCH(QPoint, origin);
        QCOMPARE(TClientArea::PictureOrigin(area, QSize(500, 201)), origin);
        QCOMPARE(F.Frame->ClientArea()->Picture().size(), QSize(500, 201));
    }

    void thePictureIsPaintedCentredInTheWholeClientArea()
    {
        TClientArea *area = F.Frame->ClientArea();
        F.Frame->resize(1000, 700);
        QTRY_COMPARE(F.Frame->size(), QSize(1000, 700));
        QVERIFY(ShowsPicture(area, TClientArea::PictureOrigin(area->size(), QSize(500, 201))));

        // A window reaching past the bottom right corner brings the scroll bars; the picture
        // keeps to the middle of the area with them, not of the smaller part they leave, and
        // stays there when the windows are scrolled.
        TRTFForm *editor = F.OpenScript("a\r\n");
        editor->move(area->width() - 60, area->height() - 60);
        QTRY_VERIFY(area->horizontalScrollBar()->isVisible() &&
                    area->verticalScrollBar()->isVisible());
        QVERIFY(area->viewport()->size() != area->size());
        const QPoint origin = TClientArea::PictureOrigin(area->size(), QSize(500, 201));
        QVERIFY(origin != TClientArea::PictureOrigin(area->viewport()->size(), QSize(500, 201)));
        QVERIFY(ShowsPicture(area, origin));
        area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->value() + 20);
        area->verticalScrollBar()->setValue(area->verticalScrollBar()->value() + 20);
        QVERIFY(ShowsPicture(area, origin));
    }

    void theClientAreaIsBlackAroundThePicture()
    {
        F.Frame->resize(900, 600);
        QTest::qWait(20);
        const QImage shot = F.Frame->ClientArea()->viewport()->grab().toImage();
        QCOMPARE(QColor(shot.pixel(2, 2)), QColor(Qt::black));
        const QPoint origin =
            TClientArea::PictureOrigin(shot.size() / shot.devicePixelRatio(), QSize(500, 201));
        // The picture's title lies right of its middle; something there is not black.
        bool drawn = false;
        for (int x = origin.x() + 200; x < origin.x() + 480 && !drawn; ++x)
            drawn = QColor(shot.pixel(x, origin.y() + 80)) != QColor(Qt::black);
        QVERIFY(drawn);
    }

    void aboutBoxShowsTheVersionModally()
    {
        TAboutBox *box = F.Frame->About();
        QCOMPARE(box->windowTitle(), QString("About"));
        QCOMPARE(box->size(), QSize(367, 183));
        QCOMPARE(box->Version->text(), QString("Version 0.3 beta"));
        QCOMPARE(box->ProductName->text(), QString("Quillex"));
        QVERIFY(box->ProductName->font().bold() && box->ProductName->font().italic());
        F.Frame->About1Click();
        QCOMPARE(F.Modal.size(), 1);
        QCOMPARE(F.Modal.first().data(), static_cast<QDialog *>(box));
    }

    void theAboutBoxIsCentredOnTheScreenNotOverTheFrame()
    {
        // Shown without waiting: the placement is the same whether the box is modal or not.
        TAboutBox *box = F.Frame->About();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        for (const QPoint frame : {QPoint(0, 0), QPoint(300, 200)})
        {
            F.Frame->move(screen.topLeft() + frame);
            box->move(screen.topLeft());
            box->show();
            QVERIFY(qAbs(box->frameGeometry().center().x() - screen.center().x()) <= 1);
            QVERIFY(qAbs(box->frameGeometry().center().y() - screen.center().y()) <= 1);
            box->hide();
        }
    }

    void helpShowsTheContentsPage()
    {
        F.Frame->Contents1->trigger();
        QVERIFY(F.Frame->Help() && F.Frame->Help()->isVisible());
        QVERIFY(F.Frame->Help()->Browser->source().toLocalFile().endsWith("help/index.html"));
        QVERIFY(F.Frame->Help()->Browser->toPlainText().contains("Contents"));
        QCOMPARE(F.Frame->Contents1->shortcut(), QKeySequence(Qt::Key_F1));

        QFile::remove(F.ProgramDir + "help/index.html");
        F.Prompts.ExpectIOError();
        F.Frame->Contents1Click();
    }

    void setOptionsShowsTheDirectoriesDialogWithoutWaiting()
    {
        F.Frame->SetOptions1->trigger();
        QVERIFY(F.Frame->Directories()->isVisible());
        QVERIFY(F.Modal.isEmpty());
        F.Frame->Directories()->close();
    }

  private:
    TFrameFixture F;
};

// The command-line load runs from the frame's timer, so each case needs its own frame.
class CommandLineTest : public QObject
{
    Q_OBJECT

  private slots:
    void cleanup() { F.Stop(); }

    void aScriptOpenedWhileAStartupBoxIsUpIsSetUpLikeTheOthers()
    {
        QTemporaryDir elsewhere;
        const QString path = elsewhere.filePath("script.cog");
        QVERIFY(QFile(path).open(QIODevice::WriteOnly));
        // The box about the game folder waits for the user while the script's delay ends.
        F.Prompts.WhileShown = [] { QTest::qWait(200); };
        F.Start({path}, 50);
        F.Prompts.WhileShown = nullptr;
        QCOMPARE(F.Frame->Editors().size(), 1);
        TRTFForm *editor = F.Frame->Editors().front();
        QVERIFY(
            editor->File1->actions().contains(F.Frame->FrameExtras()->RecentFiles1->menuAction()));
        F.Frame->SyntaxChecker()->Mots1->trigger();
        QCOMPARE(editor->LiveCheck->Options().Game, TCheckGame::Mots);
    }

    void aScriptArgumentOpensAfterTheDelay()
    {
        QTemporaryDir elsewhere;
        const QString path = elsewhere.filePath("script.cog");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("symbols\r\nend\r\n");
        file.close();

        F.Start({path, "ignored.cog"}, 1000);
        QVERIFY(F.Frame->Timer1->isActive());
        QVERIFY(F.Frame->Timer1->isSingleShot());
        // The script folder is made again if it went away before the load.
        QDir(F.ProgramDir + "cog").removeRecursively();
        QVERIFY(F.Frame->ChildList().isEmpty());
        QTRY_COMPARE(F.Frame->Editors().size(), 1);
        QCOMPARE(F.Frame->ActiveEditor()->Caption(), path);
        QVERIFY(QFileInfo(F.ProgramDir + "cog").isDir());
        QVERIFY(!F.Frame->Timer1->isActive());
    }

    void anArchiveArgumentOpensNothing()
    {
        F.Start({"/nowhere/res2.gob"}, 50);
        // The timer may fire while the frame is first shown, before a spy could be made.
        QTRY_VERIFY_WITH_TIMEOUT(!F.Frame->Timer1->isActive(), 2000);
        QVERIFY(F.Frame->ChildList().isEmpty());
        QVERIFY(F.Modal.isEmpty());
    }

    void withoutArgumentsTheTimerStaysOff()
    {
        F.Start({}, 50);
        QVERIFY(!F.Frame->Timer1->isActive());
        QCOMPARE(F.Frame->Timer1->interval(), 50);
    }

  private:
    TFrameFixture F;
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    int status = 0;
    {
        FrameUiTest frame;
        status |= QTest::qExec(&frame, argc, argv);
    }
    {
        CommandLineTest commandLine;
        status |= QTest::qExec(&commandLine, argc, argv);
    }
    return status;
}

#include "FrameUiTest.moc"

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include "tests/ui/framefixture.h"
#include "tests/ui/scriptedprompts.h"
#include "tests/ui/widgetprobes.h"
#include "ui/gamedata/resourcepicker.h"
#include "ui/linebuilder/linebuilderwindow.h"

// The Line Builder on its own, over reference data files written by the test.
class LineBuilderUiTest : public QObject
{
    Q_OBJECT

  private slots:
    void init()
    {
        Temp = std::make_unique<QTemporaryDir>();
        QVERIFY(Temp->isValid());
        DataDir = Temp->path() + "/";
        Write("verb.qx", "[Sys]\nSleep@(seconds)@Waits.\nPrint@(\"text\")@Shows text.\n");
        Write("symbol.qx", "[Thing2]\nthing@&name@A thing.\n");
        Write("extra.qx", "== equal to\n != not equal\n");
        Prompts.Reset();
        VF = new TVF(DataDir, Prompts, Game);
    }

    void cleanup()
    {
        delete VF;
        VF = nullptr;
        Prompts.Verify();
        Temp.reset();
    }

    void snippetsInsertTheirLinesAndPlaceTheCaret_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("caretAfter");
        // The caret sits inside the parentheses (between the blanks, or before the first ";").
        QTest::newRow("if") << "SBIF1"
                            << "" << 0 << "if (  )" << 5;
        QTest::newRow("if else, text after the caret stays on the first line")
            << "SBIF2"
            << "ab" << 1 << "aif (  )b\n \nelse" << 6;
        QTest::newRow("if block after x") << "SBIf3"
                                          << "x" << 1 << "xif (  )\n{\n \n}" << 6;
        QTest::newRow("if else blocks") << "SBIf4"
                                        << "" << 0 << "if (  )\n{\n \n}\nelse\n{\n \n}" << 5;
        QTest::newRow("for") << "SBFor1"
                             << "" << 0 << "for ( ; ; )" << 6;
        QTest::newRow("for block") << "SBFor2"
                                   << "" << 0 << "for ( ; ; )\n{\n \n}" << 6;
        QTest::newRow("while") << "SBWhile1"
                               << "" << 0 << "while (  )" << 8;
        QTest::newRow("while block") << "SBwhile2"
                                     << "" << 0 << "while (  )\n{\n \n}" << 8;
        QTest::newRow("ruler") << "SBCom1"
                               << "" << 0 << "# " + QString(88, '=') << 90;
        QTest::newRow("dotted ruler") << "SBCom2"
                                      << "z" << 1 << "z# " + QString(88, '.') << 91;
        QTest::newRow("further lines go below the last line")
            << "SBIf3"
            << "a\nb" << 1 << "aif (  )\nb\n{\n \n}" << 6;
    }

    void snippetsInsertTheirLinesAndPlaceTheCaret()
    {
        QFETCH(QString, button);
        QFETCH(QString, before);
        QFETCH(int, caret);
        QFETCH(QString, after);
        QFETCH(int, caretAfter);
        VF->RE1->setPlainText(before);
        QTextCursor cursor = VF->RE1->textCursor();
        cursor.setPosition(caret);
        VF->RE1->setTextCursor(cursor);
        auto *action = VF->findChild<QAction *>(button);
        QVERIFY(action);
        action->trigger();
        QCOMPARE(VF->RE1->toPlainText(), after);
        QCOMPARE(VF->RE1->textCursor().position(), caretAfter);
    }

    void toolbarAlternatesBetweenTheTwoSets()
    {
        VF->show();
        QVERIFY(VF->P2->isVisible() && !VF->P3->isVisible());
        VF->Toolbar1Click();
        QVERIFY(!VF->P2->isVisible() && VF->P3->isVisible());
        VF->Toolbar1Click();
        QVERIFY(VF->P2->isVisible() && !VF->P3->isVisible());
    }

    void operatorDoubleClickInsertsTheFirstWord()
    {
        VF->SBOPerClick();
        QVERIFY(VF->LB1->isVisibleTo(VF));
        // Sorted: " != not equal" (leading blank) comes first.
        VF->LB1->setCurrentRow(0);
        VF->LB1DblClick();
        QCOMPARE(VF->RE1->toPlainText(), " ");
        QVERIFY(!VF->LB1->isVisibleTo(VF));
        VF->LB1->setCurrentRow(1);
        VF->LB1DblClick();
        QCOMPARE(VF->RE1->toPlainText(), "  ==");
        VF->LB1->clear();
        VF->LB1DblClick();
        QCOMPARE(VF->RE1->toPlainText(), "  ==");
    }

    void stayOnTopAndProjectModeToggle()
    {
        VF->OnTopClick();
        QCOMPARE(VF->OnTopLabel->text(), "Stay OnTop");
        VF->OnTopClick();
        QCOMPARE(VF->OnTopLabel->text(), "Normal");
        VF->UseProjectDirectory1Click();
        QVERIFY(VF->ProjectDirMode && VF->ProjectLabel->isVisibleTo(VF));
        VF->UseProjectDirectory1Click();
        QVERIFY(!VF->ProjectDirMode && !VF->ProjectLabel->isVisibleTo(VF));
    }

    void fontDialogStartsFromTheLastChoice()
    {
        QFont chosen("DejaVu Sans Mono", 14);
        Prompts.ExpectFont(chosen);
        VF->Editortop1Click();
        QCOMPARE(VF->RE1->font().family(), chosen.family());
        Prompts.ExpectFont(chosen, false);
        VF->List1Click();
        QVERIFY(VF->TV->font().family() != chosen.family() || VF->TV->font().pointSize() != 14);
    }

    // The frame's Line Builder over the shipped data files, with its Resource Picker.
    void keyboardShowsNothingUntilTheTreeIsClicked()
    {
        F.Start();
        TVF *vf = F.Frame->LineBuilder();
        vf->show();
        QTreeWidgetItem *verbs = vf->TV->topLevelItem(0);
        QCOMPARE(verbs->text(0), "Verbs");
        QTreeWidgetItem *sleep = FindEntry(vf, "Sleep");
        QVERIFY(sleep);
        vf->TV->setCurrentItem(sleep);
        QVERIFY(vf->RE2->toPlainText().isEmpty());
        vf->TVClick();
        vf->TV->setCurrentItem(verbs);
        vf->TV->setCurrentItem(sleep);
        QVERIFY(vf->RE2->toPlainText().startsWith("Sleep("));
        QCOMPARE(vf->P1Caption->text(), "Sleep");
        F.Stop();
    }

    void doubleClickBuildsTheLineOrOpensTheCalculator()
    {
        F.Start();
        TVF *vf = F.Frame->LineBuilder();
        vf->show();
        vf->TVClick();
        // The first double-click after showing describes the entry under the mouse first.
        vf->TV->blockSignals(true);
        vf->TV->setCurrentItem(FindEntry(vf, "Sleep"));
        vf->TV->blockSignals(false);
        vf->TVDblClick();
        QVERIFY(vf->RE1->toPlainText().startsWith(" Sleep("));
        QVERIFY(vf->CLB->isHidden());

        vf->SBClearClick();
        vf->TV->setCurrentItem(FindEntry(vf, "SetActorFlags"));
        vf->TVDblClick();
        QVERIFY(vf->RE1->toPlainText().isEmpty());
        QCOMPARE(vf->P1Caption->text(), "Actor Flags");
        QVERIFY(vf->CLB->isVisible());
        vf->CLB->item(3)->setCheckState(Qt::Checked);
        vf->FlagOK->click();
        QVERIFY(vf->RE1->toPlainText().startsWith("SetActorFlags("));
        QVERIFY(vf->RE1->toPlainText().contains("0x8"));
        QVERIFY(vf->CLB->isHidden());
        F.Stop();
    }

    void placeholdersAreFilledThroughThePicker()
    {
        F.Start();
        TVF *vf = F.Frame->LineBuilder();
        TRes *picker = F.Frame->ResourcePicker();
        QString asked;
        QString answer;
        SetModalHook([&](QDialog *dialog) {
            if (dialog != picker)
                return int(QDialog::Rejected);
            asked = picker->MemberMode ? "members" : "templates";
            picker->ED->setText(answer);
            return answer.isEmpty() ? int(QDialog::Rejected) : int(QDialog::Accepted);
        });
        // OK puts the name in place of the placeholder, and the rest of a wider selection
        // stays.
        answer = "wall.mat";
        SetTextAndSelect(vf->RE1, "SetMaterial(*.mat)", 0, 18);
        QCOMPARE(vf->RE1->toPlainText(), "SetMaterial(wall.mat)");

        // The editor's Paste takes the whole line without opening a picker, inserts it at the
        // caret and leaves it on the clipboard.
        asked.clear();
        vf->RE1->setPlainText("PlaySoundThing(*.snd)");
        TRTFForm *editor = F.OpenScript("ab");
        QTextCursor caret = editor->RE->textCursor();
        caret.setPosition(1);
        editor->RE->setTextCursor(caret);
        editor->PasteBClick();
        QVERIFY(asked.isEmpty());
        QCOMPARE(editor->RE->toPlainText(), "aPlaySoundThing(*.snd)b");
        QCOMPARE(QApplication::clipboard()->text(), "PlaySoundThing(*.snd)");
        F.Stop();
    }

    // A selection of the built line opens one picker, whatever selection changes the mouse
    // release and the picker's own event loop bring; the pick goes in place of the placeholder
    // selected when it opened, and a pick left by Cancel, Escape or the title bar changes
    // nothing.
    void aMouseSelectionOpensOnePickerAndItsAnswerFillsThePlaceholder_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("close");
        QTest::addColumn<QString>("after");
        const QString line = "SetSurfaceMat(surface, *.mat);";
        QTest::newRow("drag over ' *.mat)', OK") << 22 << 29 << "ok"
                                                 << "SetSurfaceMat(surface, 03went2.mat);";
        QTest::newRow("drag over '*.mat', OK") << 23 << 28 << "ok"
                                               << "SetSurfaceMat(surface, 03went2.mat);";
        QTest::newRow("Cancel") << 22 << 29 << "cancel" << line;
        QTest::newRow("Escape") << 22 << 29 << "escape" << line;
        QTest::newRow("title bar") << 22 << 29 << "close" << line;
    }

    void aMouseSelectionOpensOnePickerAndItsAnswerFillsThePlaceholder()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, close);
        QFETCH(QString, after);
        F.Start();
        TVF *vf = F.Frame->LineBuilder();
        TRes *picker = F.Frame->ResourcePicker();
        vf->show();
        QVERIFY(QTest::qWaitForWindowExposed(vf));
        int open = 0;
        int opened = 0;
        SetModalHook([&](QDialog *dialog) {
            ++opened;
            ++open;
            // What an open picker's own event loop would deliver meanwhile.
            QCoreApplication::processEvents();
            picker->LB1->clear();
            picker->LB1->addItem("mat\\03went2.mat");
            picker->LB1->setCurrentRow(0);
            int result = QDialog::Accepted;
            if (close == "ok")
                picker->BBok->click();
            else if (close == "cancel")
                picker->BBClose->click();
            else if (close == "escape")
                QTest::keyClick(picker->LB1, Qt::Key_Escape);
            else
                picker->close();
            if (close != "ok")
                result = QDialog::Rejected;
            --open;
            return dialog == picker ? result : int(QDialog::Rejected);
        });
        vf->RE1->setPlainText("SetSurfaceMat(surface, *.mat);");
        QWidget *area = vf->RE1->viewport();
        const auto at = [vf](int position) {
            QTextCursor cursor(vf->RE1->document());
            cursor.setPosition(position);
            return vf->RE1->cursorRect(cursor).center() + QPoint(1, 0);
        };
        QTest::mousePress(area, Qt::LeftButton, {}, at(from));
        QTest::mouseMove(area, at((from + to) / 2));
        QTest::mouseMove(area, at(to));
        QTest::mouseRelease(area, Qt::LeftButton, {}, at(to));
        QTRY_COMPARE(opened, 1);
        QTest::qWait(50);
        QCOMPARE(opened, 1);
        QCOMPARE(vf->RE1->toPlainText(), after);
        F.Stop();
    }

    void menuHintsShowInTheStatusStrip()
    {
        VF->show();
        QVERIFY(QTest::qWaitForWindowExposed(VF));
        QMenuBar *bar = VF->menuBar();
        const auto hover = [bar](QAction *action) {
            const QPointF at = bar->actionGeometry(action).center();
            QMouseEvent move(QEvent::MouseMove, at, bar->mapToGlobal(at), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(bar, &move);
        };
        hover(VF->Window1);
        QCOMPARE(VF->P1Caption->text(), "Toggles the window  StayOnTop setting");
        QEvent out(QEvent::Leave);
        QApplication::sendEvent(bar, &out);
        QCOMPARE(VF->P1Caption->text(), "");
        VF->P1Caption->setText("Sleep");
        hover(VF->Window1);
        QCOMPARE(VF->P1Caption->text(), "Toggles the window  StayOnTop setting");
        hover(VF->Toolbar1->menuAction());
        QCOMPARE(VF->P1Caption->text(), "Displays next set of buttons on toolbar");
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(bar, &leave);
        QCOMPARE(VF->P1Caption->text(), "Sleep");
    }

    // Drags onto the built line: a tree's node goes in place of the selection; text from
    // elsewhere is refused.
    void theBuiltLineTakesDragsFromTheTreeOnly()
    {
        QTreeWidgetItem *sleep = FindEntry(VF, "Sleep");
        QVERIFY(sleep);
        VF->TV->setCurrentItem(sleep);
        SetTextAndSelect(VF->RE1, "a(x)", 2, 3);
        const QPoint mouse = VF->RE1->viewport()->rect().center();
        std::unique_ptr<QMimeData> data(
            VF->TV->model()->mimeData(VF->TV->selectionModel()->selectedIndexes()));
        const Qt::DropActions offered = VF->TV->model()->supportedDragActions();
        QDragEnterEvent enter(mouse, offered, data.get(), Qt::LeftButton, Qt::NoModifier);
        VF->RE1->TreeDragOver(&enter, VF->TV);
        QVERIFY(enter.isAccepted());
        QCOMPARE(enter.dropAction(), Qt::CopyAction);
        QDropEvent drop(mouse, offered, data.get(), Qt::LeftButton, Qt::NoModifier);
        VF->RE1->TreeDrop(&drop, VF->TV);
        QVERIFY(drop.isAccepted());
        QCOMPARE(VF->RE1->toPlainText(), "a(Sleep)");

        QMimeData text;
        text.setText("text");
        QDragEnterEvent foreign(mouse, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(VF->RE1->viewport(), &foreign);
        QVERIFY(!foreign.isAccepted());
        QDropEvent foreignDrop(mouse, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(VF->RE1->viewport(), &foreignDrop);
        QCOMPARE(VF->RE1->toPlainText(), "a(Sleep)");
    }

    // A double-click on a declared symbol puts its name in; on a folder it puts nothing in.
    // Clear ends a calculator left open, and the strip shows the entry again.
    void doubleClicksOnSymbolsAndFoldersAndClear()
    {
        F.Start();
        TVF *vf = F.Frame->LineBuilder();
        TRTFForm *editor = F.OpenScript("symbols\r\nthing actor local\r\nend\r\n");
        editor->SBShowLB->click();
        QVERIFY(QTest::qWaitForWindowExposed(vf));
        vf->RE1->setPlainText(" Sleep(seconds)");
        // Paste leaves the built line selected, as a double-click then finds it.
        editor->PasteBClick();
        QTreeWidgetItem *thing = vf->TypeNode("Thing");
        QVERIFY(thing);
        const auto doubleClick = [vf](QTreeWidgetItem *item) {
            vf->TV->scrollToItem(item);
            const QPoint at = vf->TV->visualItemRect(item).center();
            QTest::mouseClick(vf->TV->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(vf->TV->viewport(), Qt::LeftButton, {}, at);
        };
        doubleClick(thing);
        QCOMPARE(vf->RE1->toPlainText(), " Sleep(seconds)");
        thing->setExpanded(true);
        doubleClick(thing->child(0));
        QCOMPARE(vf->RE1->toPlainText(), " actor");

        doubleClick(FindEntry(vf, "PlaySoundThing"));
        QVERIFY(vf->CLB->isVisible());
        QVERIFY(vf->P1Caption->text() != "PlaySoundThing");
        vf->findChild<QAction *>("SBClear")->trigger();
        QVERIFY(vf->RE1->toPlainText().isEmpty());
        QVERIFY(vf->CLB->isHidden());
        QCOMPARE(vf->P1Caption->text(), "PlaySoundThing");
        F.Stop();
    }

    // Without a template file the user is told so; names are the file's Windows-1252 bytes.
    void theTemplatePickSaysWhenThereIsNoFileAndReadsItsBytes()
    {
        F.Start();
        TVF *vf = F.Frame->LineBuilder();
        TRes *picker = F.Frame->ResourcePicker();
        QStringList listed;
        QString shownLine;
        SetModalHook([&](QDialog *dialog) {
            listed = Texts(picker->LB1);
            if (!listed.isEmpty())
            {
                picker->LB1->setCurrentRow(0);
                shownLine = picker->Memo->toPlainText();
            }
            return dialog == picker ? int(QDialog::Rejected) : int(QDialog::Rejected);
        });
        F.Prompts.ExpectMessage("Cannot find Kovo Tpl file");
        SetTextAndSelect(vf->RE1, "CreateThing(template, pos)", 12, 20);
        QVERIFY(listed.isEmpty());
        F.Prompts.Verify();

        UseTemplateFile("caf\xe9 none mass=1\r\n");
        SetTextAndSelect(vf->RE1, "CreateThing(template, pos)", 12, 20);
        QCOMPARE(listed, QStringList(QString::fromUtf8("caf\u00e9")));
        QCOMPARE(shownLine, QString::fromUtf8("caf\u00e9 none mass=1"));
        F.Stop();
    }

    void aPickedTemplateTakesThePlaceOfTheWord()
    {
        F.Start();
        UseTemplateFile("_walkplayer none type=player\r\ncrate none mass=10\r\n");
        TVF *vf = F.Frame->LineBuilder();
        TRes *picker = F.Frame->ResourcePicker();
        QStringList listed;
        QString answer = "crate";
        SetModalHook([&](QDialog *dialog) {
            listed = Texts(picker->LB1);
            if (dialog == picker && !picker->MemberMode)
                picker->ED->setText(answer);
            return answer.isEmpty() ? int(QDialog::Rejected) : int(QDialog::Accepted);
        });
        SetTextAndSelect(vf->RE1, "CreateThing(template, pos)", 12, 20);
        QCOMPARE(listed, QStringList({"_walkplayer", "crate"}));
        QCOMPARE(vf->RE1->toPlainText(), "CreateThing(crate, pos)");
        // A cancelled pick leaves the word.
        answer.clear();
        SetTextAndSelect(vf->RE1, "CreateThing(template, pos)", 12, 20);
        QCOMPARE(vf->RE1->toPlainText(), "CreateThing(template, pos)");
        F.Stop();
    }

  private:
    static QTreeWidgetItem *FindEntry(TVF *vf, const QString &name)
    {
        const QList<QTreeWidgetItem *> found =
            vf->TV->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }

    // Writes a template file into the program's folder and makes it the one in use.
    void UseTemplateFile(const QByteArray &bytes)
    {
        F.Frame->GameFolders().TemplateFile = F.WriteScript(bytes, "../master.tpl").toStdString();
    }

    void Write(const QString &name, const QByteArray &bytes)
    {
        QFile file(DataDir + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    std::unique_ptr<QTemporaryDir> Temp;
    QString DataDir;
    TGameFolders Game;
    TScriptedPrompts Prompts;
    TVF *VF = nullptr;
    TFrameFixture F;
};

QTEST_MAIN(LineBuilderUiTest)
#include "LineBuilderUiTest.moc"

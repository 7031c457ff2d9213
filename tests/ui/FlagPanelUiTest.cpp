#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/ui/scriptedprompts.h"
#include "tests/ui/widgetprobes.h"
#include "ui/linebuilder/linebuilderwindow.h"

class FlagPanelUiTest : public QObject
{
    Q_OBJECT

  private slots:
    void init()
    {
        // No reference data: the window says so once and works on.
        Prompts.ExpectMessage();
        VF = new TVF(Data.path() + "/", Prompts, Game);
        VF->show();
        QVERIFY(QTest::qWaitForWindowExposed(VF));
    }

    void cleanup()
    {
        delete VF;
        Prompts.Verify();
        Prompts.Reset();
    }

    void theListStartsHiddenWithBitLabels()
    {
        QCOMPARE(VF->CLB->count(), 32);
        QCOMPARE(VF->CLB->item(0)->text(), QString("Bit0"));
        QCOMPARE(VF->CLB->item(31)->text(), QString("Bit31"));
        QVERIFY(VF->CLB->isHidden());
        QVERIFY(VF->FlagOK->isHidden());
    }

    void openingShowsTheKindsTitleAndNames()
    {
        QVERIFY(VF->SortFlag("SetActorFlags(player, flag*)"));
        QCOMPARE(VF->P1Caption->text(), QString("Actor Flags"));
        QCOMPARE(VF->CLB->item(3)->text(), QString("Invulnerable"));
        QCOMPARE(VF->CLB->item(0)->text(), QString("0x00000001"));
        QVERIFY(VF->CLB->isVisible());
        QVERIFY(VF->FlagOK->isVisible());
        QVERIFY(VF->FlagOK->isEnabled());

        // A "Get" line opens nothing and keeps what is shown.
        QVERIFY(!VF->SortFlag("GetActorFlags(flag*)"));
        QCOMPARE(VF->P1Caption->text(), QString("Actor Flags"));
        QCOMPARE(VF->CLB->item(3)->text(), QString("Invulnerable"));
    }

    void flagsWritesTheCompletedLineInPlaceOfTheSelection()
    {
        SetTextAndSelect(VF->RE1, "a OLD b", 2, 5);

        QVERIFY(VF->SortFlag("SetActorFlags(player, flag*)"));
        VF->CLB->item(3)->setCheckState(Qt::Checked);
        VF->CLB->item(5)->setCheckState(Qt::Checked);
        QTest::mouseClick(VF->FlagOK, Qt::LeftButton);

        QCOMPARE(VF->RE1->toPlainText(), QString("a SetActorFlags(player, 0x28) b"));
        for (int i = 0; i < VF->CLB->count(); ++i)
            QCOMPARE(VF->CLB->item(i)->checkState(), Qt::Unchecked);
        QVERIFY(VF->CLB->isHidden());
        QVERIFY(VF->FlagOK->isHidden());
        QVERIFY(!VF->FlagOK->isEnabled());
    }

    void flagsWithoutAValueSaysWhyAndStaysOpen()
    {
        VF->RE1->setPlainText("x");
        QVERIFY(VF->SortFlag("SetCollideType(thing, flag*)"));
        Prompts.ExpectMessage("Choose a flag ");
        QTest::mouseClick(VF->FlagOK, Qt::LeftButton);

        VF->CLB->item(0)->setCheckState(Qt::Checked);
        VF->CLB->item(1)->setCheckState(Qt::Checked);
        Prompts.ExpectMessage("More than one bit selected Not Allowed - Redo");
        QTest::mouseClick(VF->FlagOK, Qt::LeftButton);
        QCOMPARE(VF->CLB->item(0)->checkState(), Qt::Unchecked);
        QCOMPARE(VF->CLB->item(1)->checkState(), Qt::Unchecked);
        QVERIFY(VF->CLB->isVisible());
        QCOMPARE(VF->RE1->toPlainText(), QString("x"));

        // NonTakeable is the value 0.
        VF->CLB->item(0)->setCheckState(Qt::Checked);
        QTest::mouseClick(VF->FlagOK, Qt::LeftButton);
        QCOMPARE(VF->RE1->toPlainText(), QString("SetCollideType(thing, 0x0)x"));
    }

  private:
    TScriptedPrompts Prompts;
    QTemporaryDir Data;
    TGameFolders Game;
    TVF *VF = nullptr;
};

QTEST_MAIN(FlagPanelUiTest)
#include "FlagPanelUiTest.moc"

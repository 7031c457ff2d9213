#include <QPlainTextEdit>
#include <QTextCursor>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include "core/analysis/symtools.h"
#include "tests/ui/framefixture.h"
#include "tests/ui/widgetprobes.h"
#include "ui/linebuilder/linebuilderwindow.h"

namespace {
// The children of item as "caption" or "caption(child child)".
QStringList Branch(const QTreeWidgetItem *item)
{
    QStringList rows;
    for (int k = 0; k < item->childCount(); ++k)
    {
        const QTreeWidgetItem *child = item->child(k);
        QString row = child->text(0);
        if (child->childCount() > 0)
            row += "(" + Branch(child).join(' ') + ")";
        rows << row;
    }
    return rows;
}

QList<QTreeWidgetItem *> SymbolsUsedItems(QTreeWidget *tree)
{
    return tree->findItems("Symbols Used", Qt::MatchExactly);
}
} // namespace

class SymbolsUiTest : public QObject
{
    Q_OBJECT

  private slots:
    void init()
    {
        F.Start();
        // A fresh Line Builder's tree holds an empty "Symbols Used" branch.
        QTreeWidget *tree = F.Frame->LineBuilder()->TV;
        if (SymbolsUsedItems(tree).isEmpty())
        {
            tree->addTopLevelItem(new QTreeWidgetItem(QStringList("Verbs")));
            tree->addTopLevelItem(new QTreeWidgetItem(QStringList("Symbols Used")));
        }
    }
    void cleanup() { F.Stop(); }

    void theLineBuilderButtonShowsTheLaterSection()
    {
        TVF *builder = F.Frame->LineBuilder();
        TRTFForm *editor = F.OpenScript("symbols\r\nthing early\r\nend\r\n"
                                        "symbols\r\n"
                                        "thing player local\r\n"
                                        "message startup\r\n"
                                        "sound hit=hit.wav\r\n"
                                        "vector dir\r\n"
                                        "end\r\n"
                                        "code\r\n");
        for (int pass = 0; pass < 2; ++pass)
        {
            editor->SBShowLB->click();
            const QList<QTreeWidgetItem *> branches = SymbolsUsedItems(builder->TV);
            QCOMPARE(branches.size(), 1);
            QCOMPARE(builder->TV->topLevelItem(0), branches.first());
            QCOMPARE(builder->SymbolsUsedNode, branches.first());
            QCOMPARE(Branch(branches.first()), QStringList({"Sound(hit)", "Message(startup)",
                                                            "Thing(player)", "Vector(dir)"}));
        }
        QCOMPARE(builder->windowTitle(), editor->Caption());
        QCOMPARE(builder->TypeNode("Thing")->child(0)->text(0), QString("player"));
        QVERIFY(!builder->TypeNode("AI"));

        // A symbols line that does not start the line changes nothing.
        TRTFForm *indented = F.OpenScript("\tsymbols\r\nthing other\r\nend\r\n", "b.cog");
        indented->SBShowLB->click();
        QCOMPARE(Branch(builder->SymbolsUsedNode).size(), 4);
        QCOMPARE(builder->windowTitle(), editor->Caption());
    }

    void selectingThingJumpsToTheThingNode()
    {
        TVF *builder = F.Frame->LineBuilder();
        TRTFForm *editor =
            F.OpenScript("symbols\r\nthing player\r\nsound s\r\nend\r\n", "things.cog");
        editor->SBShowLB->click();
        builder->TypeNode("Sound")->setExpanded(true);
        SetTextAndSelect(builder->RE1, "SetThingPos(thing, pos)", 12, 17);
        builder->JumpToSymbols(builder->RE1->textCursor().selectedText());
        QTreeWidgetItem *thing = builder->TypeNode("Thing");
        QCOMPARE(builder->TV->currentItem(), thing);
        QCOMPARE(thing->parent(), builder->SymbolsUsedNode);
        QVERIFY(builder->SymbolsUsedNode->isExpanded());
        QVERIFY(!builder->TypeNode("Sound")->isExpanded());
        QVERIFY(!builder->SuppressLookup);

        TRTFForm *noThings = F.OpenScript("symbols\r\nsound s\r\nend\r\n", "nothings.cog");
        noThings->SBShowLB->click();
        QVERIFY(!builder->TypeNode("Thing"));
        QTreeWidgetItem *sound = builder->TypeNode("Sound");
        builder->TV->setCurrentItem(sound);
        builder->JumpToSymbols("thing");
        QCOMPARE(builder->TV->currentItem(), sound);
    }

    void sortSymbolIsOneUndoableEdit()
    {
        TRTFForm *editor = F.OpenScript("# head\r\nsymbols\r\nthing\tplayer\r\n"
                                        "int count=0 // loop counter\r\nend\r\ncode\r\n");
        const std::string original = editor->Text();
        editor->SBSort->click();
        QCOMPARE(editor->Text(), SortSymbolsInText(original));
        QVERIFY(editor->Text() != original);
        editor->Undo1->trigger();
        QCOMPARE(editor->Text(), original);
        QVERIFY(!editor->IsModified());

        // A text already in columns is not touched.
        editor->SBSort->click();
        editor->RE->document()->setModified(false);
        editor->SBSort->click();
        QVERIFY(!editor->IsModified());
    }

  private:
    TFrameFixture F;
};

QTEST_MAIN(SymbolsUiTest)
#include "SymbolsUiTest.moc"

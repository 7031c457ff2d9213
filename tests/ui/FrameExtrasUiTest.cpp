#include <QAction>
#include <QDropEvent>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QUrl>
#include <QtTest>

#include "core/shell/editorprefs.h"
#include "tests/core/gobbuilder.h"
#include "tests/ui/framefixture.h"
#include "ui/common/settingskey.h"
#include "ui/frame/frameextras.h"
#include "ui/gamedata/extractiondialog.h"

namespace {
QStringList MenuTexts(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts << action->text();
    return texts;
}
} // namespace

class FrameExtrasUiTest : public QObject
{
    Q_OBJECT

    TFrameFixture F;

    TFrameExtras *Extras() const { return F.Frame->FrameExtras(); }

    // Drags files from a file manager over the frame and drops them; returns whether the
    // frame took the drop.
    bool DropFiles(const QStringList &paths, QWidget *target = nullptr)
    {
        if (!target)
            target = F.Frame;
        QMimeData data;
        QList<QUrl> urls;
        for (const QString &path : paths)
            urls << QUrl::fromLocalFile(path);
        data.setUrls(urls);
        const QPoint at(100, 100);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        return drop.isAccepted();
    }

  private slots:
    void init() { F.Start(); }
    void cleanup() { F.Stop(); }

    void recentFilesListTheLastEightScriptsMostRecentFirst()
    {
        QStringList paths;
        for (int i = 1; i <= 9; ++i)
        {
            paths.prepend(F.ProgramDir + QString("cog/s%1.cog").arg(i));
            F.OpenScript("x", QString("s%1.cog").arg(i));
        }
        paths.removeLast();
        QCOMPARE(Extras()->RecentFiles(), paths);
        // In the frame's File menu and in each editor's, after the items of their own.
        QMenu *recent = Extras()->RecentFiles1;
        QCOMPARE(F.Frame->File1->actions().last(), recent->menuAction());
        QCOMPARE(F.Frame->ActiveEditor()->File1->actions().last(), recent->menuAction());
        QCOMPARE(MenuTexts(recent).first(), "&1 " + paths.first());
        // Kept in the settings.
        auto key = OpenSettingsKey();
        const std::vector<std::string> stored = ReadRecentFiles(*key);
        CloseSettingsKey(key, F.Prompts);
        QCOMPARE(stored.size(), size_t(8));
        QCOMPARE(QString::fromStdString(stored.front()), paths.first());
        // Save As puts the new name in front.
        TRTFForm *editor = F.Frame->ActiveEditor();
        F.Prompts.ExpectSaveFile(F.ProgramDir + "cog/renamed.cog");
        QVERIFY(editor->SaveAs());
        QCOMPARE(Extras()->RecentFiles().first(), F.ProgramDir + "cog/renamed.cog");
    }

    void aRecentFileOpensAndAMissingOneIsTakenOff()
    {
        F.OpenScript("first", "a.cog");
        F.OpenScript("second", "b.cog");
        const QString a = F.ProgramDir + "cog/a.cog";
        const QString b = F.ProgramDir + "cog/b.cog";
        for (QMdiSubWindow *child : F.Frame->ChildList())
            child->close();
        QVERIFY(F.Frame->Editors().isEmpty());

        Extras()->RecentFiles1->actions().at(1)->trigger();
        QVERIFY(F.Frame->ActiveEditor());
        QCOMPARE(F.Frame->ActiveEditor()->Caption(), a);
        QCOMPARE(Extras()->RecentFiles(), QStringList({a, b}));

        QFile::remove(b);
        F.Prompts.ExpectMessage("\"" + b +
                                "\" no longer exists; it is taken off the recent files.");
        Extras()->OpenRecentFile(b);
        QCOMPARE(Extras()->RecentFiles(), QStringList({a}));
        QCOMPARE(F.Frame->Editors().size(), 1);
    }

    void droppedScriptsOpenInEditorsAndArchivesInTheExtractionDialog()
    {
        const QString script = F.WriteScript("thing t\r\n", "dropped.cog");
        QVERIFY(DropFiles({script}));
        QTRY_VERIFY(F.Frame->ActiveEditor());
        QCOMPARE(F.Frame->ActiveEditor()->Caption(), script);
        QCOMPARE(F.Frame->ActiveEditor()->Text(), std::string("thing t\n"));

        // Dropped on an editor's text, a script opens as File > Open would open it.
        const QString second = F.WriteScript("x\r\n", "second.cog");
        F.Prompts.ExpectConfirm("Load file into current form?", false);
        QVERIFY(DropFiles({second}, F.Frame->ActiveEditor()->RE->viewport()));
        QTRY_COMPARE(F.Frame->Editors().size(), 2);
        QCOMPARE(F.Frame->ActiveEditor()->Caption(), second);
        F.Frame->ActiveEditor()->close();

        // Other files are not taken.
        QVERIFY(!DropFiles({F.ProgramDir + "qxdata/verb.qx"}));

        const QString archive = F.Temp->filePath("level.gob");
        WriteBytes(archive.toStdString(), TGobBuilder().Add("cog\\a.cog", "a").Build());
        QVERIFY(DropFiles({archive}));
        QTRY_COMPARE(F.Modal.size(), 1);
        QCOMPARE(F.Modal.first().data(), static_cast<QDialog *>(F.Frame->Extraction()));
        QCOMPARE(F.Frame->Extraction()->LB1->count(), 1);
        QCOMPARE(QString::fromStdString(F.Frame->Extraction()->ListedArchive().Path), archive);
        QCOMPARE(F.Frame->Editors().size(), 1);
    }

    void anExtractionIsReportedInTheStatusLine()
    {
        const QString archive = F.Temp->filePath("level.gob");
        WriteBytes(archive.toStdString(),
                   TGobBuilder().Add("cog\\a.cog", "a").Add("cog\\b.cog", "b").Build());
        F.Frame->OpenGobGoo(archive);
        TGG *gg = F.Frame->Extraction();
        for (int i = 0; i < gg->LB1->count(); ++i)
            gg->LB1->item(i)->setSelected(true);
        gg->BBExtractClick();
        QCOMPARE(F.Frame->statusBar()->currentMessage(),
                 "2 scripts extracted to " + F.ProgramDir + "cog/");
    }
};

QTEST_MAIN(FrameExtrasUiTest)
#include "FrameExtrasUiTest.moc"

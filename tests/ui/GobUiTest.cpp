#include <functional>
#include <string>

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "tests/core/gobbuilder.h"
#include "tests/ui/framefixture.h"
#include "tests/ui/widgetprobes.h"
#include "ui/gamedata/extractiondialog.h"

namespace {
void Select(QListWidget *list, const QStringList &names)
{
    for (int i = 0; i < list->count(); ++i)
        if (names.contains(list->item(i)->text()))
            list->item(i)->setSelected(true);
}

void Extract(TGG *gg)
{
    QTest::mouseClick(gg->BBExtract, Qt::LeftButton);
}

QByteArray Bytes(const std::string &bytes)
{
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
} // namespace

class GobUiTest : public QObject
{
    Q_OBJECT

    TFrameFixture F;

    // Writes an archive beside the program's folder; returns its path.
    QString WriteArchive(const std::string &bytes, const QString &name = "test.gob")
    {
        const QString path = F.Temp->filePath(name);
        WriteBytes(path.toStdString(), bytes);
        return path;
    }

    // Runs File > Open, which the prompts answer with the path the test queued first. While
    // the dialog is up, drive runs on it, shown; a dialog still open afterwards is hidden as
    // its Cancel button would.
    TGG *Open(const std::function<void(TGG *)> &drive = {})
    {
        TGG *gg = F.Frame->Extraction();
        Shown = 0;
        SetModalHook([this, gg, drive](QDialog *dialog) {
            ++Shown;
            dialog->show();
            if (drive)
                drive(gg);
            StillOpen = dialog->isVisible();
            dialog->hide();
            return dialog->result();
        });
        F.Frame->Open1Click();
        return gg;
    }

    QString Extracted(const QString &relPath) const { return F.ProgramDir + relPath; }

    int Shown = 0;
    bool StillOpen = false;

  private slots:
    void init() { F.Start(); }
    void cleanup() { F.Stop(); }

    void extractsTheSelectedScriptsUnderTheProgramFolder()
    {
        const std::string a = PatternBytes(40000, 1), c = PatternBytes(300, 3);
        const QString path = WriteArchive(TGobBuilder()
                                              .Add("cog\\a.cog", a)
                                              .Add("cog\\b.cog", "b")
                                              .Add("mat\\x.mat", "x")
                                              .Add("cog\\c.cog", c)
                                              .Build(),
                                          "level.goo");

        F.Prompts.ExpectOpenFile(path);
        TGG *gg = Open([&](TGG *gg) {
            QCOMPARE(Texts(gg->LB1), QStringList({"cog\\a.cog", "cog\\b.cog", "cog\\c.cog"}));
            QCOMPARE(Texts(gg->LB2),
                     QStringList({"cog\\a.cog", "cog\\b.cog", "mat\\x.mat", "cog\\c.cog"}));
            QVERIFY(!gg->LB2->isVisible());
            QVERIFY(!gg->PB->isVisible());
            // Ctrl-clicks pick several scripts.
            for (int row : {0, 2})
            {
                const QRect rect = gg->LB1->visualItemRect(gg->LB1->item(row));
                QTest::mouseClick(gg->LB1->viewport(), Qt::LeftButton, Qt::ControlModifier,
                                  rect.center());
            }
            QCOMPARE(gg->LB1->selectedItems().size(), 2);
            // File > Open makes the cog folder; here it went missing again since.
            QDir(Extracted("cog")).removeRecursively();
            Extract(gg);
        });

        QCOMPARE(Shown, 1);
        QVERIFY(!StillOpen);
        QCOMPARE(QString::fromStdString(gg->ListedArchive().Path), path);
        QCOMPARE(TFrameFixture::ReadFile(Extracted("cog/a.cog")), Bytes(a));
        QCOMPARE(TFrameFixture::ReadFile(Extracted("cog/c.cog")), Bytes(c));
        QVERIFY(!QFile::exists(Extracted("cog/b.cog")));
        // Only the cog folder is ever made.
        QVERIFY(!QFile::exists(Extracted("mat")));
        QVERIFY(gg->PB->isHidden());
        QCOMPARE(gg->PB->value(), 0);
    }

    void listsScriptsByTheNameUpToItsFirstNul()
    {
        using namespace std::string_literals;
        const QString path = WriteArchive(TGobBuilder()
                                              .Add("cog\\UPPER.COG", "1")
                                              .Add("cog\\lower.cog", "2")
                                              .Add("cog\\x.cogs", "3")
                                              .Add("mat\\wall.mat\0cog\\old.cog"s, "4")
                                              .Add("jkl\\a.cog.bak", "5")
                                              .Add("\0cog\\hidden.cog"s, "6")
                                              .Add("3do\\z.3do", "7")
                                              .Build());
        F.Prompts.ExpectOpenFile(path);
        Open([](TGG *gg) {
            QCOMPARE(Texts(gg->LB1),
                     QStringList({"cog\\lower.cog", "cog\\x.cogs", "jkl\\a.cog.bak"}));
            QCOMPARE(gg->LB2->count(), 7);
            QCOMPARE(gg->LB2->item(3)->text(), QString("mat\\wall.mat"));
        });
    }

    void rejectedArchiveKeepsTheListsAndExtractsNothing()
    {
        const QString good = WriteArchive(
            TGobBuilder().Add("cog\\a.cog", "a").Add("cog\\b.cog", "b").Build(), "good.gob");
        const QString bad =
            WriteArchive(TGobBuilder().Signature("GOB!").Add("cog\\z.cog", "z").Build(), "bad.gob");
        F.Prompts.ExpectOpenFile(good);
        Open();
        QDir(Extracted("cog")).removeRecursively();

        F.Prompts.ExpectOpenFile(bad);
        F.Prompts.ExpectAbortError("File is Not A Jedi Knight GOB ?");
        QList<int> values;
        Open([&](TGG *gg) {
            QCOMPARE(Texts(gg->LB1), QStringList({"cog\\a.cog", "cog\\b.cog"}));
            QCOMPARE(gg->LB2->count(), 2);
            gg->LB1->selectAll();
            QSignalSpy spy(gg->PB, &QProgressBar::valueChanged);
            Extract(gg);
            for (const QList<QVariant> &signal : spy)
                values << signal.at(0).toInt();
        });
        // The dialog comes up for a rejected archive too.
        QCOMPARE(Shown, 1);
        QVERIFY(!StillOpen);
        QCOMPARE(values, QList<int>({1, 2, 0}));
        QVERIFY(!QFile::exists(Extracted("cog/a.cog")));
        QVERIFY(!QFile::exists(Extracted("cog/b.cog")));
        QVERIFY(!QFile::exists(Extracted("cog/z.cog")));
    }

    void extractWithoutSelectionSaysSoAndCloses_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("scripts listed") << 2;
        QTest::newRow("empty archive") << 0;
    }

    void extractWithoutSelectionSaysSoAndCloses()
    {
        QFETCH(int, count);
        TGobBuilder archive;
        for (int k = 0; k < count; ++k)
            archive.Add("cog\\s" + std::to_string(k) + ".cog", "s");
        const QString path = WriteArchive(archive.Build());
        F.Prompts.ExpectOpenFile(path);
        F.Prompts.ExpectMessage("No Selection was made");
        TGG *gg = Open([&](TGG *gg) {
            QCOMPARE(gg->LB1->count(), count);
            Extract(gg);
        });
        QVERIFY(!StillOpen);
        QVERIFY(gg->PB->isHidden());
        QVERIFY(QDir(Extracted("cog")).entryList({"s*.cog"}).isEmpty());
    }

    void progressCountsTheSelectedScripts()
    {
        TGobBuilder archive;
        for (const char *name :
             {"cog\\p.cog", "cog\\q.cog", "mat\\m.mat", "cog\\r.cog", "cog\\s.cog"})
            archive.Add(name, name);
        const QString path = WriteArchive(archive.Build());
        QList<int> values;
        int maximum = -1;
        F.Prompts.ExpectOpenFile(path);
        TGG *gg = Open([&](TGG *gg) {
            Select(gg->LB1, {"cog\\p.cog", "cog\\r.cog", "cog\\s.cog"});
            QSignalSpy spy(gg->PB, &QProgressBar::valueChanged);
            connect(gg->PB, &QProgressBar::valueChanged, gg, [&, gg](int value) {
                if (value == 3)
                    maximum = gg->PB->maximum();
            });
            Extract(gg);
            for (const QList<QVariant> &signal : spy)
                values << signal.at(0).toInt();
        });
        QCOMPARE(maximum, 3);
        QCOMPARE(values, QList<int>({1, 2, 3, 0}));
        QVERIFY(gg->PB->isHidden());
        QVERIFY(!QFile::exists(Extracted("cog/q.cog")));
        QCOMPARE(TFrameFixture::ReadFile(Extracted("cog/s.cog")), QByteArray("cog\\s.cog"));
    }

    void sameNameTwiceExtractsTheFirst()
    {
        const QString path = WriteArchive(
            TGobBuilder().Add("cog\\twin.cog", "first").Add("cog\\twin.cog", "second").Build());
        F.Prompts.ExpectOpenFile(path);
        Open([](TGG *gg) {
            QCOMPARE(gg->LB1->count(), 2);
            gg->LB1->item(1)->setSelected(true);
            Extract(gg);
        });
        QCOMPARE(TFrameFixture::ReadFile(Extracted("cog/twin.cog")), QByteArray("first"));
    }

    void unsafeNamesAreRefusedAndTheOthersExtracted()
    {
        const QString path = WriteArchive(TGobBuilder()
                                              .Add("..\\evil.cog", "e")
                                              .Add("cog\\..\\..\\evil2.cog", "e")
                                              .Add("\\abs.cog", "e")
                                              .Add("C:\\drive.cog", "e")
                                              .Add("cog\\fine.cog", "fine")
                                              .Build());
        F.Prompts.ExpectOpenFile(path);
        for (int k = 0; k < 4; ++k)
            F.Prompts.ExpectMessage();
        Open([](TGG *gg) {
            gg->LB1->selectAll();
            Extract(gg);
        });
        QVERIFY(!StillOpen);
        for (const QString &text : F.Prompts.Texts("Message"))
            QVERIFY2(text.startsWith("Member name "), qPrintable(text));
        QCOMPARE(TFrameFixture::ReadFile(Extracted("cog/fine.cog")), QByteArray("fine"));
        QVERIFY(!QFile::exists(F.Temp->filePath("evil.cog")));
        QVERIFY(!QFile::exists(F.Temp->filePath("evil2.cog")));
        QVERIFY(!QFile::exists(Extracted("C:")));
        QVERIFY(!QFile::exists(Extracted("abs.cog")));
    }

    void failedMemberStopsWithTheDialogOpen_data()
    {
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("failing");
        // The second member reaches 100 bytes past the end of the file.
        QTest::newRow("member past the end") << Bytes(TGobBuilder()
                                                          .Add("cog\\a.cog", "aaa")
                                                          .Add("cog\\b.cog", "bbb", {}, 103)
                                                          .Add("cog\\c.cog", "ccc")
                                                          .Build())
                                             << "Read beyond end of file"
                                             << "cog/b.cog";
        // A folder stands where the second script's file would go.
        QTest::newRow("target is a folder") << Bytes(TGobBuilder()
                                                         .Add("cog\\a.cog", "aaa")
                                                         .Add("cog\\b.cog", "bbb")
                                                         .Add("cog\\c.cog", "ccc")
                                                         .Build())
                                            << QString() << "cog/b.cog/x";
    }

    void failedMemberStopsWithTheDialogOpen()
    {
        QFETCH(QByteArray, archive);
        QFETCH(QString, message);
        QFETCH(QString, failing);
        const QString path = WriteArchive(archive.toStdString());
        if (failing.endsWith("/x"))
            QDir().mkpath(Extracted(failing));
        F.Prompts.ExpectOpenFile(path);
        F.Prompts.ExpectIOError(message);
        TGG *gg = Open([](TGG *gg) {
            gg->LB1->selectAll();
            Extract(gg);
        });
        QVERIFY(StillOpen);
        QVERIFY(!gg->PB->isHidden());
        QCOMPARE(gg->PB->value(), 2);
        QCOMPARE(TFrameFixture::ReadFile(Extracted("cog/a.cog")), QByteArray("aaa"));
        QVERIFY(!QFileInfo(Extracted("cog/b.cog")).isFile());
        QVERIFY(!QFile::exists(Extracted("cog/c.cog")));

        F.Prompts.ExpectOpenFile(path);
        Open([](TGG *gg) { QVERIFY(gg->PB->isHidden()); });
    }

    void unreadableArchiveEmptiesTheLists_data()
    {
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<QString>("message");
        QTest::newRow("directory past the end")
            << Bytes(TGobBuilder().Add("cog\\x.cog", "x").Count(5).Build())
            << "Read beyond end of file";
        QTest::newRow("missing file") << QByteArray() << "File not found";
    }

    void unreadableArchiveEmptiesTheLists()
    {
        QFETCH(QByteArray, archive);
        QFETCH(QString, message);
        F.Prompts.ExpectOpenFile(
            WriteArchive(TGobBuilder().Add("cog\\old.cog", "o").Build(), "old.gob"));
        Open();
        const QString path =
            archive.isEmpty() ? F.Temp->filePath("none.gob") : WriteArchive(archive.toStdString());
        F.Prompts.ExpectOpenFile(path);
        F.Prompts.ExpectIOError(message);
        F.Prompts.ExpectMessage("No Selection was made");
        Open([](TGG *gg) {
            QCOMPARE(gg->LB1->count(), 0);
            QCOMPARE(gg->LB2->count(), 0);
            Extract(gg);
        });
        QVERIFY(!StillOpen);
    }

    void archiveLargerThanTheTableSaysSo()
    {
        TGobBuilder archive;
        for (int k = 0; k < 8193; ++k)
            archive.Add("cog\\n" + std::to_string(k) + ".cog", "");
        const QString path = WriteArchive(archive.Build());
        F.Prompts.ExpectOpenFile(path);
        F.Prompts.ExpectMessage("Only the first 8192 of the 8193 entries are listed");
        Open([](TGG *gg) {
            QCOMPARE(gg->LB2->count(), 8192);
            QCOMPARE(gg->LB1->item(8191)->text(), QString("cog\\n8191.cog"));
        });
    }
};

QTEST_MAIN(GobUiTest)
#include "GobUiTest.moc"

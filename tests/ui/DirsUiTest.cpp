#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QToolButton>
#include <QtTest>

#include "core/shell/folders.h"
#include "tests/ui/framefixture.h"
#include "ui/gamedata/directoriesdialog.h"
#include "ui/gamedata/resourcepicker.h"

class DirsUiTest : public QObject
{
    Q_OBJECT

  private slots:
    void init()
    {
        F.Start();
        // Each choice of a game reads its folders again, which these do not hold.
        F.Prompts.Tolerated = TFrameFixture::KnownStartupMessages;
        Game().JKDir = "/games/jk/";
        Game().MotsDir = "/games/mots/";
        Game().TemplateFile = "/games/jed/master.tpl";
        Game().ProjectDir = "";
        Game().UseJK = true;
        Dir = F.Frame->Directories();
        Dir->show();
    }

    void cleanup()
    {
        Dir->close();
        F.Stop();
    }

    void showingTheDialogShowsTheSettingsAndTheChosenGame()
    {
        QCOMPARE(Dir->windowTitle(), QString("Set Directories"));
        QCOMPARE(Dir->E1->text(), QString("/games/jk/"));
        QCOMPARE(Dir->E2->text(), QString("/games/mots/"));
        QCOMPARE(Dir->E3->text(), QString("/games/jed/master.tpl"));
        QCOMPARE(Dir->E4->text(), QString());
        QVERIFY(Game().UseJK);
        QCOMPARE(Dir->RG1Index(), 0);
        // A choice of MOTS kept from an earlier run is shown as it is, with no warning.
        Dir->hide();
        Game().UseJK = false;
        Dir->show();
        QVERIFY(!Game().UseJK);
        QCOMPARE(Dir->RG1Index(), 1);
    }

    void theLocateButtonsSuggestAFileAndStoreItsFolder_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("suggested");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("filterIndex");
        QTest::addColumn<bool>("pickersDialog");
        QTest::addColumn<QString>("stored");
        QTest::newRow("jk") << "SBJK"
                            << "res2.gob"
                            << "Locate res2.gob file" << 2 << false << "/new/jk/";
        QTest::newRow("mots") << "SBMots"
                              << "jkmres.goo"
                              << "Locate jkmres.goo file" << 2 << false << "/new/jk/";
        QTest::newRow("template") << "SBTPL"
                                  << "Master.tpl"
                                  << "Locate a template file to use" << 3 << false
                                  << "/new/jk/other.file";
        QTest::newRow("project") << "SBProj"
                                 << "any file"
                                 << "Pick any file" << 2 << true << "/new/jk/";
    }

    void theLocateButtonsSuggestAFileAndStoreItsFolder()
    {
        QFETCH(QString, button);
        QFETCH(QString, suggested);
        QFETCH(QString, title);
        QFETCH(int, filterIndex);
        QFETCH(bool, pickersDialog);
        QFETCH(QString, stored);
        const std::vector<std::string *> settings = {&Game().JKDir, &Game().MotsDir,
                                                     &Game().TemplateFile, &Game().ProjectDir};
        const QStringList buttons = {"SBJK", "SBMots", "SBTPL", "SBProj"};
        const QList<QLineEdit *> edits = {Dir->E1, Dir->E2, Dir->E3, Dir->E4};
        const int row = buttons.indexOf(button);
        const std::string before = *settings[row];

        // Cancel keeps the setting and shows it again.
        edits[row]->setText("typed");
        F.Prompts.ExpectOpenFile(QString());
        Dir->findChild<QToolButton *>(button)->click();
        QCOMPARE(*settings[row], before);
        QCOMPARE(edits[row]->text(), QString::fromStdString(before));

        // Any file will do; only its folder is kept for the folder settings.
        F.Prompts.ExpectOpenFile("/new/jk/other.file");
        Dir->findChild<QToolButton *>(button)->click();
        QCOMPARE(QString::fromStdString(*settings[row]), stored);
        QCOMPARE(edits[row]->text(), stored);

        const TFileDialog &dialog =
            pickersDialog ? F.Frame->ResourcePicker()->OD1 : F.Frame->OpenDialog;
        QCOMPARE(dialog.Title, title);
        QCOMPARE(dialog.FilterIndex, filterIndex);
        QCOMPARE(F.Prompts.Calls.first().Dialog.FileName, suggested);
        QCOMPARE(dialog.Filter,
                 pickersDialog ? QString(TRes::OD1Filter) : QString(TMainForm::OpenDialogFilter));
    }

    void theResourceChoiceWarnsAboutTheOtherGamesTemplate_data()
    {
        QTest::addColumn<QString>("templateFile");
        // The items clicked, in order: "jk" for "Use JK ", "mots" for "Use Mots".
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QStringList>("warnings");
        const QString jk = "Warning: Template Path is not set to a JediKnight Template";
        const QString mots = "Warning: Template Path is not set to a MOTS Template";
        QTest::newRow("master, mots")
            << "/jed/Master.tpl" << QStringList{"mots"} << QStringList{mots};
        QTest::newRow("master, mots then jk")
            << "/jed/master.TPL" << QStringList{"mots", "jk"} << QStringList{mots};
        QTest::newRow("mots, mots") << "/jed/mots.tpl" << QStringList{"mots"} << QStringList();
        QTest::newRow("mots, mots then jk")
            << "/jed/MOTS.TPL" << QStringList{"mots", "jk"} << QStringList{jk};
        QTest::newRow("unset, mots then jk")
            << "" << QStringList{"mots", "jk"} << QStringList{mots, jk};
        QTest::newRow("name in folder only")
            << "/master.tpl/x.tpl" << QStringList{"mots", "jk"} << QStringList{mots, jk};
        // Clicking the item already chosen is no choice: no warning, whatever the template.
        QTest::newRow("jk, already chosen")
            << "/jed/MOTS.TPL" << QStringList{"jk"} << QStringList();
        QTest::newRow("unset, jk already chosen") << "" << QStringList{"jk"} << QStringList();
        QTest::newRow("master, mots twice")
            << "/jed/master.tpl" << QStringList{"mots", "mots"} << QStringList{mots};
    }

    void theResourceChoiceWarnsAboutTheOtherGamesTemplate()
    {
        QFETCH(QString, templateFile);
        QFETCH(QStringList, clicks);
        QFETCH(QStringList, warnings);
        Game().TemplateFile = templateFile.toStdString();
        for (const QString &warning : warnings)
            F.Prompts.ExpectMessage(warning);
        for (const QString &item : clicks)
            (item == "mots" ? Dir->UseMots1 : Dir->UseJK1)->click();
        QCOMPARE(Game().UseJK, clicks.last() == "jk");
        QCOMPARE(Dir->RG1Index(), clicks.last() == "jk" ? 0 : 1);
        QCOMPARE(QString::fromStdString(Game().TemplateFile), templateFile);
    }

    void saveWritesAllFourAndTheDialogStays()
    {
        Game().ProjectDir = "";
        Dir->BBok->click();
        QSettings stored("Ostrel Forge", "Quillex");
        QCOMPARE(stored.value("JK").toString(), QString("/games/jk/"));
        QCOMPARE(stored.value("MOTS").toString(), QString("/games/mots/"));
        QCOMPARE(stored.value("Kovo").toString(), QString("/games/jed/master.tpl"));
        QVERIFY(stored.contains("PRJ"));
        QCOMPARE(stored.value("PRJ").toString(), QString());
        QVERIFY(Dir->isVisible());

        Dir->BBCancel->click();
        QVERIFY(!Dir->isVisible());
    }

    void closeKeepsChangesForTheRunOnly()
    {
        F.Prompts.ExpectOpenFile("/elsewhere/res2.gob");
        Dir->SBJK->click();
        Dir->BBCancel->click();
        QCOMPARE(QString::fromStdString(Game().JKDir), QString("/elsewhere/"));
        QVERIFY(!QSettings("Ostrel Forge", "Quillex").contains("JK"));
    }

    void theDialogIsCentredOnTheScreenEachTimeItIsShown()
    {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(qAbs(Dir->frameGeometry().center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(Dir->frameGeometry().center().y() - screen.center().y()) <= 1);

        // Moved away and the frame elsewhere: the next showing centres it again.
        Dir->hide();
        Dir->move(screen.topLeft());
        F.Frame->move(screen.topLeft() + QPoint(300, 200));
        Dir->show();
        QVERIFY(qAbs(Dir->frameGeometry().center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(Dir->frameGeometry().center().y() - screen.center().y()) <= 1);
    }

  private:
    TGameFolders &Game() { return F.Frame->GameFolders(); }

    TFrameFixture F;
    TDir *Dir = nullptr;
};

QTEST_MAIN(DirsUiTest)
#include "DirsUiTest.moc"

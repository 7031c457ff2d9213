#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "core/shell/folders.h"
#include "tests/ui/scriptedprompts.h"
#include "ui/common/settingskey.h"

class SettingsUiTest : public QObject
{
    Q_OBJECT

  private slots:
    void init()
    {
        Dir = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Dir->path());
        Scripted.Reset();
    }

    void cleanup() { Scripted.Verify(); }

    void firstStartCreatesTheKeyWithOnlyTheVersion()
    {
        const TStartupSettings read = LoadSettingsAtStart(Scripted);
        QCOMPARE(QString::fromStdString(read.AppVersion), QString("0.3 beta"));
        QSettings stored("Ostrel Forge", "Quillex");
        QCOMPARE(stored.allKeys(), QStringList{"QxVer"});
        QCOMPARE(stored.value("QxVer").toString(), QString("0.3 beta"));
        const TGameFolders &game = read.Game;
        QVERIFY(game.TemplateFile.empty() && game.JKDir.empty() && game.MotsDir.empty() &&
                game.ProjectDir.empty());
    }

    void savedFoldersComeBackButTheResourcesFolderDoesNot()
    {
        {
            QSettings stored("Ostrel Forge", "Quillex");
            stored.setValue("QxVer", "0.2");
        }
        TGameFolders saved;
        saved.JKDir = "/games/jk/";
        saved.MotsDir = "/games/mots/";
        saved.TemplateFile = "/games/jed/MASTER.TPL";
        saved.ProjectDir = "/home/me/mod/";
        SaveSettings(Scripted, saved);

        const TStartupSettings read = LoadSettingsAtStart(Scripted);
        QCOMPARE(QString::fromStdString(read.AppVersion), QString("0.3 beta"));
        QCOMPARE(QString::fromStdString(read.Game.JKDir), QString("/games/jk/"));
        QCOMPARE(QString::fromStdString(read.Game.MotsDir), QString("/games/mots/"));
        QCOMPARE(QString::fromStdString(read.Game.TemplateFile), QString("/games/jed/MASTER.TPL"));
        QCOMPARE(QString::fromStdString(read.Game.ProjectDir), QString());
        QCOMPARE(QSettings("Ostrel Forge", "Quillex").value("PRJ").toString(),
                 QString("/home/me/mod/"));
    }

    void aValueOfAnotherTypeIsReportedAndStartGoesOn()
    {
        {
            QSettings stored("Ostrel Forge", "Quillex");
            stored.setValue("JK", QStringList{"a", "b"});
            stored.setValue("Kovo", QStringList{"c", "d"});
            stored.setValue("MOTS", "/games/mots/");
        }
        Scripted.ExpectIOError();
        const TStartupSettings read = LoadSettingsAtStart(Scripted);
        // One box names every damaged value.
        const QString report = Scripted.Texts("IOError").value(0);
        QVERIFY2(report.contains("'JK'") && report.contains("'Kovo'"), qPrintable(report));
        QCOMPARE(QString::fromStdString(read.Game.JKDir), QString());
        QCOMPARE(QString::fromStdString(read.Game.TemplateFile), QString());
        QCOMPARE(QString::fromStdString(read.Game.MotsDir), QString("/games/mots/"));
        QCOMPARE(QString::fromStdString(read.AppVersion), QString("0.3 beta"));
    }

    void aStoreThatCannotBeWrittenIsReported()
    {
        // A settings folder below a plain file can never be created, whoever runs the test.
        QFile blocker(Dir->filePath("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           Dir->filePath("blocker/sub"));
        Scripted.ExpectIOError();
        QCOMPARE(QString::fromStdString(LoadSettingsAtStart(Scripted).AppVersion),
                 QString("0.3 beta"));
    }

  private:
    std::unique_ptr<QTemporaryDir> Dir;
    TScriptedPrompts Scripted;
};

QTEST_MAIN(SettingsUiTest)
#include "SettingsUiTest.moc"

#pragma once

// A frame for UI tests: settings and the program's folder in a temporary folder (the folder
// seeded with the program's data: qxdata, cog, help), scripted prompts, and modal dialogs
// recorded instead of run. Start() in init(), Stop() in cleanup().

#include <memory>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "core/shell/GlobalVar.h"
#include "tests/ui/scriptedprompts.h"
#include "ui/shell/mdimain.h"
#include "ui/shell/mdirtf.h"
#include "ui/shell/modal.h"

#ifndef QX_DATA_DIR
#error "QX_DATA_DIR names the folder holding the program's data folders"
#endif

// Answers everything with No/Cancel and remembers the texts: for the messages of the tool
// windows' start-up, which a frame test does not check.
class TQuietPrompts : public TPrompts
{
  public:
    void ShowMessage(const QString &text) override { Texts << text; }
    bool Confirm(const QString &text) override
    {
        Texts << text;
        return false;
    }
    TAnswer AskYesNoCancel(const QString &text) override
    {
        Texts << text;
        return TAnswer::Cancel;
    }
    TReplaceAnswer AskReplace(const QString &text) override
    {
        Texts << text;
        return TReplaceAnswer::Cancel;
    }
    void AbortError(const QString &text) override { Texts << text; }
    void ShowIOError(const QString &text) override { Texts << text; }
    bool ChooseOpenFile(TFileDialog &) override { return false; }
    bool ChooseSaveFile(TFileDialog &) override { return false; }
    bool ChooseFont(QFont &) override { return false; }
    bool ChoosePrinter(QPrinter &) override { return false; }
    bool SetupPrinter(QPrinter &) override { return false; }

    QStringList Texts;
};

class TFrameFixture
{
  public:
    // Builds and shows the frame. arguments: its command line; startupDelay: the delay of
    // the command-line load.
    void Start(const QStringList &arguments = {}, int startupDelay = 3000)
    {
        Temp = std::make_unique<QTemporaryDir>();
        QVERIFY(Temp->isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           Temp->filePath("settings"));
        ProgramDir = Temp->filePath("program") + "/";
        QDir().mkpath(ProgramDir);
        for (const char *sub : {"qxdata", "cog", "help"})
            CopyFolder(QString(QX_DATA_DIR) + "/" + sub, ProgramDir + sub);

        Prompts.Reset();
        Modal.clear();
        SetModalHook([this](QDialog *dialog) {
            Modal << dialog;
            return ModalResult;
        });

        Quiet.Texts.clear();
        SetPrompts(&Quiet);
        TFrameSetup setup;
        setup.ProgramDir = ProgramDir;
        setup.Arguments = arguments;
        setup.StartupDelay = startupDelay;
        Frame = new TMainForm(setup);
        SetPrompts(&Prompts);

        Frame->show();
        QApplication::setActiveWindow(Frame);
        QVERIFY(QTest::qWaitForWindowExposed(Frame));
    }

    void Stop()
    {
        Prompts.Verify();
        SetPrompts(&Quiet);
        delete Frame;
        Frame = nullptr;
        SetModalHook({});
        SetPrompts(nullptr);
        Temp.reset();
    }

    // Writes bytes to the file name in the program's cog folder; returns its path.
    QString WriteScript(const QByteArray &bytes, const QString &name = "test.cog")
    {
        const QString path = ProgramDir + "cog/" + name;
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        return path;
    }

    // Writes bytes to a script file and opens it in a new editor window.
    TRTFForm *OpenScript(const QByteArray &bytes, const QString &name = "test.cog")
    {
        return Frame->OpenInEditor(nullptr, WriteScript(bytes, name));
    }

    static QByteArray ReadFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    std::unique_ptr<QTemporaryDir> Temp;
    QString ProgramDir;
    TScriptedPrompts Prompts;
    TQuietPrompts Quiet;
    TMainForm *Frame = nullptr;
    // The dialogs shown modally, in order, and the result each of them returns.
    QList<QPointer<QDialog>> Modal;
    int ModalResult = QDialog::Rejected;

  private:
    static void CopyFolder(const QString &from, const QString &to)
    {
        QDir().mkpath(to);
        const QDir source(from);
        for (const QString &name : source.entryList(QDir::Files))
            QFile::copy(source.filePath(name), to + "/" + name);
    }
};

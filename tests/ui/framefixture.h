#pragma once

// A frame for UI tests: settings and the program's folder in a temporary folder (the folder
// seeded with the program's data: qxdata, cog, help), scripted prompts handed to the frame
// (and to the application, for the failures it reports), and modal dialogs recorded instead
// of run. Start() in init(), Stop() in cleanup().

#include <memory>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/ui/scriptedprompts.h"
#include "ui/common/application.h"
#include "ui/common/modal.h"
#include "ui/editor/scripteditor.h"
#include "ui/frame/mainframe.h"

#ifndef QX_DATA_DIR
#error "QX_DATA_DIR names the folder holding the program's data folders"
#endif

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

        // Expectations set before Start() are the start-up's own.
        Prompts.Calls.clear();
        Prompts.Failures.clear();
        if (auto *app = qobject_cast<TQxApplication *>(QCoreApplication::instance()))
            app->SetPrompts(&Prompts);
        Modal.clear();
        SetModalHook([this](QDialog *dialog) {
            Modal << dialog;
            return ModalResult;
        });

        TFrameSetup setup;
        setup.ProgramDir = ProgramDir;
        setup.Arguments = arguments;
        setup.StartupDelay = startupDelay;
        Frame = MakeFrame(setup);

        Frame->show();
        QApplication::setActiveWindow(Frame);
        QVERIFY(QTest::qWaitForWindowExposed(Frame));
    }

    void Stop()
    {
        Prompts.Verify();
        // Whatever the frame's end asks is answered No/Cancel and not checked.
        delete Frame;
        Frame = nullptr;
        SetModalHook({});
        if (auto *app = qobject_cast<TQxApplication *>(QCoreApplication::instance()))
            app->SetPrompts(nullptr);
        Prompts.Reset();
        Temp.reset();
    }

    // Makes a frame on the scripted prompts. Unless AcceptStartupMessages is off, the
    // messages of a start without the game's folders are answered without an expectation and
    // kept in StartupMessages; every other question of the start must be expected.
    TMainForm *MakeFrame(const TFrameSetup &setup)
    {
        Prompts.ToleratedTexts.clear();
        if (AcceptStartupMessages)
            Prompts.Tolerated = KnownStartupMessages;
        auto *frame = new TMainForm(Prompts, setup);
        Prompts.Tolerated.clear();
        StartupMessages = Prompts.ToleratedTexts;
        return frame;
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
    TMainForm *Frame = nullptr;
    static inline const QStringList KnownStartupMessages = {
        " JK Directory Invalid  Reset in Options", " Mots Directory Invalid ,Reset in Options"};
    bool AcceptStartupMessages = true;
    // The known start-up messages the last frame showed, in order.
    QStringList StartupMessages;
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

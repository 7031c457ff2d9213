#pragma once

// A frame for the editor's benchmarks: silent prompts, a large script of ordinary lines, and
// a wait for an editor's paint. The frame runs on whatever platform Qt is given (the offscreen
// one when there is no display).

#include <functional>
#include <memory>

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <benchmark/benchmark.h>

#include "ui/common/prompts.h"
#include "ui/editor/scripteditor.h"
#include "ui/frame/mainframe.h"

// Answers every question with No, Cancel or nothing chosen.
class TSilentPrompts : public TPrompts
{
  public:
    void ShowMessage(const QString &) override {}
    bool Confirm(const QString &) override { return false; }
    TAnswer AskYesNoCancel(const QString &) override { return TAnswer::No; }
    TReplaceAnswer AskReplace(const QString &) override { return TReplaceAnswer::Cancel; }
    void AbortError(const QString &) override {}
    void ShowIOError(const QString &) override {}
    bool ChooseOpenFile(TFileDialog &) override { return false; }
    bool ChooseSaveFile(TFileDialog &) override { return false; }
    bool ChooseFont(QFont &) override { return false; }
    bool ChoosePrinter(QPrinter &) override { return false; }
    bool SetupPrinter(QPrinter &) override { return false; }
};

// A script of ordinary lines of at least size bytes: a symbols section, then statements and
// comments, CR LF ends.
inline QByteArray LargeScript(qsizetype size = 5 * 1024 * 1024)
{
    QByteArray bytes = "# a large script\r\nflags=0x240\r\n\r\nsymbols\r\n"
                       "message     startup\r\n"
                       "thing       player                         local\r\n"
                       "sound       hit=00_boom.wav                local\r\n"
                       "int         count=5                        local\r\n"
                       "flex        speed=1.5                      local\r\n"
                       "template    tpl=+sparks                    local\r\n"
                       "end\r\n\r\ncode\r\nstartup:\r\n";
    const char *const body[] = {
        "   player = GetLocalPlayerThing();",
        "   if (count > 2.5) PlaySoundThing(hit, player, 1.0, -1, -1, 0x80);",
        "   // advance the counter by one step",
        "   count = count + 1;",
        "   Print(\"Hello from the script\");   # a trailing comment",
        "   for (i = 0; i < count; i = i + 1) CreateThing(tpl, player);",
        "   # a comment line between statements",
        "   while (IsThingMoving(player)) Sleep(0.1);",
        "",
    };
    for (size_t k = 0; bytes.size() < size; ++k)
        bytes += QByteArray(body[k % std::size(body)]) + "\r\n";
    return bytes + "   return;\r\nend\r\n";
}

// Quits loop once watched has painted (the quit runs after the paint event is handled).
class TPaintWatch : public QObject
{
  public:
    TPaintWatch(QWidget *watched, QEventLoop &loop) : Loop(loop)
    {
        watched->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, &Loop, &QEventLoop::quit);
        return false;
    }

  private:
    QEventLoop &Loop;
};

inline void WaitForPaint(QWidget *widget)
{
    QEventLoop loop;
    TPaintWatch watch(widget, loop);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
}

// A frame in a temporary program folder, with settings there too, shown at the size of a
// maximised window, and a large script of size bytes written into its cog folder.
class TBenchFrame
{
  public:
    explicit TBenchFrame(qsizetype size = 5 * 1024 * 1024)
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           Temp.filePath("settings"));
        const QString programDir = Temp.filePath("program") + "/";
        for (const char *sub : {"qxdata", "cog", "help"})
        {
            QDir().mkpath(programDir + sub);
            const QDir source(QString(QX_DATA_DIR) + "/" + sub);
            for (const QString &name : source.entryList(QDir::Files))
                QFile::copy(source.filePath(name), programDir + sub + "/" + name);
        }
        TFrameSetup setup;
        setup.ProgramDir = programDir;
        Frame = std::make_unique<TMainForm>(Prompts, setup);
        Frame->setGeometry(0, 0, 1280, 900);
        Frame->show();
        if (!QTest::qWaitForWindowExposed(Frame.get()))
            qWarning("the frame was never shown");
        Path = programDir + "cog/large.cog";
        QFile file(Path);
        if (file.open(QIODevice::WriteOnly))
            file.write(LargeScript(size));
    }

    // Opens the script in a new editor, as File > Open does, and waits for its first paint.
    TRTFForm *Open()
    {
        TRTFForm *editor = Frame->OpenInEditor(nullptr, Path);
        WaitForPaint(editor->RE->viewport());
        return editor;
    }

    static void Close(TRTFForm *editor)
    {
        delete editor;
        QCoreApplication::processEvents();
    }

  private:
    QTemporaryDir Temp;
    TSilentPrompts Prompts;

  public:
    std::unique_ptr<TMainForm> Frame;
    QString Path;
};

// The main of a benchmark of windows: the offscreen platform when there is no display, the
// application object, the benchmarks; done runs before the application goes.
inline int RunWindowBenchmarks(int argc, char **argv, const std::function<void()> &done)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    done();
    return 0;
}

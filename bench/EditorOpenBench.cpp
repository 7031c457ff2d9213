// Opening a 5 MB script in an editor window with syntax colours on, as File > Open does: from
// the call that opens the file until the editor has painted its text. Then typing into the
// loaded script: a key near its end, and a section word near its top, which changes the
// section of every line below. The frame runs on whatever platform Qt is given (the offscreen
// one when there is no display).

#include <memory>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
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
#include "ui/editor/editortools.h"
#include "ui/editor/highlighter.h"
#include "ui/editor/scripteditor.h"
#include "ui/frame/mainframe.h"

namespace {
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

// A script of ordinary lines: a symbols section, then statements and comments, CR LF ends.
QByteArray LargeScript()
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
    for (size_t k = 0; bytes.size() < 5 * 1024 * 1024; ++k)
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

void WaitForPaint(QWidget *widget)
{
    QEventLoop loop;
    TPaintWatch watch(widget, loop);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
}

// A frame in a temporary program folder, with settings there too, shown at the size of a
// maximised window, and the large script written into its cog folder.
class TBenchFrame
{
  public:
    TBenchFrame()
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
            file.write(LargeScript());
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

// Made on first use and gone before the application object.
std::unique_ptr<TBenchFrame> TheBench;

TBenchFrame &Bench()
{
    if (!TheBench)
        TheBench = std::make_unique<TBenchFrame>();
    return *TheBench;
}

void BM_OpenScriptToFirstPaint(benchmark::State &state)
{
    TBenchFrame &bench = Bench();
    for (auto _ : state)
    {
        TRTFForm *editor = bench.Open();
        state.PauseTiming();
        if (!editor->Tools->Highlighting() || editor->RE->blockCount() < 100000)
            state.SkipWithError("the script is not open with colours on");
        TBenchFrame::Close(editor);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenScriptToFirstPaint)->Unit(benchmark::kMillisecond)->UseRealTime();

// A key typed near the end of the loaded script, until the editor has painted it.
void BM_TypeIntoLoadedScript(benchmark::State &state)
{
    TBenchFrame &bench = Bench();
    TRTFForm *editor = bench.Open();
    editor->RE->setFocus();
    editor->SelectRange(editor->LineStart(editor->LineCount() - 50) + 3, 0);
    editor->RE->ensureCursorVisible();
    WaitForPaint(editor->RE->viewport());
    for (auto _ : state)
    {
        QTest::keyClick(editor->RE, Qt::Key_X);
        WaitForPaint(editor->RE->viewport());
        QTest::keyClick(editor->RE, Qt::Key_Backspace);
        WaitForPaint(editor->RE->viewport());
    }
    editor->RE->document()->setModified(false);
    TBenchFrame::Close(editor);
}
BENCHMARK(BM_TypeIntoLoadedScript)->Unit(benchmark::kMillisecond)->UseRealTime();

// "end" typed at the start of a line near the top of the code section and taken away again:
// each time, the lines below change section. Timed until the editor has painted the key; the
// sections of the lines out of view, given in the background afterwards, are counted apart
// (background_ms, per iteration).
void BM_EndCodeSectionNearTheTop(benchmark::State &state)
{
    TBenchFrame &bench = Bench();
    TRTFForm *editor = bench.Open();
    editor->RE->setFocus();
    editor->SelectRange(editor->LineStart(30), 0);
    WaitForPaint(editor->RE->viewport());
    const TCogHighlighter *highlighter = editor->Tools->Highlighter;
    QElapsedTimer background;
    qint64 backgroundMs = 0;
    const auto waitForSections = [&] {
        state.PauseTiming();
        background.start();
        while (highlighter->SectionsPending())
            QCoreApplication::processEvents();
        backgroundMs += background.elapsed();
        state.ResumeTiming();
    };
    for (auto _ : state)
    {
        QTest::keyClicks(editor->RE, "end");
        WaitForPaint(editor->RE->viewport());
        waitForSections();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(editor->RE, Qt::Key_Backspace);
        WaitForPaint(editor->RE->viewport());
        waitForSections();
    }
    state.counters["background_ms"] =
        benchmark::Counter(static_cast<double>(backgroundMs), benchmark::Counter::kAvgIterations);
    editor->RE->document()->setModified(false);
    TBenchFrame::Close(editor);
}
BENCHMARK(BM_EndCodeSectionNearTheTop)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    TheBench.reset();
    return 0;
}

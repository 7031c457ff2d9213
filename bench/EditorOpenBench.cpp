// Opening a 5 MB script in an editor window with syntax colours on, as File > Open does: from
// the call that opens the file until the editor has painted its text. Then typing into the
// loaded script: a key near its end, and a section word near its top, which changes the
// section of every line below.

#include <memory>

#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include "bench/benchframe.h"
#include "ui/editor/editortools.h"
#include "ui/editor/highlighter.h"

namespace {
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
    return RunWindowBenchmarks(argc, argv, [] { TheBench.reset(); });
}

// The cost of the editor's live check to someone typing, on a script of 5,000 lines and on one
// of 5 MB: a key's handling on the window's thread (the key event and everything it sets off
// before the next event is taken), and the time from the last key to the underline it causes
// painted, which includes the pause the check waits after a change (pause_ms). The key makes
// a statement an error and the next takes it back, so each iteration's text is checked anew.

#include <map>
#include <memory>

#include <QAbstractItemView>
#include <QCompleter>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include "bench/benchframe.h"
#include "ui/editor/codeassist.h"
#include "ui/editor/livecheck.h"

namespace {
// About 5,000 lines, and 5 MB.
constexpr qsizetype ScriptSizes[] = {200 * 1024, 5 * 1024 * 1024};

std::map<qsizetype, std::unique_ptr<TBenchFrame>> Frames;

// An editor on the script of size bytes, its caret at the start of a statement near the end,
// checked once.
TRTFForm *OpenChecked(qsizetype size)
{
    std::unique_ptr<TBenchFrame> &frame = Frames[size];
    if (!frame)
        frame = std::make_unique<TBenchFrame>(size);
    TRTFForm *editor = frame->Open();
    editor->RE->setFocus();
    // "   count = count + 1;" stands at every ninth line from the ninth after "startup:".
    int line = editor->LineCount() - 60;
    while (editor->Line(line).find("count = count") == std::string::npos)
        ++line;
    editor->SelectRange(editor->LineStart(line) + 3, 0);
    editor->RE->ensureCursorVisible();
    while (!editor->LiveCheck->Current())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return editor;
}

void Close(TRTFForm *editor)
{
    editor->RE->document()->setModified(false);
    TBenchFrame::Close(editor);
}

// Whether the findings of the text as it stands are underlined: an error while the statement
// is broken, none otherwise.
bool Underlined(TRTFForm *editor, bool broken)
{
    if (!editor->LiveCheck->Current())
        return false;
    for (const QTextEdit::ExtraSelection &mark : editor->LiveCheck->Underlines())
        if (mark.format.underlineColor() == TLiveCheck::ErrorColour())
            return broken;
    return !broken;
}

void BM_KeyWithLiveCheck(benchmark::State &state)
{
    TRTFForm *editor = OpenChecked(state.range(0));
    QElapsedTimer key;
    qint64 worstNs = 0;
    for (auto _ : state)
    {
        key.start();
        QTest::keyClick(editor->RE, Qt::Key_ParenLeft);
        state.SetIterationTime(static_cast<double>(key.nsecsElapsed()) / 1e9);
        worstNs = std::max(worstNs, key.nsecsElapsed());
        state.PauseTiming();
        QTest::keyClick(editor->RE, Qt::Key_Backspace);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["worst_ms"] = static_cast<double>(worstNs) / 1e6;
    Close(editor);
}
BENCHMARK(BM_KeyWithLiveCheck)
    ->Arg(ScriptSizes[0])
    ->Arg(ScriptSizes[1])
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_LastKeyToUnderline(benchmark::State &state)
{
    TRTFForm *editor = OpenChecked(state.range(0));
    bool broken = false;
    for (auto _ : state)
    {
        broken = !broken;
        if (broken)
            QTest::keyClick(editor->RE, Qt::Key_ParenLeft);
        else
            QTest::keyClick(editor->RE, Qt::Key_Backspace);
        while (!Underlined(editor, broken))
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        // The paint the new underlines asked for may already be done: one more, at once.
        editor->RE->viewport()->repaint();
    }
    state.counters["pause_ms"] = TLiveCheck::PauseMs;
    if (broken)
        QTest::keyClick(editor->RE, Qt::Key_Backspace);
    Close(editor);
}
BENCHMARK(BM_LastKeyToUnderline)
    ->Arg(ScriptSizes[0])
    ->Arg(ScriptSizes[1])
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
// The third letter of a word near the end of the script, which opens the list of what fits.
void BM_KeyOpeningCompletion(benchmark::State &state)
{
    TRTFForm *editor = OpenChecked(state.range(0));
    QAbstractItemView *list = editor->Assist->Completer->popup();
    QElapsedTimer key;
    for (auto _ : state)
    {
        state.PauseTiming();
        QTest::keyClicks(editor->RE, "Pl");
        state.ResumeTiming();
        key.start();
        QTest::keyClick(editor->RE, Qt::Key_A);
        state.SetIterationTime(static_cast<double>(key.nsecsElapsed()) / 1e9);
        state.PauseTiming();
        if (!list->isVisible())
            state.SkipWithError("the list did not open");
        QTest::keyClick(list, Qt::Key_Escape);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(editor->RE, Qt::Key_Backspace);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    Close(editor);
}
BENCHMARK(BM_KeyOpeningCompletion)
    ->Arg(ScriptSizes[0])
    ->Arg(ScriptSizes[1])
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char **argv)
{
    return RunWindowBenchmarks(argc, argv, [] { Frames.clear(); });
}

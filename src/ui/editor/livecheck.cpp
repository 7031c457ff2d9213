#include "ui/editor/livecheck.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTimer>

#include "ui/common/scripttext.h"

namespace {
// The property of an underline's format that holds its finding's message.
constexpr int MessageProperty = QTextFormat::UserProperty + 1;
} // namespace

int DocumentPosition(const QTextDocument *doc, const TScriptPos &pos)
{
    const QTextBlock block = doc->findBlockByNumber(pos.Line);
    if (!block.isValid())
        return doc->characterCount() - 1;
    return block.position() + std::clamp(pos.Column, 0, block.length() - 1);
}

// One analysis: the text of one revision, analysed where it was started.
struct TLiveCheck::TJob
{
    long Revision = 0;
    QString Text;
    TAnalysisOptions Options;
    std::stop_source Stop;
    std::shared_ptr<const TScriptAnalysis> Result;

    void Run()
    {
        Options.Stop = Stop.get_token();
        Result = std::make_shared<const TScriptAnalysis>(
            AnalyseScript(ScriptBytesOfEditorText(Text), Options));
    }
};

TLiveCheck::TLiveCheck(QPlainTextEdit *editor, QLabel *findingPanel)
    : QObject(editor), Editor(editor), FindingPanel(findingPanel), Pause(new QTimer(this))
{
    setObjectName("LiveCheck");
    Worker.setMaxThreadCount(1);
    Pause->setSingleShot(true);
    Pause->setInterval(PauseMs);
    connect(Pause, &QTimer::timeout, this, [this] { Start(); });
    // Every change of the document counts, colours given by the highlighter too: a needless
    // analysis costs less than a missed change.
    connect(Editor->document(), &QTextDocument::contentsChange, this, [this] { TextChanged(); });
    connect(Editor, &QPlainTextEdit::cursorPositionChanged, this, [this] { ShowFindingAtCaret(); });
    Pause->start();
}

TLiveCheck::~TLiveCheck()
{
    if (Pending)
        Pending->Stop.request_stop();
    Worker.waitForDone();
}

QColor TLiveCheck::ErrorColour()
{
    return QColor(224, 0, 0);
}

QColor TLiveCheck::WarningColour()
{
    return QColor(255, 140, 0);
}

void TLiveCheck::SetEnabled(bool on)
{
    if (on == Enabled)
        return;
    Enabled = on;
    if (Enabled)
        Pause->start();
    else
        Pause->stop();
    ShowUnderlines();
}

void TLiveCheck::SetOptions(const TAnalysisOptions &options)
{
    AnalysisOptions = options;
    AnalysisOptions.Stop = {};
    // The text is the same, its findings are not.
    TextChanged();
}

std::shared_ptr<const TScriptAnalysis> TLiveCheck::Current() const
{
    return AnalysisRevision == Revision ? Analysis : nullptr;
}

std::shared_ptr<const TScriptAnalysis> TLiveCheck::AnalysisNow()
{
    if (!Current())
    {
        Pause->stop();
        Start();
    }
    return Current();
}

void TLiveCheck::WhenAnalysed(std::function<void(const TScriptAnalysis &)> done)
{
    if (const std::shared_ptr<const TScriptAnalysis> analysis = Current())
    {
        done(*analysis);
        return;
    }
    Waiting.push_back(std::move(done));
    Pause->stop();
    Start();
}

void TLiveCheck::TextChanged()
{
    ++Revision;
    if (Pending)
    {
        Pending->Stop.request_stop();
        Pending.reset();
    }
    if (Enabled || !Waiting.empty())
        Pause->start();
}

void TLiveCheck::Start()
{
    if (Pending && Pending->Revision == Revision)
        return;
    auto job = std::make_shared<TJob>();
    job->Revision = Revision;
    job->Text = Editor->document()->toRawText();
    job->Options = AnalysisOptions;
    if (job->Text.size() <= ForegroundLimit)
    {
        job->Run();
        Landed(job);
        return;
    }
    Pending = job;
    ++Running;
    Worker.start([this, job] {
        job->Run();
        QMetaObject::invokeMethod(
            this,
            [this, job] {
                --Running;
                Landed(job);
            },
            Qt::QueuedConnection);
    });
}

void TLiveCheck::Landed(const std::shared_ptr<TJob> &job)
{
    if (Pending == job)
        Pending.reset();
    if (job->Revision != Revision)
    {
        // A newer text is waited for; requests for it start its analysis.
        if (!Waiting.empty() && !Pending)
            Start();
        return;
    }
    Analysis = job->Result;
    AnalysisRevision = job->Revision;
    ShowUnderlines();
    const auto waiting = std::move(Waiting);
    Waiting.clear();
    for (const auto &done : waiting)
        done(*Analysis);
}

void TLiveCheck::ShowUnderlines()
{
    Marks.clear();
    if (Enabled && Analysis)
    {
        QTextDocument *doc = Editor->document();
        for (const TScriptDiagnostic &finding : Analysis->Diagnostics)
        {
            if (Marks.size() >= UnderlineLimit)
                break;
            int start = DocumentPosition(doc, finding.Range.Start);
            int end = DocumentPosition(doc, finding.Range.End);
            // A finding at the end of its line underlines the character before.
            if (end <= start)
            {
                end = start;
                start = std::max(start - 1, 0);
            }
            QTextEdit::ExtraSelection mark;
            mark.cursor = QTextCursor(doc);
            mark.cursor.setPosition(start);
            mark.cursor.setPosition(end, QTextCursor::KeepAnchor);
            mark.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
            mark.format.setUnderlineColor(
                finding.Severity == TDiagnosticSeverity::Error ? ErrorColour() : WarningColour());
            mark.format.setProperty(MessageProperty, DecodeScript(finding.Message));
            Marks << mark;
        }
    }
    emit UnderlinesChanged();
    ShowFindingAtCaret();
}

QString TLiveCheck::FindingAt(int position) const
{
    for (const QTextEdit::ExtraSelection &mark : Marks)
        if (mark.cursor.selectionStart() <= position && position <= mark.cursor.selectionEnd())
            return mark.format.property(MessageProperty).toString();
    return {};
}

void TLiveCheck::ShowFindingAtCaret()
{
    if (FindingPanel)
        FindingPanel->setText(FindingAt(Editor->textCursor().position()));
}

#pragma once

#include <memory>

#include <QList>
#include <QObject>
#include <QTextEdit>
#include <QThreadPool>

#include "core/analysis/scriptanalysis.h"

class QLabel;
class QTextDocument;
class QTimer;
class QPlainTextEdit;

// The character position in doc of a place of its analysed text, clamped into its line.
int DocumentPosition(const QTextDocument *doc, const TScriptPos &pos);

// Checks an editor's script as it is typed: a short pause after the last change, the text is
// analysed and every finding is underlined where it stands (a red wave for an error, an orange
// one for a warning), and told in FindingPanel while the caret is on it. A long script is
// analysed on another thread, and a change stops an analysis of the text before it. The
// underlines are extra selections: no edit to undo, no change of the modified state.
class TLiveCheck : public QObject
{
    Q_OBJECT

  public:
    // findingPanel: where the finding under the caret is told.
    TLiveCheck(QPlainTextEdit *editor, QLabel *findingPanel);
    ~TLiveCheck() override;

    // The pause after a change before the text is analysed.
    static constexpr int PauseMs = 300;
    // Scripts of more characters than this are analysed on another thread.
    static constexpr int ForegroundLimit = 100 * 1024;
    // The findings underlined at most; a broken script of megabytes may hold many more.
    static constexpr int UnderlineLimit = 1000;

    // Whether findings are underlined as the text changes ("Check as you type").
    void SetEnabled(bool on);
    // The game and checks the analysis follows; a change analyses the text again.
    void SetOptions(const TAnalysisOptions &options);
    const TAnalysisOptions &Options() const { return AnalysisOptions; }

    // The analysis of the text as it stands; null while the text changed since the last one.
    std::shared_ptr<const TScriptAnalysis> Current() const;
    // The last analysis, of the text as it stands or as it was a few changes ago; null before
    // the first.
    std::shared_ptr<const TScriptAnalysis> Latest() const { return Analysis; }
    // Gives the analysis of the text as it stands to done: at once when there is one or the
    // script is short enough to analyse now, else when the analysis started now lands. A
    // request still waiting when the text changes again waits for the next analysis.
    void WhenAnalysed(std::function<void(const TScriptAnalysis &)> done);
    // The analysis of the text as it stands: the one there is, or one made now when the script
    // is short enough; null while a long script's analysis, started if need be, is under way.
    std::shared_ptr<const TScriptAnalysis> AnalysisNow();
    // Whether an analysis is under way on another thread.
    bool Busy() const { return Running > 0; }

    // The underlines of the findings, for the editor's extra selections.
    const QList<QTextEdit::ExtraSelection> &Underlines() const { return Marks; }
    // The message of the finding at a character position of the text; empty when none is.
    QString FindingAt(int position) const;

    static QColor ErrorColour();
    static QColor WarningColour();

  signals:
    // The underlines changed: the editor shows them with its other marks.
    void UnderlinesChanged();

  private:
    struct TJob;
    void TextChanged();
    void Start();
    void Landed(const std::shared_ptr<TJob> &job);
    void ShowUnderlines();
    void ShowFindingAtCaret();

    QPlainTextEdit *Editor;
    QLabel *FindingPanel;
    QTimer *Pause;
    TAnalysisOptions AnalysisOptions;
    bool Enabled = true;
    // Counts the changes of the text: an analysis is of the text of one count.
    long Revision = 0;
    std::shared_ptr<const TScriptAnalysis> Analysis;
    long AnalysisRevision = -1;
    std::shared_ptr<TJob> Pending;
    int Running = 0;
    std::vector<std::function<void(const TScriptAnalysis &)>> Waiting;
    QList<QTextEdit::ExtraSelection> Marks;
    // One analysis at a time; the pool waits for it when the window goes.
    QThreadPool Worker;
};

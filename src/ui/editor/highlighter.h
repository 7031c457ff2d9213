#pragma once

#include <optional>
#include <vector>

#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <QTextCursor>

#include "core/analysis/wordclasses.h"

class QPlainTextEdit;
class QTextBlock;
class QTimer;

// Colours the words of a COG script in an editor. A long script is coloured where it is
// shown: blocks outside the view are only read for the section they open, and get their
// colours once they scroll into view, so loading a script of megabytes and typing in it stay
// quick. The checker's red line is an extra selection of the editor, drawn over the colours.
class TCogHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT

  public:
    explicit TCogHighlighter(QPlainTextEdit *editor);

    // Scripts up to this many lines are coloured whole at once.
    static constexpr int WholeDocumentLimit = 3000;
    // Lines coloured at once from the top of a long script, before it is first shown.
    static constexpr int LeadingLines = 200;

    // Colours (and takes back the colours of) the editor's text.
    void SetEnabled(bool on);
    bool IsEnabled() const { return document() != nullptr; }

    // The format of each word class, readable on the editor's white background.
    static const QTextCharFormat &FormatOf(TCogWordClass cls);

    // Colours the blocks shown in the editor that were left for later.
    void HighlightVisible();
    // Takes in text, just put in place of the whole document without the highlighter seeing
    // it (its blocks carry no state yet): a long script gets the sections of all its lines
    // and colours where it is shown, as if the highlighter had gone over it; a short one is
    // coloured whole.
    void TextReplaced(const QString &text);
    // Whether lines out of view are still waiting for their sections after an edit changed
    // the section of the lines below it.
    bool SectionsPending() const { return !StaleFirst.isNull(); }
    // The section block stands in, as the colours read it; nothing while the colours are off
    // or lines are still waiting for their sections.
    std::optional<TCogSection> SectionOf(const QTextBlock &block) const;

  protected:
    void highlightBlock(const QString &text) override;

  private:
    bool ShouldColourNow(const QTextBlock &block) const;
    // Notes that block kept its old section though the line before it changed.
    void MarkStale(const QTextBlock &block);
    void ClearStale();
    // Gives the lines from StaleFirst on their true sections, up to the line at untilPosition
    // and at most limit lines.
    void CatchUpSections(int untilPosition, int limit);
    // One slice of that work in the background, and the colours of the lines in view.
    void ContinueSections();

    QPlainTextEdit *Editor;
    QTextDocument *Document;
    std::vector<TCogSpan> Spans;
    // The lines whose section may be out of date lie from StaleFirst to StaleLast and after
    // them; both null when none is. Cursors follow the edits made above them.
    QTextCursor StaleFirst;
    QTextCursor StaleLast;
    QTimer *SectionTimer;
    // Lines given their sections in one slice of background work.
    static constexpr int SectionSlice = 5000;
    int ShownFirst = 0;
    int ShownLast = -1;
    bool InVisiblePass = false;
};

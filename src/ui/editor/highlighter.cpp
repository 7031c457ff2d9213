#include "ui/editor/highlighter.h"

#include <array>
#include <limits>

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

namespace {
// A block's user state: its section in the low bits, and a flag for a block whose colours
// were left for later. -1 is Qt's "never highlighted".
constexpr int SectionBits = 3;
constexpr int Uncoloured = 4;

TCogSection SectionOfState(int state)
{
    return state < 0 ? TCogSection::Outside : static_cast<TCogSection>(state & SectionBits);
}

// The section after a line, read from its first word only: the pass over lines not shown
// skips the conversion of whole lines.
TCogSection NextSection(QStringView text, TCogSection section)
{
    qsizetype start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t'))
        ++start;
    if (start == text.size())
        return section;
    switch (text[start].toLower().unicode())
    {
    case 's':
    case 'c':
    case 'e':
    case 'f':
        break;
    default:
        return section;
    }
    // "symbols" is the longest section word; "flags =" may carry blanks before its "=".
    const QByteArray head = text.mid(start, 40).toLatin1();
    return NextCogSection(std::string_view(head.constData(), static_cast<size_t>(head.size())),
                          section);
}

QTextCharFormat Coloured(QColor colour, bool bold = false, bool italic = false)
{
    QTextCharFormat format;
    format.setForeground(colour);
    if (bold)
        format.setFontWeight(QFont::Bold);
    if (italic)
        format.setFontItalic(true);
    return format;
}
} // namespace

TCogHighlighter::TCogHighlighter(QPlainTextEdit *editor)
    : QSyntaxHighlighter(static_cast<QObject *>(editor)), Editor(editor),
      Document(editor->document())
{
    setObjectName("Highlighter");
    SectionTimer = new QTimer(this);
    SectionTimer->setSingleShot(true);
    SectionTimer->setInterval(0);
    connect(SectionTimer, &QTimer::timeout, this, [this] { ContinueSections(); });
    connect(editor, &QPlainTextEdit::updateRequest, this, [this] { HighlightVisible(); });
}

void TCogHighlighter::SetEnabled(bool on)
{
    if (on == IsEnabled())
        return;
    ClearStale();
    setDocument(on ? Document : nullptr);
}

namespace {
constexpr size_t WordClassCount = static_cast<size_t>(TCogWordClass::Label) + 1;

QTextCharFormat NewFormat(TCogWordClass cls)
{
    // Dark colours on white, none of them red: red is the checker's mark of an error line.
    switch (cls)
    {
    case TCogWordClass::Section:
        return Coloured(QColor(0, 0, 140), true);
    case TCogWordClass::SymbolType:
        return Coloured(QColor(0, 110, 120), true);
    case TCogWordClass::Extension:
        return Coloured(QColor(120, 40, 140));
    case TCogWordClass::Keyword:
        return Coloured(QColor(0, 0, 220), true);
    case TCogWordClass::Verb:
        return Coloured(QColor(0, 110, 120));
    case TCogWordClass::Number:
        return Coloured(QColor(150, 80, 0));
    case TCogWordClass::String:
        return Coloured(QColor(0, 120, 0));
    case TCogWordClass::Comment:
        return Coloured(QColor(112, 112, 112), false, true);
    case TCogWordClass::Label:
        return Coloured(QColor(110, 60, 0), true);
    }
    return {};
}
} // namespace

const QTextCharFormat &TCogHighlighter::FormatOf(TCogWordClass cls)
{
    // Made once: every word coloured asks for its format.
    static const std::array<QTextCharFormat, WordClassCount> formats = [] {
        std::array<QTextCharFormat, WordClassCount> made;
        for (size_t k = 0; k < made.size(); ++k)
            made[k] = NewFormat(static_cast<TCogWordClass>(k));
        return made;
    }();
    return formats[static_cast<size_t>(cls)];
}

bool TCogHighlighter::ShouldColourNow(const QTextBlock &block) const
{
    if (Document->blockCount() <= WholeDocumentLimit)
        return true;
    const int number = block.blockNumber();
    return number < LeadingLines || (number >= ShownFirst && number <= ShownLast);
}

std::optional<TCogSection> TCogHighlighter::SectionOf(const QTextBlock &block) const
{
    if (!IsEnabled() || SectionsPending())
        return std::nullopt;
    const QTextBlock before = block.previous();
    if (!before.isValid())
        return TCogSection::Outside;
    if (before.userState() < 0)
        return std::nullopt;
    return SectionOfState(before.userState());
}

void TCogHighlighter::highlightBlock(const QString &text)
{
    const QTextBlock block = currentBlock();
    const bool colourNow = ShouldColourNow(block);
    // A line coloured now needs the true section of the line before it.
    if (colourNow && !StaleFirst.isNull() && block.position() > StaleFirst.position())
        CatchUpSections(block.position(), std::numeric_limits<int>::max());
    const TCogSection section = SectionOfState(previousBlockState());
    if (!colourNow)
    {
        const int state = static_cast<int>(NextSection(text, section)) | Uncoloured;
        // A change of section would make Qt go on to the next line, and so on to the end of
        // the script: a line left for later keeps its old section, which stops it here, and
        // the lines from it on get their sections in the background.
        const int old = currentBlockState();
        if (old >= 0 && (old & Uncoloured) && old != state)
        {
            MarkStale(block);
            return;
        }
        setCurrentBlockState(state);
        return;
    }
    // Characters outside Latin-1 become one '?' each, so offsets stay those of the text.
    const QByteArray bytes = text.toLatin1();
    TCogSection next = section;
    ClassifyCogLine(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), next,
                    Spans);
    setCurrentBlockState(static_cast<int>(next));
    for (const TCogSpan &span : Spans)
        setFormat(span.Start, span.Length, FormatOf(span.Class));
}

void TCogHighlighter::MarkStale(const QTextBlock &block)
{
    if (StaleFirst.isNull())
    {
        StaleFirst = QTextCursor(block);
        StaleLast = StaleFirst;
    }
    else if (block.position() < StaleFirst.position())
        StaleFirst.setPosition(block.position());
    else if (block.position() > StaleLast.position())
        StaleLast.setPosition(block.position());
    SectionTimer->start();
}

void TCogHighlighter::ClearStale()
{
    StaleFirst = QTextCursor();
    StaleLast = QTextCursor();
    SectionTimer->stop();
}

void TCogHighlighter::CatchUpSections(int untilPosition, int limit)
{
    // The lines before StaleFirst have their true sections. From StaleFirst to StaleLast,
    // some lines kept an old section while the line before them changed; every other line
    // has the section the line before it gives it. So past StaleLast, the first line whose
    // section comes out as it was ends the work: the lines after it follow from it.
    QTextBlock block = Document->findBlock(StaleFirst.position());
    TCogSection section = SectionOfState(block.previous().userState());
    for (int done = 0; block.isValid(); block = block.next(), ++done)
    {
        if (block.position() >= untilPosition || done == limit)
        {
            StaleFirst.setPosition(block.position());
            return;
        }
        const int old = block.userState();
        section = NextSection(block.text(), section);
        if (old >= 0 && SectionOfState(old) == section)
        {
            if (block.position() > StaleLast.position())
                break;
            continue;
        }
        // A line already coloured gets its colours again once it is shown.
        block.setUserState(static_cast<int>(section) | Uncoloured);
    }
    ClearStale();
}

void TCogHighlighter::ContinueSections()
{
    if (StaleFirst.isNull() || !IsEnabled())
        return;
    CatchUpSections(std::numeric_limits<int>::max(), SectionSlice);
    HighlightVisible();
    if (!StaleFirst.isNull())
        SectionTimer->start();
}

void TCogHighlighter::TextReplaced(const QString &text)
{
    ClearStale();
    if (!IsEnabled())
        return;
    if (Document->blockCount() <= WholeDocumentLimit)
    {
        rehighlight();
        return;
    }
    // Each block gets the state the pass over lines not shown would give it, read from the
    // text that went in rather than from the blocks, which would copy every line out again.
    // A block takes as many characters of text as its length, its break included.
    TCogSection section = TCogSection::Outside;
    qsizetype from = 0;
    for (QTextBlock block = Document->begin(); block.isValid(); block = block.next())
    {
        section = NextSection(QStringView(text).mid(from, block.length() - 1), section);
        block.setUserState(static_cast<int>(section) | Uncoloured);
        from += block.length();
    }
    // The leading lines and the lines in view: colouring the first block goes on through the
    // blocks that are to be coloured now.
    ShownFirst = 0;
    ShownLast = -1;
    rehighlightBlock(Document->firstBlock());
    HighlightVisible();
}

void TCogHighlighter::HighlightVisible()
{
    if (!IsEnabled() || InVisiblePass)
        return;
    const QTextBlock top = Editor->cursorForPosition(QPoint(0, 0)).block();
    const int lineHeight = std::max(1, Editor->fontMetrics().lineSpacing());
    ShownFirst = top.blockNumber();
    ShownLast = ShownFirst + Editor->viewport()->height() / lineHeight + 2;
    if (!StaleFirst.isNull())
    {
        const QTextBlock below = Document->findBlockByNumber(ShownLast + 1);
        CatchUpSections(below.isValid() ? below.position() : std::numeric_limits<int>::max(),
                        std::numeric_limits<int>::max());
    }
    // Colouring a block clears its flag, a change of its state, so Qt goes on to the next
    // block by itself; it stops at the first block past the view, which stays as it was.
    InVisiblePass = true;
    for (QTextBlock block = top; block.isValid() && block.blockNumber() <= ShownLast;
         block = block.next())
        if (block.userState() >= 0 && (block.userState() & Uncoloured))
            rehighlightBlock(block);
    InVisiblePass = false;
}

#include "ui/shell/coghighlight.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

namespace {
// Marks a block whose colours were left for later.
class TUncoloured : public QTextBlockUserData
{};

// The block's section is kept as its user state; -1 is Qt's "never highlighted".
TCogSection SectionOfState(int state)
{
    return state < 0 ? TCogSection::Outside : static_cast<TCogSection>(state);
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
    connect(editor, &QPlainTextEdit::updateRequest, this, [this] { HighlightVisible(); });
}

void TCogHighlighter::SetEnabled(bool on)
{
    if (on == IsEnabled())
        return;
    setDocument(on ? Document : nullptr);
}

QTextCharFormat TCogHighlighter::FormatOf(TCogWordClass cls)
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

bool TCogHighlighter::ShouldColourNow(int blockNumber) const
{
    if (InVisiblePass || Document->blockCount() <= WholeDocumentLimit)
        return true;
    return blockNumber < LeadingLines || (blockNumber >= ShownFirst && blockNumber <= ShownLast);
}

void TCogHighlighter::highlightBlock(const QString &text)
{
    const TCogSection section = SectionOfState(previousBlockState());
    // Characters outside Latin-1 become one '?' each, so offsets stay those of the text.
    const QByteArray bytes = text.toLatin1();
    const std::string_view line(bytes.constData(), static_cast<size_t>(bytes.size()));
    const QTextBlock block = currentBlock();
    if (!ShouldColourNow(block.blockNumber()))
    {
        setCurrentBlockState(static_cast<int>(NextCogSection(line, section)));
        if (!block.userData())
            setCurrentBlockUserData(new TUncoloured);
        return;
    }
    TCogSection next = section;
    ClassifyCogLine(line, next, Spans);
    setCurrentBlockState(static_cast<int>(next));
    if (block.userData())
        setCurrentBlockUserData(nullptr);
    for (const TCogSpan &span : Spans)
        setFormat(span.Start, span.Length, FormatOf(span.Class));
    // Colour the text carries itself (the checker's red line) shows over the word colours.
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it)
    {
        const QTextFragment fragment = it.fragment();
        if (fragment.charFormat().hasProperty(QTextFormat::ForegroundBrush))
            setFormat(fragment.position() - block.position(), fragment.length(),
                      fragment.charFormat());
    }
}

void TCogHighlighter::HighlightVisible()
{
    if (!IsEnabled() || InVisiblePass)
        return;
    const QTextBlock top = Editor->cursorForPosition(QPoint(0, 0)).block();
    const int lineHeight = std::max(1, Editor->fontMetrics().lineSpacing());
    const int shown = Editor->viewport()->height() / lineHeight + 2;
    ShownFirst = top.blockNumber();
    ShownLast = ShownFirst + shown;
    InVisiblePass = true;
    int count = 0;
    for (QTextBlock block = top; block.isValid() && count <= shown; block = block.next(), ++count)
        if (block.userData())
            rehighlightBlock(block);
    InVisiblePass = false;
}

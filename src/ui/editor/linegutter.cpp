#include "ui/editor/linegutter.h"

#include <functional>

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextBlock>

TLineGutter::TLineGutter(QPlainTextEdit *editor, std::function<void(int)> setMargin)
    : QWidget(editor), Editor(editor), SetMargin(std::move(setMargin))
{
    setObjectName("LineGutter");
    connect(editor, &QPlainTextEdit::blockCountChanged, this,
            [this](int lines) { FitLineCount(lines); });
    connect(editor, &QPlainTextEdit::updateRequest, this, [this](const QRect &rect, int dy) {
        if (dy)
            scroll(0, dy);
        else
            update(0, rect.y(), width(), rect.height());
    });
    connect(editor, &QPlainTextEdit::cursorPositionChanged, this, [this] { update(); });
    // The editor tells of a change of font; the text area tells of a change of size, once it
    // has its new size (the editor itself is told before it resizes the text area).
    editor->installEventFilter(this);
    TextArea = editor->viewport();
    TextArea->installEventFilter(this);
    FitLineCount(editor->blockCount());
}

int TLineGutter::GutterWidth() const
{
    return WidthFor(Editor->blockCount());
}

int TLineGutter::WidthFor(int lines) const
{
    int digits = 1;
    for (int count = std::max(1, lines); count >= 10; count /= 10)
        ++digits;
    digits = std::max(digits, 3);
    return 10 + Editor->fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits;
}

void TLineGutter::FitLineCount(int lines)
{
    const int width = WidthFor(lines);
    SetMargin(width);
    PlaceBesideText(width);
    update();
}

void TLineGutter::PlaceBesideText(int width)
{
    const QRect inner = Editor->contentsRect();
    setGeometry(inner.left(), inner.top(), width, Editor->viewport()->height());
}

bool TLineGutter::eventFilter(QObject *watched, QEvent *event)
{
    // Only pointers are compared: events come here while the editor is being destroyed too.
    if (event->type() == QEvent::FontChange && watched == Editor)
        FitLineCount(Editor->blockCount());
    else if (event->type() == QEvent::Resize && watched == TextArea)
        PlaceBesideText(width());
    return QWidget::eventFilter(watched, event);
}

void TLineGutter::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), QColor(238, 238, 238));
    painter.setPen(QColor(200, 200, 200));
    painter.drawLine(width() - 1, event->rect().top(), width() - 1, event->rect().bottom());
    painter.setFont(Editor->font());

    const int current = Editor->textCursor().blockNumber();
    const QAbstractTextDocumentLayout *layout = Editor->document()->documentLayout();
    QTextBlock block = Editor->cursorForPosition(QPoint(0, 0)).block();
    const int lineHeight = Editor->fontMetrics().height();
    while (block.isValid())
    {
        const int top = Editor->cursorRect(QTextCursor(block)).top();
        if (top > event->rect().bottom())
            break;
        const int height = static_cast<int>(layout->blockBoundingRect(block).height());
        if (block.isVisible() && top + height >= event->rect().top())
        {
            painter.setPen(block.blockNumber() == current ? QColor(0, 0, 0)
                                                          : QColor(120, 120, 120));
            painter.drawText(0, top, width() - 5, lineHeight, Qt::AlignRight,
                             QString::number(block.blockNumber() + 1));
        }
        block = block.next();
    }
}

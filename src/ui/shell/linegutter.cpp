#include "ui/shell/linegutter.h"

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
    connect(editor, &QPlainTextEdit::blockCountChanged, this, [this] { UpdateWidth(); });
    connect(editor, &QPlainTextEdit::updateRequest, this, [this](const QRect &rect, int dy) {
        if (dy)
            scroll(0, dy);
        else
            update(0, rect.y(), width(), rect.height());
    });
    connect(editor, &QPlainTextEdit::cursorPositionChanged, this, [this] { update(); });
    editor->installEventFilter(this);
    UpdateWidth();
}

int TLineGutter::GutterWidth() const
{
    int digits = 1;
    for (int count = std::max(1, Editor->blockCount()); count >= 10; count /= 10)
        ++digits;
    digits = std::max(digits, 3);
    return 10 + Editor->fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits;
}

void TLineGutter::UpdateWidth()
{
    SetMargin(GutterWidth());
    PlaceBesideText();
    update();
}

void TLineGutter::PlaceBesideText()
{
    const QRect inner = Editor->contentsRect();
    const int height = Editor->viewport()->height();
    setGeometry(inner.left(), inner.top(), GutterWidth(), height);
}

bool TLineGutter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Editor &&
        (event->type() == QEvent::Resize || event->type() == QEvent::FontChange))
    {
        if (event->type() == QEvent::FontChange)
            UpdateWidth();
        else
            PlaceBesideText();
    }
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

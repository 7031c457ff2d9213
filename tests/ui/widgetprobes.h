#pragma once

// Reads and moves on widgets that several UI tests share.

#include <QListWidget>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTextCursor>

// The texts of the list's items, in order.
inline QStringList Texts(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

// Puts text in edit and selects its characters from from to to, as a drag would.
inline void SetTextAndSelect(QPlainTextEdit *edit, const QString &text, int from, int to)
{
    edit->setPlainText(text);
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
}

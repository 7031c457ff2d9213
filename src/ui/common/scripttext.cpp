#include "ui/common/scripttext.h"

#include "core/shell/shellrules.h"

QString DecodeScript(std::string_view bytes)
{
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char byte : bytes)
        *out++ = QChar(CharFromScriptByte(static_cast<unsigned char>(byte)));
    return text;
}

std::string EncodeScript(const QString &text)
{
    std::string bytes(static_cast<size_t>(text.size()), '\0');
    char *out = bytes.data();
    for (const QChar c : text)
        *out++ = ScriptByteFromChar(c.unicode());
    return bytes;
}

std::string ScriptBytesOfEditorText(QString raw)
{
    raw.replace(QChar::ParagraphSeparator, QChar('\n'));
    raw.replace(QChar::LineSeparator, QChar('\n'));
    return EncodeScript(raw);
}

QString WithEditorLineBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar('\r'), QChar('\n'));
    text.replace(QChar::LineSeparator, QChar('\n'));
    text.replace(QChar::ParagraphSeparator, QChar('\n'));
    return text;
}

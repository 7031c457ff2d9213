#pragma once

// Script bytes as the windows show them. Scripts, the checker's messages (which quote script
// tokens) and archive member names are Windows-1252 bytes; every byte maps to one character
// and back, so text that is shown and written out again keeps its bytes.

#include <string>
#include <string_view>

#include <QString>

QString DecodeScript(std::string_view bytes);
// '?' stands for a character Windows-1252 cannot hold.
std::string EncodeScript(const QString &text);
// text with every line break (CR LF, CR, LF, U+2028, U+2029) made the editor's own, LF, so
// that each line of the file is one block of the editor and the reverse.
QString WithEditorLineBreaks(QString text);
// The script bytes of an editor's raw text (QTextDocument::toRawText), its paragraph and line
// separators ending lines with LF.
std::string ScriptBytesOfEditorText(QString raw);

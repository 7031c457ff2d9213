#pragma once

// Small rules of the frame and the script editor, kept apart from the windows so that plain
// tests reach them: how a chosen file is classified, the order of the child windows, and the
// conversion between a script file's bytes and the editor's text.

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

#include "core/shell/fileio.h"
#include "core/shell/textutils.h"

// The extension of path as the frame judges it: its first four characters, dot included,
// upper-cased. So "a.goob" counts as ".GOO" and "a.cogx" as ".COG".
inline std::string ExtensionKey(const std::string &path)
{
    std::string key = ExtractFileExt(path).substr(0, 4);
    for (char &c : key)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

enum class TOpenKind
{
    Script,
    Archive,
    Nothing
};

// What File > Open and the command-line load do with path.
inline TOpenKind OpenKindOf(const std::string &path)
{
    const std::string key = ExtensionKey(path);
    if (key == ".COG")
        return TOpenKind::Script;
    if (key == ".GOB" || key == ".GOO")
        return TOpenKind::Archive;
    return TOpenKind::Nothing;
}

// The child windows with the one focused most recently first, from a list in activation
// order (the most recent last, as the window system keeps it).
template <class T> std::vector<T> MostRecentFirst(std::vector<T> activationOrder)
{
    std::reverse(activationOrder.begin(), activationOrder.end());
    return activationOrder;
}

// A script file's bytes as the editor's text: every line end (CR LF, LF or a lone CR)
// becomes LF; all other bytes pass unchanged.
inline std::string TextFromFileBytes(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i)
    {
        const char c = bytes[i];
        if (c != '\r')
            text += c;
        else
        {
            text += '\n';
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        }
    }
    return text;
}

// The editor's text as a script file's bytes: each LF becomes CR LF. A text ending with a
// line end keeps it, so a file loaded and saved unchanged keeps its bytes.
inline std::string FileBytesFromText(std::string_view text)
{
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16);
    for (const char c : text)
    {
        if (c == '\n')
            bytes += '\r';
        bytes += c;
    }
    return bytes;
}

// Scripts are Windows-1252 text. Bytes 0x80 to 0x9F map to the characters Windows-1252 gives
// them; the five bytes it leaves undefined map to the C1 controls of the same value, as all
// other bytes map to the code point of the same value. So every byte maps to a character and
// back, and a file loaded and saved unchanged keeps its bytes.
inline constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

inline char16_t CharFromScriptByte(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? Cp1252High[byte - 0x80] : char16_t(byte);
}

// Script bytes (an archive member's name, say) as UTF-8, each byte the character
// CharFromScriptByte gives it: what a path made of them holds.
inline std::string Utf8FromScriptBytes(std::string_view bytes)
{
    std::string utf8;
    utf8.reserve(bytes.size());
    for (const char byte : bytes)
        AppendUtf8(utf8, CharFromScriptByte(static_cast<unsigned char>(byte)));
    return utf8;
}

// The byte of a character in a script file; '?' for a character Windows-1252 cannot hold.
inline char ScriptByteFromChar(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (int i = 0; i < 32; ++i)
        if (Cp1252High[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

// UTF-8 text (a file's name, say) as the script bytes an archive stores: false when text is
// no UTF-8 or holds a character Windows-1252 cannot, whose byte is then '?'.
inline bool ScriptBytesFromUtf8(std::string_view utf8, std::string &bytes)
{
    bytes.clear();
    bool exact = true;
    for (const char16_t unit : Utf16FromUtf8(utf8))
    {
        bytes += ScriptByteFromChar(unit);
        exact = exact && (bytes.back() != '?' || unit == u'?');
    }
    return exact;
}

// The position of the first character of text that a script file cannot hold (its byte would
// be '?'); npos when there is none.
inline size_t FirstUnwritableChar(std::u16string_view text)
{
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] != u'?' && ScriptByteFromChar(text[i]) == '?')
            return i;
    return std::u16string_view::npos;
}

// Whether path names the starter script, "default.cog" (any letter case) in cogDir: the file
// New opens under its own path.
inline bool IsStarterScript(const std::string &path, const std::string &cogDir)
{
    if (!SameNoCase(ExtractFileName(path), "default.cog"))
        return false;
    const std::string folder = ExtractFilePath(path);
    return folder == cogDir || SameFile(folder, cogDir);
}

// path with ".cog" (or another default extension) added when its name has no extension.
inline std::string WithDefaultExt(const std::string &path, const std::string &ext)
{
    return ExtractFileExt(path).empty() ? path + ext : path;
}

// Characters into tokens: blanks and comments, strings with their escapes, numbers and
// names. Every read checks the position against the size first: the scripts may come
// from a fuzzer.
#include "user_lexer.h"

#include <stdio.h>

static bool IsNameStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

static bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9'); }

static bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

static char Lower(char c) { return (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c; }

void Lin32LexerStart(Lin32Lexer &lexer, const char *name, const char *text, size_t size,
                     Lin32ScriptLookup lookup)
{
    lexer.sources.clear();
    lexer.macros.clear();
    lexer.conditions.clear();
    lexer.lookup = lookup;
    lexer.utf8 = false;
    lexer.failed = false;
    lexer.error.clear();
    lexer.peeked = false;
    lexer.fileNames.assign(1, name);
    lexer.lastFile = -1;
    lexer.lastLine = 0;
    Lin32ScriptSource source = {name, 0, text == nullptr ? "" : text, text == nullptr ? 0 : size,
                                0, 1, true, 0};
    lexer.sources.push_back(source);
}

static bool FailAt(Lin32Lexer &lexer, int file, int line, const std::string &what)
{
    if (!lexer.failed) {
        lexer.failed = true;
        lexer.error = file < 0 ? "end of script: " + what
                               : lexer.fileNames[(size_t)file] + ":" + std::to_string(line) +
                                     ": " + what;
    }
    return false;
}

bool Lin32LexerFail(Lin32Lexer &lexer, const std::string &what)
{
    if (lexer.sources.empty()) {
        return FailAt(lexer, -1, 0, what);
    }
    const Lin32ScriptSource &source = lexer.sources.back();
    return FailAt(lexer, source.nameIndex, source.line, what);
}

bool Lin32ParseFail(Lin32Lexer &lexer, const std::string &what)
{
    return FailAt(lexer, lexer.lastFile, lexer.lastLine, what);
}

static std::string DescribeChar(char c)
{
    unsigned char u = (unsigned char)c;
    char text[16];
    if (u >= 0x20 && u < 0x7f) {
        snprintf(text, sizeof text, "'%c'", c);
    } else {
        snprintf(text, sizeof text, "byte 0x%02X", u);
    }
    return text;
}

// A text byte string is valid UTF-8 of characters up to U+FFFF (the dialog texts are
// 16-bit in a compiled resource), with no overlong forms and no surrogates.
static bool IsValidUtf8(const std::string &text)
{
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = (unsigned char)text[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t extra = (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : 0;
        if (extra == 0 || text.size() - i <= extra) {
            return false;
        }
        uint32_t code = c & (extra == 1 ? 0x1F : 0x0F);
        for (size_t k = 1; k <= extra; ++k) {
            unsigned char next = (unsigned char)text[i + k];
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        if ((extra == 1 && code < 0x80) || (extra == 2 && code < 0x800) ||
            (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += 1 + extra;
    }
    return true;
}

// Skips blanks and comments. With inLine, a newline ends the skipping (and a block
// comment may not cross one); otherwise newlines are passed and mark a line start.
bool Lin32SkipSpace(Lin32Lexer &lexer, Lin32ScriptSource &source, bool inLine)
{
    while (source.pos < source.size) {
        char c = source.text[source.pos];
        char next = source.pos + 1 < source.size ? source.text[source.pos + 1] : '\0';
        if (IsBlank(c)) {
            ++source.pos;
        } else if (c == '\n') {
            if (inLine) {
                return true;
            }
            ++source.pos;
            ++source.line;
            source.lineStart = true;
        } else if (c == '/' && next == '/') {
            while (source.pos < source.size && source.text[source.pos] != '\n') {
                ++source.pos;
            }
        } else if (c == '/' && next == '*') {
            size_t pos = source.pos + 2;
            int lines = 0;
            while (pos + 1 < source.size &&
                   !(source.text[pos] == '*' && source.text[pos + 1] == '/')) {
                if (source.text[pos] == '\n') {
                    ++lines;
                }
                ++pos;
            }
            if (pos + 1 >= source.size) {
                return Lin32LexerFail(lexer, "comment without its end");
            }
            if (inLine && lines > 0) {
                return Lin32LexerFail(lexer, "comment in a directive runs past its line");
            }
            source.pos = pos + 2;
            source.line += lines;
        } else {
            return true;
        }
    }
    return true;
}

static bool ScanString(Lin32Lexer &lexer, Lin32ScriptSource &source, Lin32Token &token)
{
    token.kind = TOKEN_STRING;
    token.text.clear();
    ++source.pos;  // the opening quote
    while (true) {
        if (source.pos >= source.size || source.text[source.pos] == '\n') {
            return Lin32LexerFail(lexer, "string without its closing quote");
        }
        char c = source.text[source.pos++];
        if (c == '"') {
            // "" inside a string is one quote character.
            if (source.pos < source.size && source.text[source.pos] == '"') {
                token.text += '"';
                ++source.pos;
                continue;
            }
            break;
        }
        if (c == '\0') {
            return Lin32LexerFail(lexer, "NUL byte in a string");
        }
        if (c != '\\') {
            token.text += c;
            continue;
        }
        if (source.pos >= source.size) {
            return Lin32LexerFail(lexer, "string without its closing quote");
        }
        char escape = source.text[source.pos++];
        switch (escape) {
        case '\\': token.text += '\\'; break;
        case '"': token.text += '"'; break;
        case 'n': token.text += '\n'; break;
        case 't': token.text += '\t'; break;
        case 'r': token.text += '\r'; break;
        default:
            return Lin32LexerFail(lexer, "unsupported escape \\" + std::string(1, escape) +
                                             " in a string");
        }
    }
    if (lexer.utf8) {
        if (!IsValidUtf8(token.text)) {
            return Lin32LexerFail(lexer, "string is not valid UTF-8");
        }
    } else {
        for (char c : token.text) {
            if ((unsigned char)c >= 0x80) {
                return Lin32LexerFail(lexer,
                                      "text beyond ASCII without #pragma code_page(65001)");
            }
        }
    }
    return true;
}

static bool ScanNumber(Lin32Lexer &lexer, Lin32ScriptSource &source, Lin32Token &token)
{
    token.kind = TOKEN_NUMBER;
    uint64_t value = 0;
    bool hex = source.pos + 1 < source.size && source.text[source.pos] == '0' &&
               (source.text[source.pos + 1] == 'x' || source.text[source.pos + 1] == 'X');
    if (hex) {
        source.pos += 2;
    }
    int digits = 0;
    while (source.pos < source.size) {
        char c = Lower(source.text[source.pos]);
        int digit = (c >= '0' && c <= '9') ? c - '0' : (hex && c >= 'a' && c <= 'f') ? c - 'a' + 10 : -1;
        if (digit < 0) {
            break;
        }
        value = value * (hex ? 16 : 10) + (uint64_t)digit;
        if (value > 0xFFFFFFFFu) {
            return Lin32LexerFail(lexer, "number does not fit in 32 bits");
        }
        ++digits;
        ++source.pos;
    }
    while (source.pos < source.size && (Lower(source.text[source.pos]) == 'l' ||
                                         Lower(source.text[source.pos]) == 'u')) {
        ++source.pos;
    }
    if (digits == 0 || (source.pos < source.size && IsNameChar(source.text[source.pos]))) {
        return Lin32LexerFail(lexer, "malformed number");
    }
    token.number = (uint32_t)value;
    return true;
}

bool Lin32ScanToken(Lin32Lexer &lexer, Lin32ScriptSource &source, bool inLine,
                    Lin32Token &token)
{
    token = Lin32Token{TOKEN_END, std::string(), 0, '\0', -1, 0};
    if (!Lin32SkipSpace(lexer, source, inLine)) {
        return false;
    }
    token.file = source.nameIndex;
    token.line = source.line;
    if (source.pos >= source.size || source.text[source.pos] == '\n') {
        return true;
    }
    char c = source.text[source.pos];
    if (c == '"') {
        return ScanString(lexer, source, token);
    }
    if (c >= '0' && c <= '9') {
        return ScanNumber(lexer, source, token);
    }
    if (IsNameStart(c)) {
        token.kind = TOKEN_NAME;
        size_t start = source.pos;
        while (source.pos < source.size && IsNameChar(source.text[source.pos])) {
            ++source.pos;
        }
        token.text.assign(source.text + start, source.pos - start);
        return true;
    }
    static const char puncts[] = ",|()&+-~{}";
    for (const char *p = puncts; *p != '\0'; ++p) {
        if (c == *p) {
            token.kind = TOKEN_PUNCT;
            token.punct = c;
            ++source.pos;
            return true;
        }
    }
    return Lin32LexerFail(lexer, "unexpected " + DescribeChar(c));
}

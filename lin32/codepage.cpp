// The process's single-byte ANSI code page: CharUpperA, the conversion of file names
// between that code page and the UTF-8 of Linux, and of resource texts from UTF-16.
#include "codepage.h"
#include "codepage_tables.h"
#include "lin32_hooks.h"
#include "windows.h"

static const uint32_t undefinedInTable = 0xFFFD;

static const Lin32CodePageTable *FindTable(int codePage)
{
    for (const Lin32CodePageTable &table : lin32CodePageTables) {
        if (table.codePage == codePage) {
            return &table;
        }
    }
    return nullptr;
}

// Null until the locale is read. A constant start needs no initialisation order among
// the sources, so CharUpperA is right even when called from another file's initialiser.
static const Lin32CodePageTable *g_activeTable = nullptr;

static const Lin32CodePageTable *ActiveTable(void)
{
    Lin32StartLocale();
    return g_activeTable != nullptr ? g_activeTable : &lin32CodePageTables[0];
}

// Code pages without a table are refused: the active one stays.
void Lin32SetCodePage(int codePage)
{
    Lin32StartLocale();
    const Lin32CodePageTable *table = FindTable(codePage);
    if (table != nullptr) {
        g_activeTable = table;
    }
}

int Lin32GetCodePage(void) { return ActiveTable()->codePage; }

unsigned char Lin32UpperChar(unsigned char c)
{
    if (c >= 'a' && c <= 'z') {
        return (unsigned char)(c - 'a' + 'A');
    }
    if (c >= 0x80) {
        return ActiveTable()->upper[c - 0x80];
    }
    return c;
}

// A pointer below 0x10000 is not a string but one character in its low word.
LPSTR WINAPI CharUpperA(LPSTR text)
{
    if (IS_INTRESOURCE(text)) {
        unsigned char c = (unsigned char)((uintptr_t)text & 0xff);
        return (LPSTR)(uintptr_t)Lin32UpperChar(c);
    }
    for (char *p = text; *p != '\0'; ++p) {
        *p = (char)Lin32UpperChar((unsigned char)*p);
    }
    return text;
}

static void AppendUtf8(std::string &out, uint32_t code)
{
    if (code < 0x80) {
        out += (char)code;
    } else if (code < 0x800) {
        out += (char)(0xC0 | (code >> 6));
        out += (char)(0x80 | (code & 0x3F));
    } else {
        out += (char)(0xE0 | (code >> 12));
        out += (char)(0x80 | ((code >> 6) & 0x3F));
        out += (char)(0x80 | (code & 0x3F));
    }
}

// The character of a byte in the active code page. A byte the code page leaves
// undefined stands, as in Windows' tables, for the C1 control of the same number, so
// that every name of bytes comes back from the disk as it went there.
static uint32_t UnicodeOf(unsigned char c)
{
    if (c < 0x80) {
        return c;
    }
    uint32_t code = ActiveTable()->unicode[c - 0x80];
    return code == undefinedInTable ? c : code;
}

std::string Lin32AnsiToUtf8(const std::string &ansi)
{
    std::string utf8;
    utf8.reserve(ansi.size());
    for (char ch : ansi) {
        AppendUtf8(utf8, UnicodeOf((unsigned char)ch));
    }
    return utf8;
}

// The byte of a character in the active code page; -1 when it has none.
static int AnsiByte(uint32_t code)
{
    for (int c = 0; c < 256; ++c) {
        if (UnicodeOf((unsigned char)c) == code) {
            return c;
        }
    }
    return -1;
}

// Decodes one character at utf8[pos]; false on a malformed, overlong or surrogate
// sequence, or one beyond U+10FFFF.
static bool DecodeUtf8(const std::string &utf8, size_t &pos, uint32_t &code)
{
    unsigned char lead = (unsigned char)utf8[pos];
    // continuation bytes, the smallest code each length may carry, bits of the lead byte
    size_t extra = lead < 0x80 ? 0 : lead >= 0xC2 && lead <= 0xDF ? 1
                 : lead >= 0xE0 && lead <= 0xEF ? 2 : lead >= 0xF0 && lead <= 0xF4 ? 3 : 4;
    static const uint32_t minimum[] = {0, 0x80, 0x800, 0x10000};
    static const unsigned char leadBits[] = {0x7F, 0x1F, 0x0F, 0x07};
    if (extra == 4 || utf8.size() - pos <= extra) {
        return false;
    }
    code = lead & leadBits[extra];
    for (size_t k = 1; k <= extra; ++k) {
        unsigned char next = (unsigned char)utf8[pos + k];
        if ((next & 0xC0) != 0x80) {
            return false;
        }
        code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return false;
    }
    pos += extra + 1;
    return true;
}

bool Lin32Utf8ToAnsi(const std::string &utf8, std::string &ansi)
{
    ansi.clear();
    size_t pos = 0;
    while (pos < utf8.size()) {
        uint32_t code;
        if (!DecodeUtf8(utf8, pos, code)) {
            return false;
        }
        int byte = AnsiByte(code);
        if (byte < 0) {
            return false;
        }
        ansi += (char)byte;
    }
    return true;
}

std::string Lin32WideToAnsi(const std::u16string &wide)
{
    std::string ansi;
    for (char16_t unit : wide) {
        int byte = AnsiByte(unit);
        ansi += byte < 0 ? '?' : (char)byte;
    }
    return ansi;
}

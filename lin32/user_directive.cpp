// The preprocessor subset our scripts use: #include, #define of numbers, #ifdef,
// #ifndef, #else, #endif and #pragma code_page; and the token stream it leaves.
#include "user_lexer.h"

enum {
    MAX_INCLUDE_DEPTH = 16,
    MAX_FILES = 256,  // files read in all, so that includes cannot multiply without end
    MAX_CONDITION_DEPTH = 64,
    UTF8_CODE_PAGE = 65001
};

static bool IsActive(const Lin32Lexer &lexer)
{
    return lexer.conditions.empty() || lexer.conditions.back().active;
}

static void SkipRestOfLine(Lin32ScriptSource &source)
{
    while (source.pos < source.size && source.text[source.pos] != '\n') {
        ++source.pos;
    }
}

static bool ExpectLineEnd(Lin32Lexer &lexer, Lin32ScriptSource &source)
{
    Lin32Token token;
    if (!Lin32ScanToken(lexer, source, true, token)) {
        return false;
    }
    return token.kind == TOKEN_END || Lin32LexerFail(lexer, "unexpected text after directive");
}

static bool ReadDirectiveName(Lin32Lexer &lexer, Lin32ScriptSource &source, std::string &name)
{
    Lin32Token token;
    if (!Lin32ScanToken(lexer, source, true, token)) {
        return false;
    }
    if (token.kind != TOKEN_NAME) {
        return Lin32LexerFail(lexer, "directive needs a name");
    }
    name = token.text;
    return true;
}

static bool Include(Lin32Lexer &lexer, Lin32ScriptSource &source)
{
    if (!Lin32SkipSpace(lexer, source, true)) {
        return false;
    }
    if (source.pos < source.size && source.text[source.pos] == '<') {
        size_t start = ++source.pos;
        while (source.pos < source.size && source.text[source.pos] != '>' &&
               source.text[source.pos] != '\n') {
            ++source.pos;
        }
        if (source.pos >= source.size || source.text[source.pos] != '>') {
            return Lin32LexerFail(lexer, "#include <...> without its '>'");
        }
        std::string header(source.text + start, source.pos - start);
        ++source.pos;
        // The SDK's names are built in; no other system header is known.
        if (header != "windows.h") {
            return Lin32LexerFail(lexer, "unknown system header <" + header + ">");
        }
        return ExpectLineEnd(lexer, source);
    }
    Lin32Token token;
    if (!Lin32ScanToken(lexer, source, true, token)) {
        return false;
    }
    if (token.kind != TOKEN_STRING || token.text.empty()) {
        return Lin32LexerFail(lexer, "#include needs a file name");
    }
    if (!ExpectLineEnd(lexer, source)) {
        return false;
    }
    if (lexer.sources.size() >= MAX_INCLUDE_DEPTH) {
        return Lin32LexerFail(lexer, "#include nested too deeply");
    }
    if (lexer.fileNames.size() >= MAX_FILES) {
        return Lin32LexerFail(lexer, "too many included files");
    }
    // As the resource compiler: beside the including file first, then from the
    // master script's folder.
    std::string folder;
    size_t slash = source.name.find_last_of('/');
    if (slash != std::string::npos && lexer.sources.size() > 1) {
        folder = source.name.substr(0, slash + 1);
    }
    const char *text = nullptr;
    size_t size = 0;
    std::string found = folder + token.text;
    bool ok = lexer.lookup != nullptr && lexer.lookup(found.c_str(), &text, &size);
    if (!ok && !folder.empty()) {
        found = token.text;
        ok = lexer.lookup != nullptr && lexer.lookup(found.c_str(), &text, &size);
    }
    if (!ok) {
        return Lin32LexerFail(lexer, "cannot find included file \"" + token.text + "\"");
    }
    lexer.fileNames.push_back(found);
    Lin32ScriptSource included = {found, (int)lexer.fileNames.size() - 1,
                                  text == nullptr ? "" : text, text == nullptr ? 0 : size, 0, 1,
                                  true, lexer.conditions.size()};
    lexer.sources.push_back(included);  // source is no longer valid from here on
    return true;
}

static bool Define(Lin32Lexer &lexer, Lin32ScriptSource &source)
{
    std::string name;
    if (!ReadDirectiveName(lexer, source, name)) {
        return false;
    }
    if (source.pos < source.size && source.text[source.pos] == '(') {
        return Lin32LexerFail(lexer, "macros with parameters are not supported");
    }
    std::vector<Lin32Token> body;
    while (true) {
        Lin32Token token;
        if (!Lin32ScanToken(lexer, source, true, token)) {
            return false;
        }
        if (token.kind == TOKEN_END) {
            break;
        }
        body.push_back(token);
    }
    // A body that is no number (an include guard's empty one) defines the name only.
    Lin32Macro macro = {false, 0};
    if (!body.empty()) {
        Lin32TokenCursor cursor = {&lexer, &body, 0};
        Lin32Token end;
        if (!Lin32ParseExpression(cursor, macro.value) || !Lin32NextToken(cursor, end)) {
            return false;
        }
        if (end.kind != TOKEN_END) {
            return Lin32LexerFail(lexer, "#define " + name + " is not a number");
        }
        macro.hasValue = true;
    }
    lexer.macros[name] = macro;
    return true;
}

static bool Pragma(Lin32Lexer &lexer, Lin32ScriptSource &source)
{
    std::string name;
    if (!ReadDirectiveName(lexer, source, name)) {
        return false;
    }
    if (name != "code_page") {
        return Lin32LexerFail(lexer, "unsupported #pragma " + name);
    }
    Lin32Token open, number, close;
    if (!Lin32ScanToken(lexer, source, true, open) || !Lin32ScanToken(lexer, source, true, number) ||
        !Lin32ScanToken(lexer, source, true, close)) {
        return false;
    }
    if (!Lin32IsPunct(open, '(') || number.kind != TOKEN_NUMBER || !Lin32IsPunct(close, ')')) {
        return Lin32LexerFail(lexer, "#pragma code_page needs (number)");
    }
    // The scripts are UTF-8: any other code page would need its own tables here.
    if (number.number != UTF8_CODE_PAGE) {
        return Lin32LexerFail(lexer, "only #pragma code_page(65001) is supported");
    }
    lexer.utf8 = true;
    return ExpectLineEnd(lexer, source);
}

static bool Conditional(Lin32Lexer &lexer, Lin32ScriptSource &source, const std::string &what)
{
    if (what == "ifdef" || what == "ifndef") {
        if (lexer.conditions.size() >= MAX_CONDITION_DEPTH) {
            return Lin32LexerFail(lexer, "#ifdef nested too deeply");
        }
        bool outer = IsActive(lexer);
        bool active = false;
        if (outer) {
            std::string name;
            if (!ReadDirectiveName(lexer, source, name) || !ExpectLineEnd(lexer, source)) {
                return false;
            }
            bool defined = lexer.macros.count(name) > 0;
            active = (what == "ifdef") == defined;
        }
        lexer.conditions.push_back(Lin32Condition{active, false, outer});
        return true;
    }
    if (lexer.conditions.size() <= lexer.sources.back().conditionBase) {
        return Lin32LexerFail(lexer, "#" + what + " without #ifdef");
    }
    Lin32Condition &condition = lexer.conditions.back();
    if (what == "else") {
        if (condition.seenElse) {
            return Lin32LexerFail(lexer, "second #else");
        }
        condition.seenElse = true;
        condition.active = condition.outerActive && !condition.active;
    } else {
        lexer.conditions.pop_back();
    }
    return true;
}

static bool Directive(Lin32Lexer &lexer)
{
    Lin32ScriptSource &source = lexer.sources.back();
    ++source.pos;  // '#'
    std::string what;
    if (!ReadDirectiveName(lexer, source, what)) {
        return false;
    }
    bool conditional = what == "ifdef" || what == "ifndef" || what == "else" || what == "endif";
    if (!IsActive(lexer) && !conditional) {
        SkipRestOfLine(source);
        return true;
    }
    if (conditional) {
        bool ok = Conditional(lexer, source, what);
        SkipRestOfLine(source);  // text after #else or #endif is a comment by tradition
        return ok;
    }
    if (what == "include") {
        return Include(lexer, source);
    }
    if (what == "define") {
        return Define(lexer, source);
    }
    if (what == "pragma") {
        return Pragma(lexer, source);
    }
    return Lin32LexerFail(lexer, "unsupported directive #" + what);
}

bool Lin32LexToken(Lin32Lexer &lexer, Lin32Token &token)
{
    while (true) {
        if (lexer.sources.empty()) {
            token = Lin32Token{TOKEN_END, std::string(), 0, '\0', -1, 0};
            return true;
        }
        Lin32ScriptSource &source = lexer.sources.back();
        if (source.pos == 0 && source.size >= 3 && (unsigned char)source.text[0] == 0xEF &&
            (unsigned char)source.text[1] == 0xBB && (unsigned char)source.text[2] == 0xBF) {
            source.pos = 3;  // a UTF-8 byte order mark
        }
        if (!Lin32SkipSpace(lexer, source, false)) {
            return false;
        }
        if (source.pos >= source.size) {
            if (lexer.conditions.size() > source.conditionBase) {
                return Lin32LexerFail(lexer, "#ifdef without #endif");
            }
            lexer.sources.pop_back();
            continue;
        }
        if (source.lineStart && source.text[source.pos] == '#') {
            if (!Directive(lexer)) {
                return false;
            }
            continue;
        }
        source.lineStart = false;
        if (!IsActive(lexer)) {
            SkipRestOfLine(source);
            continue;
        }
        return Lin32ScanToken(lexer, source, false, token);
    }
}

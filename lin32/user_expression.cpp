// The token stream seen by the statement parser (with one token of look-ahead), and the
// numeric expressions of ids, coordinates and styles.
#include "user_lexer.h"

enum { MAX_EXPRESSION_DEPTH = 64 };

static char Lower(char c) { return (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c; }

static bool TakeToken(Lin32TokenCursor &cursor, Lin32Token &token)
{
    if (cursor.list != nullptr) {
        if (cursor.index < cursor.list->size()) {
            token = (*cursor.list)[cursor.index++];
        } else {
            token = Lin32Token{TOKEN_END, std::string(), 0, '\0', -1, 0};
        }
        return true;
    }
    Lin32Lexer &lexer = *cursor.lexer;
    if (lexer.failed) {
        return false;
    }
    if (lexer.peeked) {
        lexer.peeked = false;
        token = lexer.peekToken;
        return true;
    }
    return Lin32LexToken(lexer, token);
}

bool Lin32NextToken(Lin32TokenCursor &cursor, Lin32Token &token)
{
    if (!TakeToken(cursor, token)) {
        return false;
    }
    if (token.kind != TOKEN_END || cursor.list == nullptr) {
        cursor.lexer->lastFile = token.file;
        cursor.lexer->lastLine = token.line;
    }
    return true;
}

bool Lin32PeekToken(Lin32TokenCursor &cursor, Lin32Token &token)
{
    if (cursor.list != nullptr) {
        size_t index = cursor.index;
        bool ok = TakeToken(cursor, token);
        cursor.index = index;
        return ok;
    }
    Lin32Lexer &lexer = *cursor.lexer;
    if (!lexer.peeked) {
        if (!TakeToken(cursor, lexer.peekToken)) {
            return false;
        }
        lexer.peeked = true;
    }
    token = lexer.peekToken;
    return true;
}

bool Lin32IsPunct(const Lin32Token &token, char c)
{
    return token.kind == TOKEN_PUNCT && token.punct == c;
}

bool Lin32IsKeyword(const Lin32Token &token, const char *keyword)
{
    if (token.kind != TOKEN_NAME) {
        return false;
    }
    size_t i = 0;
    for (; keyword[i] != '\0'; ++i) {
        if (i >= token.text.size() || Lower(token.text[i]) != Lower(keyword[i])) {
            return false;
        }
    }
    return i == token.text.size();
}

bool Lin32ExpectPunct(Lin32TokenCursor &cursor, char c)
{
    Lin32Token token;
    if (!Lin32NextToken(cursor, token)) {
        return false;
    }
    return Lin32IsPunct(token, c) ||
           Lin32ParseFail(*cursor.lexer, std::string("expected '") + c + "'");
}

static bool ParseOperand(Lin32TokenCursor &cursor, int depth, uint32_t &value);

static bool ParseExpressionAt(Lin32TokenCursor &cursor, int depth, uint32_t &value)
{
    if (!ParseOperand(cursor, depth, value)) {
        return false;
    }
    while (true) {
        Lin32Token token;
        if (!Lin32PeekToken(cursor, token)) {
            return false;
        }
        if (token.kind != TOKEN_PUNCT ||
            (token.punct != '|' && token.punct != '&' && token.punct != '+' && token.punct != '-')) {
            return true;
        }
        Lin32NextToken(cursor, token);
        uint32_t right = 0;
        if (!ParseOperand(cursor, depth, right)) {
            return false;
        }
        switch (token.punct) {
        case '|': value |= right; break;
        case '&': value &= right; break;
        case '+': value += right; break;
        default: value -= right; break;
        }
    }
}

static bool ParseOperand(Lin32TokenCursor &cursor, int depth, uint32_t &value)
{
    Lin32Lexer &lexer = *cursor.lexer;
    if (depth >= MAX_EXPRESSION_DEPTH) {
        return Lin32ParseFail(lexer, "expression nested too deeply");
    }
    Lin32Token token;
    if (!Lin32NextToken(cursor, token)) {
        return false;
    }
    if (token.kind == TOKEN_NUMBER) {
        value = token.number;
        return true;
    }
    if (token.kind == TOKEN_NAME) {
        auto macro = lexer.macros.find(token.text);
        if (macro != lexer.macros.end()) {
            value = macro->second.value;
            return macro->second.hasValue ||
                   Lin32ParseFail(lexer, token.text + " is defined without a value");
        }
        return Lin32LookUpSdkName(token.text, value) ||
               Lin32ParseFail(lexer, "unknown name " + token.text);
    }
    if (Lin32IsPunct(token, '(')) {
        return ParseExpressionAt(cursor, depth + 1, value) && Lin32ExpectPunct(cursor, ')');
    }
    if (Lin32IsPunct(token, '-') || Lin32IsPunct(token, '~')) {
        if (!ParseOperand(cursor, depth + 1, value)) {
            return false;
        }
        value = token.punct == '-' ? 0u - value : ~value;
        return true;
    }
    return Lin32ParseFail(lexer, "expected a number");
}

bool Lin32ParseExpression(Lin32TokenCursor &cursor, uint32_t &value)
{
    return ParseExpressionAt(cursor, 0, value);
}

bool Lin32ParseStyle(Lin32TokenCursor &cursor, uint32_t base, uint32_t &value)
{
    value = base;
    while (true) {
        Lin32Token token;
        if (!Lin32PeekToken(cursor, token)) {
            return false;
        }
        bool remove = Lin32IsKeyword(token, "NOT");
        if (remove) {
            Lin32NextToken(cursor, token);
        }
        uint32_t operand = 0;
        if (!ParseOperand(cursor, 0, operand)) {
            return false;
        }
        value = remove ? (value & ~operand) : (value | operand);
        if (!Lin32PeekToken(cursor, token)) {
            return false;
        }
        if (!Lin32IsPunct(token, '|')) {
            return true;
        }
        Lin32NextToken(cursor, token);
    }
}

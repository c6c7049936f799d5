// Inside the resource-script parser: tokens (user_scan.cpp), the preprocessor subset our
// scripts use (user_directive.cpp: #include, #define of numbers, #ifdef, #ifndef, #else,
// #endif, #pragma code_page) and numeric expressions (user_expression.cpp).
#ifndef LIN32_USER_LEXER_H
#define LIN32_USER_LEXER_H

#include "lin32_dialog.h"

#include <map>
#include <stdint.h>
#include <string>
#include <vector>

enum Lin32TokenKind { TOKEN_END, TOKEN_NAME, TOKEN_NUMBER, TOKEN_STRING, TOKEN_PUNCT };

struct Lin32Token {
    Lin32TokenKind kind;
    std::string text;  // name, or string contents with the escapes resolved
    uint32_t number;
    char punct;
    int file;  // where the token stands: an index into the file names; -1 at the end
    int line;
};

struct Lin32ScriptSource {
    std::string name;
    int nameIndex;  // into the lexer's file names
    const char *text;
    size_t size;
    size_t pos;
    int line;
    bool lineStart;
    size_t conditionBase;  // open #ifdefs when the file was entered
};

struct Lin32Macro {
    bool hasValue;
    uint32_t value;
};

struct Lin32Condition {
    bool active;     // this branch is read
    bool seenElse;
    bool outerActive;
};

struct Lin32Lexer {
    std::vector<Lin32ScriptSource> sources;  // the include stack
    Lin32ScriptLookup lookup;
    std::map<std::string, Lin32Macro> macros;
    std::vector<Lin32Condition> conditions;
    bool utf8;  // #pragma code_page(65001) in force
    bool failed;
    std::string error;
    bool peeked;
    Lin32Token peekToken;
    std::vector<std::string> fileNames;  // every file read, for the places of tokens
    int lastFile;  // where the last token taken stands
    int lastLine;
};

// Tokens come either from the script or from a list (the body of a #define).
struct Lin32TokenCursor {
    Lin32Lexer *lexer;
    const std::vector<Lin32Token> *list;
    size_t index;
};

void Lin32LexerStart(Lin32Lexer &lexer, const char *name, const char *text, size_t size,
                     Lin32ScriptLookup lookup);

// Record the first failure, at the place the scanner has reached (LexerFail) or at the
// last token taken (ParseFail); both always return false.
bool Lin32LexerFail(Lin32Lexer &lexer, const std::string &what);
bool Lin32ParseFail(Lin32Lexer &lexer, const std::string &what);

// Scanning (user_scan.cpp). SkipSpace passes blanks and comments; with inLine it stops
// at a newline and a block comment may not cross one. ScanToken gives TOKEN_END at the
// end of the line (inLine) or of the file.
bool Lin32SkipSpace(Lin32Lexer &lexer, Lin32ScriptSource &source, bool inLine);
bool Lin32ScanToken(Lin32Lexer &lexer, Lin32ScriptSource &source, bool inLine,
                    Lin32Token &token);

// The next token of the script after the directives have had their say, across the
// included files (user_directive.cpp).
bool Lin32LexToken(Lin32Lexer &lexer, Lin32Token &token);

bool Lin32NextToken(Lin32TokenCursor &cursor, Lin32Token &token);
bool Lin32PeekToken(Lin32TokenCursor &cursor, Lin32Token &token);

bool Lin32IsPunct(const Lin32Token &token, char c);
bool Lin32IsKeyword(const Lin32Token &token, const char *keyword);  // any case

bool Lin32ExpectPunct(Lin32TokenCursor &cursor, char c);

// expression: operands joined by | & + -, operands numbers, names, ( ), unary - and ~.
bool Lin32ParseExpression(Lin32TokenCursor &cursor, uint32_t &value);

// style: operands joined by |, each added to base, or taken away from it after NOT.
bool Lin32ParseStyle(Lin32TokenCursor &cursor, uint32_t base, uint32_t &value);

// The SDK names the scripts use: styles, ids such as IDOK, LANG_* and SUBLANG_*.
bool Lin32LookUpSdkName(const std::string &name, uint32_t &value);

#endif

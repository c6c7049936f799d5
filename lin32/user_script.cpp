// The statements of a resource script that our scripts use: LANGUAGE, DIALOG and
// DIALOGEX with their CONTROL and ICON lines; ICON, VERSIONINFO and manifest resources
// are recognised and passed over. Anything else is refused with its place in the script.
#include "user_lexer.h"

enum {
    MAX_CONTROLS = 65535,  // a template counts its controls in 16 bits
    MANIFEST_TYPE = 24,
    DIALOG_ID_MAX = 65535
};

static const uint32_t controlBaseStyle = WS_CHILD | WS_VISIBLE;
static const uint32_t dialogDefaultStyle = WS_POPUP | WS_BORDER | WS_SYSMENU;
static const uint32_t iconControlStyle = SS_ICON | WS_CHILD | WS_VISIBLE;

static bool Fail(Lin32TokenCursor &cursor, const std::string &what)
{
    return Lin32ParseFail(*cursor.lexer, what);
}

static std::string Describe(const Lin32Token &token)
{
    switch (token.kind) {
    case TOKEN_END: return "end of script";
    case TOKEN_NAME: return token.text;
    case TOKEN_NUMBER: return std::to_string(token.number);
    case TOKEN_STRING: return "\"" + token.text + "\"";
    default: return std::string("'") + token.punct + "'";
    }
}

static bool IsBlockStart(const Lin32Token &token)
{
    return Lin32IsKeyword(token, "BEGIN") || Lin32IsPunct(token, '{');
}

static bool IsBlockEnd(const Lin32Token &token)
{
    return Lin32IsKeyword(token, "END") || Lin32IsPunct(token, '}');
}

// A coordinate or size: dialog templates hold them in 16 bits.
static bool ParseCoordinate(Lin32TokenCursor &cursor, int &value)
{
    uint32_t raw = 0;
    if (!Lin32ParseExpression(cursor, raw)) {
        return false;
    }
    int32_t signedValue = (int32_t)raw;
    if (signedValue < -32768 || signedValue > 32767) {
        return Fail(cursor, "coordinate out of range: " + std::to_string(signedValue));
    }
    value = signedValue;
    return true;
}

// x, y, width, height with their commas.
static bool ParseRectangle(Lin32TokenCursor &cursor, int *x, int *y, int *width, int *height)
{
    return ParseCoordinate(cursor, *x) && Lin32ExpectPunct(cursor, ',') &&
           ParseCoordinate(cursor, *y) && Lin32ExpectPunct(cursor, ',') &&
           ParseCoordinate(cursor, *width) && Lin32ExpectPunct(cursor, ',') &&
           ParseCoordinate(cursor, *height);
}

// ", value" when a comma follows; present tells whether it did.
static bool ParseOptional(Lin32TokenCursor &cursor, uint32_t &value, bool &present)
{
    Lin32Token token;
    present = false;
    if (!Lin32PeekToken(cursor, token)) {
        return false;
    }
    if (!Lin32IsPunct(token, ',')) {
        return true;
    }
    Lin32NextToken(cursor, token);
    present = true;
    return Lin32ParseExpression(cursor, value);
}

static bool ParseString(Lin32TokenCursor &cursor, std::string &text, const char *what)
{
    Lin32Token token;
    if (!Lin32NextToken(cursor, token)) {
        return false;
    }
    if (token.kind != TOKEN_STRING) {
        return Fail(cursor, std::string(what) + " needs a string, not " + Describe(token));
    }
    text = token.text;
    return true;
}

static bool ParseLanguage(Lin32TokenCursor &cursor, WORD &language)
{
    uint32_t primary = 0, sub = 0;
    if (!Lin32ParseExpression(cursor, primary) || !Lin32ExpectPunct(cursor, ',') ||
        !Lin32ParseExpression(cursor, sub)) {
        return false;
    }
    if (primary >= 0x400 || sub >= 0x40) {
        return Fail(cursor, "LANGUAGE out of range");
    }
    language = (WORD)((sub << 10) | primary);
    return true;
}

static bool SkipMemoryFlags(Lin32TokenCursor &cursor)
{
    static const char *const flags[] = {"MOVEABLE", "FIXED", "PURE", "IMPURE",
                                        "PRELOAD", "LOADONCALL", "DISCARDABLE"};
    while (true) {
        Lin32Token token;
        if (!Lin32PeekToken(cursor, token)) {
            return false;
        }
        bool flag = false;
        for (const char *name : flags) {
            flag = flag || Lin32IsKeyword(token, name);
        }
        if (!flag) {
            return true;
        }
        Lin32NextToken(cursor, token);
    }
}

// The text of a control: a string, or a resource number (an icon's id).
static bool ParseControlText(Lin32TokenCursor &cursor, Lin32ControlTemplate &control)
{
    Lin32Token token;
    if (!Lin32PeekToken(cursor, token)) {
        return false;
    }
    if (token.kind == TOKEN_STRING) {
        Lin32NextToken(cursor, token);
        control.text = token.text;
        return true;
    }
    uint32_t value = 0;
    if (!Lin32ParseExpression(cursor, value)) {
        return false;
    }
    control.iconId = (int)(value & 0xFFFF);
    return true;
}

// CONTROL text, id, class, style, x, y, width, height [, exstyle [, help id]]
static bool ParseControl(Lin32TokenCursor &cursor, bool extended, Lin32ControlTemplate &control)
{
    uint32_t id = 0;
    if (!ParseControlText(cursor, control) || !Lin32ExpectPunct(cursor, ',') ||
        !Lin32ParseExpression(cursor, id) || !Lin32ExpectPunct(cursor, ',')) {
        return false;
    }
    control.id = (int)(int32_t)id;
    Lin32Token token;
    if (!Lin32NextToken(cursor, token)) {
        return false;
    }
    static const char *const classKeywords[] = {"BUTTON", "EDIT", "STATIC", "LISTBOX",
                                                "COMBOBOX", "SCROLLBAR"};
    bool keyword = false;
    for (const char *name : classKeywords) {
        keyword = keyword || Lin32IsKeyword(token, name);
    }
    if (token.kind != TOKEN_STRING && !keyword) {
        return Fail(cursor, "CONTROL needs a class name, not " + Describe(token));
    }
    control.className = token.text;
    uint32_t style = 0, exStyle = 0, helpId = 0;
    if (!Lin32ExpectPunct(cursor, ',') || !Lin32ParseStyle(cursor, controlBaseStyle, style) ||
        !Lin32ExpectPunct(cursor, ',') ||
        !ParseRectangle(cursor, &control.x, &control.y, &control.width, &control.height)) {
        return false;
    }
    control.style = style;
    bool present = false;
    if (!ParseOptional(cursor, exStyle, present)) {
        return false;
    }
    control.exStyle = exStyle;
    return !(present && extended) || ParseOptional(cursor, helpId, present);
}

// ICON text, id, x, y [, width, height [, style [, exstyle]]]
static bool ParseIconControl(Lin32TokenCursor &cursor, Lin32ControlTemplate &control)
{
    uint32_t id = 0;
    if (!ParseControlText(cursor, control) || !Lin32ExpectPunct(cursor, ',') ||
        !Lin32ParseExpression(cursor, id) || !Lin32ExpectPunct(cursor, ',') ||
        !ParseCoordinate(cursor, control.x) || !Lin32ExpectPunct(cursor, ',') ||
        !ParseCoordinate(cursor, control.y)) {
        return false;
    }
    control.id = (int)(int32_t)id;
    control.className = "Static";
    control.style = iconControlStyle;
    Lin32Token token;
    if (!Lin32PeekToken(cursor, token)) {
        return false;
    }
    if (!Lin32IsPunct(token, ',')) {
        return true;
    }
    Lin32NextToken(cursor, token);
    if (!ParseCoordinate(cursor, control.width) || !Lin32ExpectPunct(cursor, ',') ||
        !ParseCoordinate(cursor, control.height) || !Lin32PeekToken(cursor, token)) {
        return false;
    }
    if (!Lin32IsPunct(token, ',')) {
        return true;
    }
    Lin32NextToken(cursor, token);
    uint32_t style = 0, exStyle = 0;
    bool present = false;
    if (!Lin32ParseStyle(cursor, iconControlStyle, style) ||
        !ParseOptional(cursor, exStyle, present)) {
        return false;
    }
    control.style = style;
    control.exStyle = exStyle;
    return true;
}

static bool ParseControls(Lin32TokenCursor &cursor, Lin32DialogTemplate &dialog)
{
    while (true) {
        Lin32Token token;
        if (!Lin32NextToken(cursor, token)) {
            return false;
        }
        if (IsBlockEnd(token)) {
            return true;
        }
        if (token.kind == TOKEN_END) {
            return Fail(cursor, "dialog without its END");
        }
        Lin32ControlTemplate control = {std::string(), std::string(), -1, 0, 0, 0, 0, 0, 0, 0};
        bool ok = false;
        if (Lin32IsKeyword(token, "CONTROL")) {
            ok = ParseControl(cursor, dialog.extended, control);
        } else if (Lin32IsKeyword(token, "ICON")) {
            ok = ParseIconControl(cursor, control);
        } else {
            return Fail(cursor, "unsupported dialog item " + Describe(token));
        }
        if (!ok) {
            return false;
        }
        if (dialog.controls.size() >= MAX_CONTROLS) {
            return Fail(cursor, "too many controls");
        }
        dialog.controls.push_back(control);
    }
}

// The statements between the size and BEGIN: STYLE, EXSTYLE, CAPTION, FONT, LANGUAGE.
static bool ParseDialogOptions(Lin32TokenCursor &cursor, Lin32DialogTemplate &dialog)
{
    bool styleGiven = false, captionGiven = false, fontGiven = false;
    uint32_t style = 0;
    while (true) {
        Lin32Token token;
        if (!Lin32NextToken(cursor, token)) {
            return false;
        }
        bool ok = true;
        uint32_t value = 0;
        bool present = false;
        if (IsBlockStart(token)) {
            break;
        } else if (token.kind == TOKEN_END) {
            return Fail(cursor, "dialog without its BEGIN");
        } else if (Lin32IsKeyword(token, "STYLE")) {
            ok = Lin32ParseStyle(cursor, 0, style);
            styleGiven = true;
        } else if (Lin32IsKeyword(token, "EXSTYLE")) {
            ok = Lin32ParseExpression(cursor, value);
            dialog.exStyle = value;
        } else if (Lin32IsKeyword(token, "CAPTION")) {
            ok = ParseString(cursor, dialog.caption, "CAPTION");
            captionGiven = true;
        } else if (Lin32IsKeyword(token, "FONT")) {
            ok = Lin32ParseExpression(cursor, value) && Lin32ExpectPunct(cursor, ',') &&
                 ParseString(cursor, dialog.fontFace, "FONT");
            dialog.fontSize = (int)value;
            // DIALOGEX fonts may add weight, italic and character set.
            for (int extra = 0; ok && extra < 3; ++extra) {
                ok = ParseOptional(cursor, value, present);
                if (!present) {
                    break;
                }
            }
            fontGiven = true;
        } else if (Lin32IsKeyword(token, "LANGUAGE")) {
            ok = ParseLanguage(cursor, dialog.language);
        } else if (Lin32IsKeyword(token, "CHARACTERISTICS") || Lin32IsKeyword(token, "VERSION")) {
            ok = Lin32ParseExpression(cursor, value);
        } else {
            return Fail(cursor, "unsupported dialog statement " + Describe(token));
        }
        if (!ok) {
            return false;
        }
    }
    dialog.style = styleGiven ? style : dialogDefaultStyle;
    if (captionGiven) {
        dialog.style |= WS_CAPTION;
    }
    if (fontGiven) {
        dialog.style |= DS_SETFONT;
    }
    return true;
}

static bool ParseDialog(Lin32TokenCursor &cursor, uint32_t id, bool extended, WORD language,
                        Lin32ResourceScript &script)
{
    if (id == 0 || id > DIALOG_ID_MAX) {
        return Fail(cursor, "dialog id out of range");
    }
    Lin32DialogTemplate dialog;
    dialog.id = (int)id;
    dialog.language = language;
    dialog.extended = extended;
    dialog.style = 0;
    dialog.exStyle = 0;
    dialog.fontSize = 0;
    uint32_t helpId = 0;
    bool present = false;
    if (!SkipMemoryFlags(cursor) ||
        !ParseRectangle(cursor, &dialog.x, &dialog.y, &dialog.width, &dialog.height) ||
        (extended && !ParseOptional(cursor, helpId, present)) ||
        !ParseDialogOptions(cursor, dialog) || !ParseControls(cursor, dialog)) {
        return false;
    }
    for (const Lin32DialogTemplate &other : script.dialogs) {
        if (other.id == dialog.id && other.language == dialog.language) {
            return Fail(cursor, "dialog " + std::to_string(id) + " defined twice for language " +
                                    std::to_string(dialog.language));
        }
    }
    script.dialogs.push_back(dialog);
    return true;
}

// VERSIONINFO: fixed statements up to BEGIN, then nested BLOCK and VALUE lines.
static bool SkipVersionInfo(Lin32TokenCursor &cursor)
{
    int depth = 0;
    while (true) {
        Lin32Token token;
        if (!Lin32NextToken(cursor, token)) {
            return false;
        }
        if (token.kind == TOKEN_END) {
            return Fail(cursor, "VERSIONINFO without its END");
        }
        if (IsBlockStart(token)) {
            ++depth;
        } else if (IsBlockEnd(token)) {
            if (depth == 0) {
                return Fail(cursor, "END without BEGIN in VERSIONINFO");
            }
            if (--depth == 0) {
                return true;
            }
        }
    }
}

// A resource: its name (a number, or a name that is not #defined), type and data.
static bool ParseResource(Lin32TokenCursor &cursor, const Lin32Token &first, WORD language,
                          Lin32ResourceScript &script)
{
    uint32_t id = 0;
    bool numbered = true;
    if (first.kind == TOKEN_NUMBER) {
        id = first.number;
    } else if (first.kind == TOKEN_NAME) {
        auto macro = cursor.lexer->macros.find(first.text);
        numbered = macro != cursor.lexer->macros.end() && macro->second.hasValue;
        id = numbered ? macro->second.value : 0;
    } else {
        return Fail(cursor, "unexpected " + Describe(first));
    }
    Lin32Token type;
    if (!Lin32NextToken(cursor, type)) {
        return false;
    }
    if (Lin32IsKeyword(type, "DIALOG") || Lin32IsKeyword(type, "DIALOGEX")) {
        if (!numbered) {
            return Fail(cursor, "dialog " + first.text + " needs a number");
        }
        return ParseDialog(cursor, id, Lin32IsKeyword(type, "DIALOGEX"), language, script);
    }
    std::string file;
    if (Lin32IsKeyword(type, "ICON")) {
        if (!SkipMemoryFlags(cursor) || !ParseString(cursor, file, "ICON")) {
            return false;
        }
        if (numbered) {
            script.iconIds.push_back((int)(id & 0xFFFF));
        }
        return true;
    }
    if (Lin32IsKeyword(type, "VERSIONINFO")) {
        return SkipVersionInfo(cursor);
    }
    if ((type.kind == TOKEN_NUMBER && type.number == MANIFEST_TYPE) ||
        Lin32IsKeyword(type, "RT_MANIFEST")) {
        return SkipMemoryFlags(cursor) && ParseString(cursor, file, "manifest");
    }
    return Fail(cursor, "unsupported resource type " + Describe(type));
}

bool Lin32ParseResourceScript(const char *name, const char *text, size_t size,
                              Lin32ScriptLookup lookup, Lin32ResourceScript &script,
                              std::string &error)
{
    Lin32Lexer lexer;
    Lin32LexerStart(lexer, name == nullptr ? "script" : name, text, size, lookup);
    Lin32TokenCursor cursor = {&lexer, nullptr, 0};
    script.dialogs.clear();
    script.iconIds.clear();
    WORD language = 0;  // neutral until a LANGUAGE statement
    bool ok = true;
    while (ok) {
        Lin32Token token;
        ok = Lin32NextToken(cursor, token);
        if (!ok || token.kind == TOKEN_END) {
            break;
        }
        if (Lin32IsKeyword(token, "LANGUAGE")) {
            ok = ParseLanguage(cursor, language);
        } else {
            ok = ParseResource(cursor, token, language, script);
        }
    }
    error = ok ? std::string() : lexer.error;
    return ok;
}

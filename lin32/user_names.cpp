// The SDK names that resource scripts may use. Style and id values come from the layer's
// windows.h so that the script and the code cannot disagree; the language names are the
// SDK's values for the six dialog languages.
#include "user_lexer.h"

#include "windows.h"

struct SdkName {
    const char *name;
    uint32_t value;
};

#define SDK(x) {#x, (uint32_t)(x)}

static const SdkName sdkNames[] = {
    SDK(WS_OVERLAPPED), SDK(WS_POPUP), SDK(WS_CHILD), SDK(WS_MINIMIZE), SDK(WS_VISIBLE),
    SDK(WS_DISABLED), SDK(WS_CLIPSIBLINGS), SDK(WS_CLIPCHILDREN), SDK(WS_MAXIMIZE),
    SDK(WS_CAPTION), SDK(WS_BORDER), SDK(WS_DLGFRAME), SDK(WS_VSCROLL), SDK(WS_HSCROLL),
    SDK(WS_SYSMENU), SDK(WS_THICKFRAME), SDK(WS_GROUP), SDK(WS_TABSTOP),
    SDK(WS_MINIMIZEBOX), SDK(WS_MAXIMIZEBOX),
    SDK(DS_SETFONT), SDK(DS_MODALFRAME), SDK(DS_CENTER), SDK(DS_3DLOOK),
    SDK(ES_LEFT), SDK(ES_CENTER), SDK(ES_AUTOHSCROLL), SDK(ES_READONLY),
    SDK(BS_PUSHBUTTON), SDK(BS_DEFPUSHBUTTON), SDK(BS_CHECKBOX), SDK(BS_AUTOCHECKBOX),
    SDK(BS_RADIOBUTTON), SDK(BS_AUTORADIOBUTTON), SDK(BS_GROUPBOX),
    SDK(SS_LEFT), SDK(SS_CENTER), SDK(SS_RIGHT), SDK(SS_ICON),
    SDK(LBS_NOTIFY), SDK(LBS_SORT), SDK(LBS_MULTIPLESEL), SDK(LBS_USETABSTOPS),
    SDK(LBS_NOINTEGRALHEIGHT), SDK(LBS_EXTENDEDSEL), SDK(LBS_DISABLENOSCROLL),
    SDK(CBS_DROPDOWNLIST), SDK(CBS_SORT),
    SDK(IDOK), SDK(IDCANCEL), SDK(IDABORT), SDK(IDRETRY), SDK(IDIGNORE), SDK(IDYES),
    SDK(IDNO),
    {"LANG_NEUTRAL", 0x00}, {"LANG_GERMAN", 0x07}, {"LANG_ENGLISH", 0x09},
    {"LANG_FINNISH", 0x0b}, {"LANG_FRENCH", 0x0c}, {"LANG_POLISH", 0x15},
    {"LANG_RUSSIAN", 0x19},
    {"SUBLANG_NEUTRAL", 0x00}, {"SUBLANG_DEFAULT", 0x01}, {"SUBLANG_SYS_DEFAULT", 0x02},
    {"SUBLANG_GERMAN", 0x01}, {"SUBLANG_ENGLISH_US", 0x01}, {"SUBLANG_ENGLISH_UK", 0x02},
    {"SUBLANG_FINNISH_FINLAND", 0x01}, {"SUBLANG_FRENCH", 0x01},
    {"SUBLANG_POLISH_POLAND", 0x01}, {"SUBLANG_RUSSIAN_RUSSIA", 0x01},
    {"RT_MANIFEST", 24},
};

bool Lin32LookUpSdkName(const std::string &name, uint32_t &value)
{
    for (const SdkName &entry : sdkNames) {
        if (name == entry.name) {
            value = entry.value;
            return true;
        }
    }
    return false;
}

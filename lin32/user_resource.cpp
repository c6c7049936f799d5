// The compiled resource (.res) that windres makes from resources/chartxfer.rc, read as the
// exe's resource loader sees it: entry headers, the dialog templates (DLGTEMPLATE and
// DLGTEMPLATEEX) and the group icons. Every read is checked against the buffer, so a
// cut or damaged resource is refused with the byte where it goes wrong.
#include "lin32_dialog.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>

namespace {

enum {
    TYPE_ICON = 3,
    TYPE_DIALOG = 5,
    TYPE_GROUP_ICON = 14,
    ORDINAL_MARK = 0xFFFF,         // a resource number follows instead of a name
    EXTENDED_SIGNATURE = 0xFFFF,   // DLGTEMPLATEEX: version 1, then this
    FIRST_CONTROL_CLASS = 0x0080,  // Button, Edit, Static, ListBox, ScrollBar, ComboBox
    GROUP_ENTRY_SIZE = 14          // GRPICONDIRENTRY; its last WORD is the image's id
};

// A reader of little-endian values over data[pos, end). A read past end fails the
// cursor; every later read gives 0, so a caller checks ok once at the end.
struct Cursor {
    const unsigned char *data;
    size_t pos;
    size_t end;
    bool ok;

    bool Take(size_t count)
    {
        if (!ok || end - pos < count) {
            ok = false;
            return false;
        }
        pos += count;
        return true;
    }
    WORD Word() { return Take(2) ? (WORD)(data[pos - 2] | data[pos - 1] << 8) : 0; }
    DWORD Dword()
    {
        DWORD low = Word();
        return low | (DWORD)Word() << 16;
    }
    int Short() { return (int16_t)Word(); }
    // Pads to a DWORD boundary counted from base.
    void Align(size_t base) { Take((4 - (pos - base) % 4) % 4); }
    // A NUL-terminated UTF-16 string whose first unit has been read already.
    std::u16string Rest(WORD first)
    {
        std::u16string text;
        for (WORD unit = first; ok && unit != 0; unit = Word()) {
            text += (char16_t)unit;
        }
        return text;
    }
    std::u16string String() { return Rest(Word()); }
    // A name or a number: 0xFFFF and the number, else a string (empty when it is only the
    // NUL, which is how a template says "none"). Gives the number, or -1 with the name.
    int NameOrNumber(std::u16string &name)
    {
        WORD first = Word();
        if (first == ORDINAL_MARK) {
            return Word();
        }
        name = Rest(first);
        return -1;
    }
};

bool Refuse(std::string &error, const char *format, ...)
{
    char text[160];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    error = text;
    return false;
}

// The predefined classes by their numbers; a class name as the template spells it,
// letters outside ASCII as '?' (no window class has them).
std::string ClassName(int number, const std::u16string &name)
{
    static const char *const predefined[] = {"Button",  "Edit",      "Static",
                                             "ListBox", "ScrollBar", "ComboBox"};
    if (number >= FIRST_CONTROL_CLASS && number < FIRST_CONTROL_CLASS + 6) {
        return predefined[number - FIRST_CONTROL_CLASS];
    }
    if (number >= 0) {
        return "#" + std::to_string(number);
    }
    std::string ascii;
    for (char16_t unit : name) {
        ascii += unit < 0x80 ? (char)unit : '?';
    }
    return ascii;
}

// DLGITEMTEMPLATE(EX): each starts on a DWORD boundary of the template.
void ReadControl(Cursor &in, size_t templateStart, bool extended, Lin32ControlTemplate &control)
{
    in.Align(templateStart);
    if (extended) {
        in.Dword();  // help id
        control.exStyle = in.Dword();
        control.style = in.Dword();
    } else {
        control.style = in.Dword();
        control.exStyle = in.Dword();
    }
    control.x = in.Short();
    control.y = in.Short();
    control.width = in.Short();
    control.height = in.Short();
    control.id = extended ? (int)in.Dword() : in.Word();
    std::u16string className;
    int classNumber = in.NameOrNumber(className);
    control.className = ClassName(classNumber, className);
    control.iconId = in.NameOrNumber(control.text);  // a number: the icon's resource id
    in.Take(in.Word());                               // creation data
}

bool ReadDialog(Cursor in, Lin32DialogTemplate &dialog)
{
    size_t start = in.pos;
    Cursor peek = in;
    dialog.extended = peek.Word() == 1 && peek.Word() == EXTENDED_SIGNATURE;
    if (dialog.extended) {
        in.Dword();  // version and signature
        in.Dword();  // help id
        dialog.exStyle = in.Dword();
        dialog.style = in.Dword();
    } else {
        dialog.style = in.Dword();
        dialog.exStyle = in.Dword();
    }
    int count = in.Word();
    dialog.x = in.Short();
    dialog.y = in.Short();
    dialog.width = in.Short();
    dialog.height = in.Short();
    std::u16string unused;
    in.NameOrNumber(unused);  // menu
    in.NameOrNumber(unused);  // window class (the model knows only the dialog class)
    dialog.caption = in.String();
    dialog.fontSize = 0;
    if (dialog.style & DS_SETFONT) {
        dialog.fontSize = in.Word();
        if (dialog.extended) {
            in.Dword();  // weight, italic, character set
        }
        dialog.fontFace = in.String();
    }
    for (int i = 0; i < count && in.ok; ++i) {
        Lin32ControlTemplate control;
        ReadControl(in, start, dialog.extended, control);
        dialog.controls.push_back(std::move(control));
    }
    return in.ok;
}

// GRPICONDIR: reserved, type, count, then an entry per image.
bool ReadGroupIcon(Cursor in, std::vector<int> &images)
{
    in.Dword();  // reserved, type
    int count = in.Word();
    for (int i = 0; i < count && in.ok; ++i) {
        in.Take(GROUP_ENTRY_SIZE - 2);
        images.push_back(in.Word());
    }
    return in.ok;
}

}  // namespace

bool Lin32ReadResource(const void *bytes, size_t size, Lin32Resource &resource,
                       std::string &error)
{
    // Every .res starts with an empty entry: no data, a 32-byte header, type and name 0.
    static const unsigned char emptyEntry[16] = {0, 0, 0, 0, 32, 0, 0, 0,
                                                 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0};
    const unsigned char *data = (const unsigned char *)bytes;
    resource = Lin32Resource();
    error.clear();
    if (data == nullptr || size < 32 || memcmp(data, emptyEntry, sizeof emptyEntry) != 0) {
        return Refuse(error, "not a compiled resource: it does not begin with the empty "
                             "32-byte entry");
    }
    std::vector<std::pair<int, std::vector<int>>> groups;  // group icon, its images
    std::vector<int> images;
    size_t pos = 0;
    while (pos < size) {
        // RESOURCEHEADER: DataSize, HeaderSize, TYPE, NAME, DWORD padding, DataVersion,
        // MemoryFlags, LanguageId, Version, Characteristics.
        Cursor header = {data, pos, size, true};
        DWORD dataSize = header.Dword();
        DWORD headerSize = header.Dword();
        if (!header.ok || headerSize < 8 || headerSize > size - pos ||
            dataSize > size - pos - headerSize) {
            return Refuse(error, "the entry at byte %zu is cut short", pos);
        }
        header.end = pos + headerSize;
        std::u16string typeName, name;
        int type = header.NameOrNumber(typeName);
        int id = header.NameOrNumber(name);
        header.Align(pos);
        header.Dword();  // data version
        header.Word();   // memory flags
        WORD language = header.Word();
        header.Dword();  // version
        header.Dword();  // characteristics
        if (!header.ok) {
            return Refuse(error, "the entry at byte %zu has a malformed header", pos);
        }
        Cursor content = {data, pos + headerSize, pos + headerSize + dataSize, true};
        if (type == TYPE_DIALOG && id >= 0) {
            Lin32DialogTemplate dialog;
            dialog.id = id;
            dialog.language = language;
            const char *fault = ReadDialog(content, dialog) ? nullptr : "is cut short or malformed";
            for (const Lin32DialogTemplate &other : resource.dialogs) {
                fault = other.id == id && other.language == language ? "is there twice" : fault;
            }
            if (fault != nullptr) {
                return Refuse(error, "dialog %d (language 0x%04X) at byte %zu %s", id,
                              (unsigned)language, pos, fault);
            }
            resource.dialogs.push_back(std::move(dialog));
        } else if (type == TYPE_GROUP_ICON && id >= 0) {
            groups.push_back({id, {}});
            if (!ReadGroupIcon(content, groups.back().second)) {
                return Refuse(error, "group icon %d (language 0x%04X) at byte %zu is cut short",
                              id, (unsigned)language, pos);
            }
        } else if (type == TYPE_ICON && id >= 0) {
            images.push_back(id);
        }
        // The next entry starts on a DWORD boundary; the last may end without padding.
        pos = std::min(size, content.end + (4 - content.end % 4) % 4);
    }
    // An icon the program can load: a group whose images are all there.
    for (const auto &group : groups) {
        if (std::all_of(group.second.begin(), group.second.end(), [&](int image) {
                return std::find(images.begin(), images.end(), image) != images.end();
            })) {
            resource.iconIds.push_back(group.first);
        }
    }
    return true;
}

// What the dialog's controls show, read back through the same Win32 calls on both
// platforms: the layer's dialog model on Linux, the real controls on Windows.
#include "support/dialog_driver.h"
#include "support/driver_internal.h"

#include <gtest/gtest.h>

namespace driver {

std::vector<std::string> ListLines(HWND dialog, int listId)
{
    std::vector<std::string> lines;
    HWND list = Control(dialog, listId, "ListBox", "ListLines");
    if (list == nullptr) {
        return lines;
    }
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageA(list, LB_GETTEXTLEN, (WPARAM)i, 0);
        if (length < 0) {
            ADD_FAILURE() << "ListLines: list " << listId << " has no text for line " << i;
            break;
        }
        std::string line((size_t)length + 1, '\0');
        LRESULT copied = SendMessageA(list, LB_GETTEXT, (WPARAM)i, (LPARAM)&line[0]);
        line.resize(copied > 0 ? (size_t)copied : 0);
        lines.push_back(line);
    }
    return lines;
}

std::string ChartName(const std::string &line)
{
    std::string name = line.substr(0, 8);
    name.erase(name.find_last_not_of(' ') + 1);
    return name;
}

std::vector<std::string> ListNames(HWND dialog, int listId)
{
    std::vector<std::string> names;
    for (const std::string &line : ListLines(dialog, listId)) {
        names.push_back(ChartName(line));
    }
    return names;
}

// LB_GETSEL serves both kinds of list: a single-selection list answers it for its one
// selected line.
std::vector<int> SelectedLines(HWND dialog, int listId)
{
    std::vector<int> selected;
    HWND list = Control(dialog, listId, "ListBox", "SelectedLines");
    if (list == nullptr) {
        return selected;
    }
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (SendMessageA(list, LB_GETSEL, (WPARAM)i, 0) > 0) {
            selected.push_back((int)i);
        }
    }
    return selected;
}

std::vector<std::string> ComboItems(HWND dialog, int comboId)
{
    std::vector<std::string> items;
    HWND combo = Control(dialog, comboId, "ComboBox", "ComboItems");
    if (combo == nullptr) {
        return items;
    }
    LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, (WPARAM)i, 0);
        if (length < 0) {
            ADD_FAILURE() << "ComboItems: combo " << comboId << " has no text for entry " << i;
            break;
        }
        std::string item((size_t)length + 1, '\0');
        LRESULT copied = SendMessageA(combo, CB_GETLBTEXT, (WPARAM)i, (LPARAM)&item[0]);
        item.resize(copied > 0 ? (size_t)copied : 0);
        items.push_back(item);
    }
    return items;
}

int ComboSelection(HWND dialog, int comboId)
{
    HWND combo = Control(dialog, comboId, "ComboBox", "ComboSelection");
    return combo == nullptr ? -1 : (int)SendMessageA(combo, CB_GETCURSEL, 0, 0);
}

std::string ItemText(HWND dialog, int id)
{
    HWND control = Control(dialog, id, "", "ItemText");
    if (control == nullptr) {
        return std::string();
    }
    LRESULT length = SendMessageA(control, WM_GETTEXTLENGTH, 0, 0);
    std::string text((size_t)(length > 0 ? length : 0) + 1, '\0');
    UINT copied = GetDlgItemTextA(dialog, id, &text[0], (int)text.size());
    text.resize(copied);
    return text;
}

bool IsEnabled(HWND dialog, int id)
{
    HWND control = Control(dialog, id, "", "IsEnabled");
    return control != nullptr && IsWindowEnabled(control);
}

bool IsChecked(HWND dialog, int id)
{
    return Control(dialog, id, "Button", "IsChecked") != nullptr &&
           IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

bool IsReadOnly(HWND dialog, int editId)
{
    HWND edit = Control(dialog, editId, "Edit", "IsReadOnly");
    return edit != nullptr && (ControlStyle(edit) & ES_READONLY) != 0;
}

}  // namespace driver

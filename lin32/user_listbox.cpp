// List boxes: lines, the selection of single- and multiple-selection lists, search and
// tab stops. Programmatic changes never notify the dialog; only user input does.
#include "user_window.h"

#include "codepage.h"

#include <algorithm>

static int Count(const lin32_window *list) { return (int)list->items.size(); }

static bool ValidIndex(const lin32_window *list, WPARAM index)
{
    int value = (int)index;
    return value >= 0 && value < Count(list);
}

static LRESULT Insert(lin32_window *list, int position, const std::string &text)
{
    list->items.insert(list->items.begin() + position, text);
    if (Lin32IsMultiSelect(list)) {
        list->selected.insert(list->selected.begin() + position, 0);
    } else if (list->current >= position) {
        ++list->current;
    }
    return position;
}

static LRESULT Delete(lin32_window *list, WPARAM index)
{
    if (!ValidIndex(list, index)) {
        return LB_ERR;
    }
    int position = (int)index;
    list->items.erase(list->items.begin() + position);
    if (Lin32IsMultiSelect(list)) {
        list->selected.erase(list->selected.begin() + position);
    } else if (list->current == position) {
        list->current = -1;
    } else if (list->current > position) {
        --list->current;
    }
    return Count(list);
}

// Lines beginning with text, letters compared by the code page's upper case; the search
// starts after line start (-1 or out of range: from the top) and wraps round.
static LRESULT FindPrefix(const lin32_window *list, WPARAM start, const std::string &text)
{
    int count = Count(list);
    int first = (int)start;
    if (first < 0 || first >= count) {
        first = -1;
    }
    for (int step = 1; step <= count; ++step) {
        int index = (first + step) % count;
        const std::string &line = list->items[(size_t)index];
        bool match = line.size() >= text.size();
        for (size_t i = 0; match && i < text.size(); ++i) {
            match = Lin32UpperChar((unsigned char)line[i]) == Lin32UpperChar((unsigned char)text[i]);
        }
        if (match) {
            return index;
        }
    }
    return LB_ERR;
}

// Lines first to last, cut to the list, all selected or all cleared; the caret stays
// where it is. Multiple-selection lists only.
static LRESULT SelectLines(lin32_window *list, WPARAM flag, int first, int last)
{
    if (!Lin32IsMultiSelect(list)) {
        return LB_ERR;
    }
    for (int line = std::max(first, 0); line <= last && line < Count(list); ++line) {
        list->selected[(size_t)line] = flag ? 1 : 0;
    }
    return LB_OKAY;
}

// LB_SETSEL: the index is read as a 32-bit int, and -1 stands for every line.
static LRESULT SetSelection(lin32_window *list, WPARAM flag, LPARAM index)
{
    int line = (int)index;
    if (line == -1) {
        return SelectLines(list, flag, 0, Count(list) - 1);
    }
    return ValidIndex(list, (WPARAM)line) ? SelectLines(list, flag, line, line) : LB_ERR;
}

static LRESULT SetCurrent(lin32_window *list, WPARAM index)
{
    if (Lin32IsMultiSelect(list)) {
        return LB_ERR;
    }
    int value = (int)index;
    if (value == -1) {
        list->current = -1;
        return LB_ERR;  // the platform answers LB_ERR although nothing failed
    }
    if (!ValidIndex(list, index)) {
        return LB_ERR;
    }
    list->current = value;
    return value;
}

static LRESULT SelectedCount(const lin32_window *list)
{
    if (!Lin32IsMultiSelect(list)) {
        return LB_ERR;
    }
    int count = 0;
    for (unsigned char selected : list->selected) {
        count += selected ? 1 : 0;
    }
    return count;
}

static LRESULT SelectedItems(const lin32_window *list, WPARAM maxCount, LPARAM buffer)
{
    if (!Lin32IsMultiSelect(list) || buffer == 0) {
        return LB_ERR;
    }
    int *items = (int *)buffer;
    int limit = (int)maxCount;
    int copied = 0;
    for (int i = 0; i < Count(list) && copied < limit; ++i) {
        if (list->selected[(size_t)i]) {
            items[copied++] = i;
        }
    }
    return copied;
}

// Tab stops need LBS_USETABSTOPS; none given means the default stops.
static LRESULT SetTabStops(lin32_window *list, WPARAM count, LPARAM stops)
{
    int number = (int)count;
    if ((list->style & LBS_USETABSTOPS) == 0 || number < 0 || (number > 0 && stops == 0)) {
        return FALSE;
    }
    list->tabStops.assign((const int *)stops, (const int *)stops + number);
    return TRUE;
}

static LRESULT GetCurrent(const lin32_window *list)
{
    if (Count(list) == 0) {
        return LB_ERR;
    }
    if (Lin32IsMultiSelect(list)) {
        return list->caret < Count(list) ? list->caret : LB_ERR;
    }
    return list->current;
}

static LRESULT IsSelected(const lin32_window *list, WPARAM index)
{
    if (!ValidIndex(list, index)) {
        return LB_ERR;
    }
    int value = (int)index;
    if (Lin32IsMultiSelect(list)) {
        return list->selected[(size_t)value] ? 1 : 0;
    }
    return list->current == value ? 1 : 0;
}

LRESULT Lin32ListMessage(lin32_window *list, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case LB_ADDSTRING: {
        std::string text = Lin32TextArgument(lParam);
        return Insert(list, Lin32InsertPosition(list->items, text, (list->style & LBS_SORT) != 0), text);
    }
    case LB_INSERTSTRING: {
        int position = (int)wParam;
        if (position == -1) {
            position = Count(list);
        }
        if (position < 0 || position > Count(list)) {
            return LB_ERR;
        }
        return Insert(list, position, Lin32TextArgument(lParam));
    }
    case LB_DELETESTRING:
        return Delete(list, wParam);
    case LB_RESETCONTENT:
        list->items.clear();
        list->selected.clear();
        list->current = -1;
        list->caret = 0;
        return TRUE;
    case LB_GETCOUNT:
        return Count(list);
    case LB_GETTEXT:
        if (!ValidIndex(list, wParam) || lParam == 0) {
            return LB_ERR;
        }
        {
            const std::string &line = list->items[(size_t)(int)wParam];
            return Lin32CopyText(line, line.size() + 1, lParam);
        }
    case LB_GETTEXTLEN:
        return ValidIndex(list, wParam) ? (LRESULT)list->items[(size_t)(int)wParam].size() : LB_ERR;
    case LB_GETSEL:
        return IsSelected(list, wParam);
    case LB_SETSEL:
        return SetSelection(list, wParam, lParam);
    case LB_SELITEMRANGE:  // LOWORD to HIWORD, either may be the greater
        return SelectLines(list, wParam, std::min(LOWORD(lParam), HIWORD(lParam)),
                           std::max(LOWORD(lParam), HIWORD(lParam)));
    case LB_SETCURSEL:
        return SetCurrent(list, wParam);
    case LB_GETCURSEL:
        return GetCurrent(list);
    case LB_GETSELCOUNT:
        return SelectedCount(list);
    case LB_GETSELITEMS:
        return SelectedItems(list, wParam, lParam);
    case LB_FINDSTRING:
        return Count(list) == 0 ? LB_ERR : FindPrefix(list, wParam, Lin32TextArgument(lParam));
    case LB_SETTABSTOPS:
        return SetTabStops(list, wParam, lParam);
    default: {
        LRESULT result = 0;
        Lin32WindowTextMessage(list, message, wParam, lParam, result);
        return result;
    }
    }
}

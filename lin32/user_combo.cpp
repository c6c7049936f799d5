// Drop-down list combos: entries, the selection, and the failures a test can inject into
// CB_ADDSTRING.
#include "user_window.h"

struct ComboFailure {
    int comboId;
    int remaining;  // CB_ADDSTRING calls on that combo until the failing one
    LRESULT result;
    DWORD lastError;
};

static std::vector<ComboFailure> comboFailures;

void Lin32FailComboAdd(int comboId, int nth, LRESULT result, DWORD lastError)
{
    if (nth >= 1) {
        comboFailures.push_back(ComboFailure{comboId, nth, result, lastError});
    }
}

void Lin32ClearComboFailures(void) { comboFailures.clear(); }

// Counts this CB_ADDSTRING against the waiting failures; true when it is to fail.
static bool InjectedFailure(const lin32_window *combo, LRESULT &result)
{
    bool fails = false;
    for (size_t i = 0; i < comboFailures.size();) {
        ComboFailure &failure = comboFailures[i];
        if (failure.comboId == combo->id && --failure.remaining == 0) {
            if (!fails) {
                fails = true;
                result = failure.result;
                SetLastError(failure.lastError);
            }
            comboFailures.erase(comboFailures.begin() + (long)i);
            continue;
        }
        ++i;
    }
    return fails;
}

static int Count(const lin32_window *combo) { return (int)combo->items.size(); }

static bool ValidIndex(const lin32_window *combo, WPARAM index)
{
    int value = (int)index;
    return value >= 0 && value < Count(combo);
}

LRESULT Lin32ComboMessage(lin32_window *combo, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case CB_ADDSTRING: {
        LRESULT failed = CB_ERR;
        if (InjectedFailure(combo, failed)) {
            return failed;
        }
        std::string text = Lin32TextArgument(lParam);
        int position = Lin32InsertPosition(combo->items, text, (combo->style & CBS_SORT) != 0);
        combo->items.insert(combo->items.begin() + position, text);
        if (combo->current >= position) {
            ++combo->current;
        }
        return position;
    }
    case CB_RESETCONTENT:
        combo->items.clear();
        combo->current = -1;
        return CB_OKAY;
    case CB_SETCURSEL:
        // -1 and an index out of range both leave no selection.
        if (!ValidIndex(combo, wParam)) {
            combo->current = -1;
            return CB_ERR;
        }
        combo->current = (int)wParam;
        return combo->current;
    case CB_GETCURSEL:
        return combo->current;
    case CB_GETCOUNT:
        return Count(combo);
    case CB_GETLBTEXT:
        if (!ValidIndex(combo, wParam) || lParam == 0) {
            return CB_ERR;
        }
        {
            const std::string &entry = combo->items[(size_t)(int)wParam];
            return Lin32CopyText(entry, entry.size() + 1, lParam);
        }
    case CB_GETLBTEXTLEN:
        return ValidIndex(combo, wParam) ? (LRESULT)combo->items[(size_t)(int)wParam].size()
                                         : CB_ERR;
    default:
        break;
    }
    // A drop-down list shows its selected entry as its text and has no text of its own.
    if ((combo->style & CBS_DROPDOWNLIST) == CBS_DROPDOWNLIST) {
        std::string shown = combo->current < 0 ? std::string() : combo->items[(size_t)combo->current];
        switch (message) {
        case WM_SETTEXT: return CB_ERR;
        case WM_GETTEXT: return Lin32CopyText(shown, wParam, lParam);
        case WM_GETTEXTLENGTH: return (LRESULT)shown.size();
        default: break;
        }
    }
    LRESULT result = 0;
    Lin32WindowTextMessage(combo, message, wParam, lParam, result);
    return result;
}

// nsuche: where a pattern first stands in a field, by exact comparison.
#include "textfield.h"

#include "errorbox.h"

#include <string.h>

short nsuche(const char *text, short n, const char *pattern, short m)
{
    if (n < 0 || m < 0) {
        ReportInternalError("nsuche", 6);
        // Nothing can be found within a negative count.
        return 0;
    }
    if (n == 0 || m == 0 || m > n || text == nullptr || pattern == nullptr) {
        return 0;
    }
    for (int start = 0; start + m <= n; ++start) {
        if (memcmp(text + start, pattern, (size_t)m) == 0) {
            return (short)(start + 1);
        }
    }
    return 0;
}

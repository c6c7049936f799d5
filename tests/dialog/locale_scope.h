// The locale variables for the life of an object, read by the Linux layer as a process
// reads them when it starts (Lin32ReadLocale); the old values come back afterwards, and
// the layer reads them again.
#ifndef TESTS_DIALOG_LOCALE_SCOPE_H
#define TESTS_DIALOG_LOCALE_SCOPE_H

#include "lin32/lin32_hooks.h"

#include <stdlib.h>

#include <string>

class LocaleScope {
public:
    LocaleScope()
    {
        for (int i = 0; i < COUNT; ++i) {
            const char *value = getenv(NAMES[i]);
            had_[i] = value != nullptr;
            saved_[i] = value != nullptr ? value : "";
        }
    }
    explicit LocaleScope(const char *lang) : LocaleScope() { Set(lang); }
    ~LocaleScope()
    {
        for (int i = 0; i < COUNT; ++i) {
            Put(NAMES[i], had_[i] ? saved_[i].c_str() : nullptr);
        }
        Lin32ReadLocale();
    }
    LocaleScope(const LocaleScope &) = delete;
    LocaleScope &operator=(const LocaleScope &) = delete;

    // nullptr unsets a variable.
    void Set(const char *lang, const char *messages = nullptr, const char *all = nullptr,
             const char *ctype = nullptr)
    {
        const char *values[COUNT] = {lang, messages, all, ctype};
        for (int i = 0; i < COUNT; ++i) {
            Put(NAMES[i], values[i]);
        }
        Lin32ReadLocale();
    }

private:
    enum { COUNT = 4 };
    static constexpr const char *NAMES[COUNT] = {"LANG", "LC_MESSAGES", "LC_ALL", "LC_CTYPE"};

    static void Put(const char *name, const char *value)
    {
        if (value == nullptr) {
            unsetenv(name);
        } else {
            setenv(name, value, 1);
        }
    }

    bool had_[COUNT];
    std::string saved_[COUNT];
};

#endif

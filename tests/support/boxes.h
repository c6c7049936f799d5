// Message boxes in tests: every box the code under test shows is recorded and answered
// from a script, on Linux through the layer's hook, on Windows through a WH_CBT hook on
// the real MessageBoxA.
#ifndef TESTS_SUPPORT_BOXES_H
#define TESTS_SUPPORT_BOXES_H

#include "Kopf01/winapi.h"

#include <string>
#include <vector>

struct ShownBox {
    bool owned;           // shown with an owner window (the dialog)
    std::string text;     // bytes in the process's ANSI code page
    std::string caption;
    UINT buttons;         // MB_OK, MB_YESNO, MB_ABORTRETRYIGNORE, ... (MB_TYPEMASK part)
    UINT icon;            // MB_ICONWARNING, ... (MB_ICONMASK part); Linux only, 0 on Windows
    int answer;           // what the script answered
};

// Cancel wherever the buttons (MB_OKCANCEL, ...) have one, otherwise No, Abort or OK.
int SafestAnswer(UINT buttons);

// Installs the recorder for the life of the object; boxes are answered in order from
// answers. A box beyond the script is answered with its safest button (OK, No, Abort)
// and counted as unexpected. The destructor removes the hook.
class BoxScript {
public:
    explicit BoxScript(std::vector<int> answers = {});
    ~BoxScript();
    BoxScript(const BoxScript &) = delete;
    BoxScript &operator=(const BoxScript &) = delete;

    void Answer(std::vector<int> answers);  // replaces the answers still pending
    const std::vector<ShownBox> &Shown() const;
    int Unexpected() const;                 // boxes that found no scripted answer
    void Clear();                           // forgets the boxes shown so far

private:
    struct Impl;
    Impl *impl_;
};

#endif

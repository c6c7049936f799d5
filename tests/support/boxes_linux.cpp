// Message boxes in tests on Linux: the layer hands every MessageBoxA to this recorder.
#ifndef _WIN32

#include "support/boxes.h"

#include "lin32/lin32_hooks.h"

#include <deque>

// What the hook needs of a script; BoxScript::Impl is private to the class.
struct BoxRecorder {
    std::deque<int> answers;
    std::vector<ShownBox> shown;
    int unexpected = 0;
};

struct BoxScript::Impl : BoxRecorder {};

static int RecordBox(void *context, HWND owner, const char *text, const char *caption,
                     UINT type)
{
    BoxRecorder *impl = static_cast<BoxRecorder *>(context);
    ShownBox box;
    box.owned = owner != nullptr;
    box.text = text;
    box.caption = caption;
    box.buttons = type & MB_TYPEMASK;
    box.icon = type & MB_ICONMASK;
    if (impl->answers.empty()) {
        box.answer = SafestAnswer(box.buttons);
        ++impl->unexpected;
    } else {
        box.answer = impl->answers.front();
        impl->answers.pop_front();
    }
    impl->shown.push_back(box);
    return box.answer;
}

BoxScript::BoxScript(std::vector<int> answers) : impl_(new Impl)
{
    Answer(std::move(answers));
    Lin32SetMessageBoxHook(RecordBox, static_cast<BoxRecorder *>(impl_));
}

BoxScript::~BoxScript()
{
    Lin32SetMessageBoxHook(nullptr, nullptr);
    delete impl_;
}

void BoxScript::Answer(std::vector<int> answers)
{
    impl_->answers.assign(answers.begin(), answers.end());
}

const std::vector<ShownBox> &BoxScript::Shown() const { return impl_->shown; }

int BoxScript::Unexpected() const { return impl_->unexpected; }

void BoxScript::Clear() { impl_->shown.clear(); }

#endif

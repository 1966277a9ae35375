#include "messages.h"

#include <cstring>

#include "winlib/text.h"

namespace lexora {

namespace {

void Prepare(Program& program, int captionId, int textId, std::wstring& caption, std::wstring& text) {
    const UINT cp = program.UiCodePage();
    caption = wl::ToWide(program.Texts.LoadText(captionId), cp);
    text = wl::ToWide(program.Texts.LoadText(textId), cp);
}

}  // namespace

void ShowOk(Program& program, wl::Window* parent, int captionId, int textId) {
    std::wstring caption, text;
    Prepare(program, captionId, textId, caption, text);
    ::MessageBoxW(parent ? parent->Handle() : nullptr, text.c_str(), caption.c_str(), MB_OK);
}

bool AskYesNo(Program& program, wl::Window* parent, int captionId, int textId) {
    std::wstring caption, text;
    Prepare(program, captionId, textId, caption, text);
    return ::MessageBoxW(parent ? parent->Handle() : nullptr, text.c_str(), caption.c_str(), MB_YESNO) == IDYES;
}

}  // namespace lexora

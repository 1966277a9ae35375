#include "core/ui/message_boxes.h"

#include <cstring>

namespace lex {

namespace {
void CopyCut(char (&to)[MessageBuffers::kSize], const char* text) {
    size_t n = text ? strnlen(text, MessageBuffers::kSize - 1) : 0;
    if (n) std::memcpy(to, text, n);
    to[n] = '\0';
}
}  // namespace

void MessageBuffers::SetCaption(const char* text) { CopyCut(MessageCaption, text); }
void MessageBuffers::SetText(const char* text) { CopyCut(MessageText, text); }

void ShowMessage(wl::Window* parent, MessageBuffers& buffers, TextLoader& loader, int captionId, int textId) {
    if (captionId) buffers.SetCaption(loader.LoadText(captionId));
    buffers.SetText(loader.LoadText(textId));
    TMOK dialog(parent, buffers, loader);
    dialog.Execute();
}

bool AskYesNo(wl::Window* parent, MessageBuffers& buffers, TextLoader& loader, int captionId, int textId) {
    if (captionId) buffers.SetCaption(loader.LoadText(captionId));
    buffers.SetText(loader.LoadText(textId));
    TMAN dialog(parent, buffers, loader);
    return dialog.Execute() == 1;
}

}  // namespace lex

// TMOK: a message with an OK button.
#include "core/ui/message_boxes.h"

namespace lex {

namespace {
constexpr int kTextStatic = 1001;
constexpr int kOkText = 10200;  // "&OK"
}  // namespace

WL_BEGIN_MESSAGE_TABLE(TMOK, wl::Dialog)
    WL_COMMAND(IDOK, CmOk)
WL_END_MESSAGE_TABLE()

TMOK::TMOK(wl::Window* parent, const MessageBuffers& buffers, TextLoader& loader, int templateId)
    : wl::Dialog(parent, templateId), buffers_(buffers), loader_(loader) {}

void TMOK::SetupWindow() {
    wl::Dialog::SetupWindow();
    SetCodePage(loader_.CodePage());
    SetText(buffers_.MessageCaption);
    SetItemText(IDOK, loader_.LoadText(kOkText));
    SetItemText(kTextStatic, buffers_.MessageText);
}

void TMOK::CmOk() { CloseWindow(1); }

}  // namespace lex

// TMOK: a message with an OK button.
#include "core/ui/message_boxes.h"

#include "core/texts/text_ids.h"
#include "core/ui/lexcoreui_ids.h"

namespace lex {

WL_BEGIN_MESSAGE_TABLE(TMOK, wl::Dialog)
    WL_COMMAND(IDC_MESSAGE_OK, CmOk)
WL_END_MESSAGE_TABLE()

TMOK::TMOK(wl::Window* parent, const MessageBuffers& buffers, TextLoader& loader, int templateId)
    : wl::Dialog(parent, templateId), buffers_(buffers), loader_(loader) {}

void TMOK::SetupWindow() {
    wl::Dialog::SetupWindow();
    SetCodePage(loader_.CodePage());
    SetText(buffers_.MessageCaption);
    SetItemText(IDC_MESSAGE_OK, loader_.LoadText(kTextOk));
    SetItemText(IDC_MESSAGE_TEXT, buffers_.MessageText);
}

void TMOK::CmOk() { CloseWindow(1); }

}  // namespace lex

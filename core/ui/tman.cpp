// TMAN: a question with Yes and No.
#include "core/ui/message_boxes.h"

namespace lex {

namespace {
constexpr int kTextStatic = 100;
constexpr int kYesText = 20940;  // "&Yes"
constexpr int kNoText = 20950;   // "&No"
}  // namespace

WL_BEGIN_MESSAGE_TABLE(TMAN, wl::Dialog)
    WL_COMMAND(1, CmYes)
    WL_COMMAND(2, CmNo)
WL_END_MESSAGE_TABLE()

TMAN::TMAN(wl::Window* parent, const MessageBuffers& buffers, TextLoader& loader, int templateId)
    : wl::Dialog(parent, templateId), buffers_(buffers), loader_(loader) {}

void TMAN::SetupWindow() {
    wl::Dialog::SetupWindow();
    SetCodePage(loader_.CodePage());
    SetText(buffers_.MessageCaption);
    SetItemText(kTextStatic, buffers_.MessageText);
    SetItemText(1, loader_.LoadText(kYesText));
    SetItemText(2, loader_.LoadText(kNoText));
}

void TMAN::CmYes() { CloseWindow(1); }
void TMAN::CmNo() { CloseWindow(2); }

}  // namespace lex

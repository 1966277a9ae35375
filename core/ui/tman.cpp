// TMAN: a question with Yes and No.
#include "core/ui/message_boxes.h"

#include "core/texts/text_ids.h"
#include "core/ui/lexcoreui_ids.h"

namespace lex {

WL_BEGIN_MESSAGE_TABLE(TMAN, wl::Dialog)
    WL_COMMAND(IDC_QUESTION_YES, CmYes)
    WL_COMMAND(IDC_QUESTION_NO, CmNo)
WL_END_MESSAGE_TABLE()

TMAN::TMAN(wl::Window* parent, const MessageBuffers& buffers, TextLoader& loader, int templateId)
    : wl::Dialog(parent, templateId), buffers_(buffers), loader_(loader) {}

void TMAN::SetupWindow() {
    wl::Dialog::SetupWindow();
    SetCodePage(loader_.CodePage());
    SetText(buffers_.MessageCaption);
    SetItemText(IDC_QUESTION_TEXT, buffers_.MessageText);
    SetItemText(IDC_QUESTION_YES, loader_.LoadText(kTextYes));
    SetItemText(IDC_QUESTION_NO, loader_.LoadText(kTextNo));
}

void TMAN::CmYes() { CloseWindow(1); }
void TMAN::CmNo() { CloseWindow(2); }

}  // namespace lex

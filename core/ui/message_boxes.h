// The two message dialogs of the dictionary programs and their shared texts.
//
// Calling protocol: copy the caption text and the message text into the
// program's MessageBuffers (two consecutive LoadText calls), construct TMOK
// or TMAN with the caller's window as parent, Execute it; for TMAN go on only
// when the result is 1 (Yes). ShowMessage and AskYesNo do exactly that.
#pragma once

#include <cstddef>

#include "core/texts/text_loader.h"
#include "core/ui/lexcoreui_ids.h"
#include "winlib/dialog.h"

namespace lex {

// Caption and text of the next message dialog, one pair per program.
struct MessageBuffers {
    static constexpr size_t kSize = 255;  // 254 characters and the terminator
    char MessageCaption[kSize] = {};
    char MessageText[kSize] = {};

    // Copy `text` (cut to 254 bytes); null gives an empty text.
    void SetCaption(const char* text);
    void SetText(const char* text);
};

// Text with an OK button (template IDD_MESSAGE: static IDC_MESSAGE_TEXT, button
// IDC_MESSAGE_OK). Closes with 1.
class TMOK : public wl::Dialog {
public:
    TMOK(wl::Window* parent, const MessageBuffers& buffers, TextLoader& loader, int templateId = IDD_MESSAGE);
    void SetupWindow() override;
    WL_DECLARE_MESSAGE_TABLE();

private:
    void CmOk();
    const MessageBuffers& buffers_;
    TextLoader& loader_;
};

// Question with Yes and No (template IDD_QUESTION: static IDC_QUESTION_TEXT,
// buttons IDC_QUESTION_YES and IDC_QUESTION_NO, no system menu). Execute gives 1 for Yes, 2 for No, Escape and every other
// close request.
class TMAN : public wl::Dialog {
public:
    TMAN(wl::Window* parent, const MessageBuffers& buffers, TextLoader& loader, int templateId = IDD_QUESTION);
    void SetupWindow() override;
    WL_DECLARE_MESSAGE_TABLE();

private:
    void CmYes();
    void CmNo();
    const MessageBuffers& buffers_;
    TextLoader& loader_;
};

// TMOK with caption `captionId` and text `textId`. A captionId of 0 keeps
// the caption left by the previous message.
void ShowMessage(wl::Window* parent, MessageBuffers& buffers, TextLoader& loader, int captionId, int textId);
// TMAN likewise; true for Yes.
bool AskYesNo(wl::Window* parent, MessageBuffers& buffers, TextLoader& loader, int captionId, int textId);

}  // namespace lex

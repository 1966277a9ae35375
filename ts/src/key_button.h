// The owner-drawn key of the on-screen keyboard (also the modifier toggles,
// the quick-switch buttons and the preview of the key assignment dialog), and
// the key tooltips drawn straight onto the keyboard dialog.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "winlib/controls.h"

namespace tsapp {

// Told when a key is clicked with the right button.
class KeyButtonOwner {
public:
    virtual ~KeyButtonOwner() = default;
    virtual void KeyRightClicked(int id) = 0;
};

class KeyButton : public wl::Button {
public:
    KeyButton(wl::Window* parent, int id, KeyButtonOwner* owner = nullptr)
        : wl::Button(parent, id), owner_(owner) {}

    bool Disabled = false;       // drawn as a cross only
    bool StartsProgram = false;  // a diagonal stroke
    bool Selected = false;       // the key chosen for editing
    bool Plain = false;          // the face ignores Selected (toggles)
    bool Active = false;         // a key with a scan code; a toggle switched on
    bool PrefixMark = false;     // thick black frame

    // The caption, kept as the button's window text too; a lone "&" is kept
    // as "&&" so that one ampersand shows.
    void SetKeyCaption(const std::string& text);
    const std::string& GetKeyCaption() const { return caption_; }
    void Redraw();

    void DrawItem(DRAWITEMSTRUCT& item) override;

    WL_DECLARE_MESSAGE_TABLE();

private:
    LRESULT EvRButtonDown(WPARAM, LPARAM);

    KeyButtonOwner* owner_;
    std::string caption_ = " ";
};

// Tooltips of the keys: boxes of text lines painted on the owner's client
// area next to the control under the mouse; no window of their own.
class KeyTipWindow {
public:
    void SetOwner(HWND owner) { owner_ = owner; }
    void AddTool(int id, const std::vector<std::string>& lines, UINT codePage, COLORREF back, COLORREF text);
    // Removes every tool of the control (hiding the tip first when shown).
    void RemoveTool(int id);
    // The mouse at `point` (owner's client coordinates).
    void RelayMouseMove(POINT point);
    int ToolCount() const { return static_cast<int>(tools_.size()); }

private:
    struct Tool {
        int Id;
        std::vector<std::string> Lines;
        UINT CodePage;
        COLORREF Back, Text;
    };
    const Tool* FindTool(int id);
    void ShowTip(int id);
    void HideTip(int id);
    void CalcTipSize(const std::vector<std::string>& lines);
    RECT GetTipRect(int id);
    void DrawTip(const Tool& tool);

    HWND owner_ = nullptr;
    int tipHeight_ = 0, tipWidth_ = 0, lineHeight_ = 14, lineCount_ = 0, longestLine_ = 0;
    std::vector<Tool> tools_;
    int currentId_ = 0;
};

}  // namespace tsapp

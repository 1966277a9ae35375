// The UI texts of the dictionary programs as winlib's windows look texts up
// (wl::Window::SetItemTexts).
#pragma once

#include <string>

#include "core/texts/text_loader.h"
#include "winlib/window.h"

namespace lex {

// Texts by base id from `texts`, in its UI language; `texts` outlives the lookup.
inline wl::TextLookup UiTextLookup(TextLoader& texts) {
    return [&texts](int baseId) { return std::string(texts.LoadText(baseId)); };
}

}  // namespace lex

// The two word controls of the lookup window: the word box (an owner-drawn
// combo box that keeps its rows as item texts) and the translation box.
#pragma once

#include "core/ui/combo_box2.h"
#include "core/ui/edit2.h"

namespace lexora {

using WordBox = lex::TComboBox2;
using TranslationBox = lex::TEdit2;

}  // namespace lexora

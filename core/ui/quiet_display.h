// An engine display that shows nothing: for engine work whose words and
// translations go elsewhere (the bulk utility, the full-text search, test
// set-up).
#pragma once

#include <string>

#include "core/engine/engine_display.h"

namespace lex {

class QuietDisplay : public EngineDisplay {
public:
    void ClearTranslation() override {}
    void AppendTranslation(const std::string&) override {}
    void ScrollTranslationToTop() override {}
    void SetPronunciation(const std::string&) override {}
    bool QualifyingKeyWaiting() override { return false; }
};

}  // namespace lex

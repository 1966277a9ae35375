#include "code_pages.h"

namespace lexbulk {
namespace {

// Four maps of the bytes 0x80..0xFF, in this order: Latin 2 into 1250,
// 1250 into Latin 2, Kamenicky into 1250, 1250 into Kamenicky.
const unsigned char kHighBytes[4][128] = {
#include "code_page_tables.inc"
};

enum Direction { kInto1250 = 0, kOutOf1250 = 1 };

const unsigned char* Table(TextCode code, Direction direction) {
    return kHighBytes[(code == TextCode::kLatin2 ? 0 : 2) + direction];
}

}  // namespace

bool TextCodeFromIndex(int index, TextCode& code) {
    if (index < 0 || index > 2) return false;
    code = static_cast<TextCode>(index);
    return true;
}

unsigned char ToWindows1250(TextCode code, unsigned char byte) {
    if (code == TextCode::kWindows1250 || byte < 0x80) return byte;
    return Table(code, kInto1250)[byte - 0x80];
}

unsigned char FromWindows1250(TextCode code, unsigned char byte) {
    if (code == TextCode::kWindows1250 || byte < 0x80) return byte;
    return Table(code, kOutOf1250)[byte - 0x80];
}

void ConvertToWindows1250(TextCode code, std::string& text) {
    if (code == TextCode::kWindows1250) return;
    for (char& c : text) c = static_cast<char>(ToWindows1250(code, static_cast<unsigned char>(c)));
}

std::string ConvertedToWindows1250(TextCode code, std::string_view text) {
    std::string out(text);
    ConvertToWindows1250(code, out);
    return out;
}

void ConvertFromWindows1250(TextCode code, std::string& text) {
    if (code == TextCode::kWindows1250) return;
    for (char& c : text) c = static_cast<char>(FromWindows1250(code, static_cast<unsigned char>(c)));
}

std::string ConvertedFromWindows1250(TextCode code, std::string_view text) {
    std::string out(text);
    ConvertFromWindows1250(code, out);
    return out;
}

}  // namespace lexbulk

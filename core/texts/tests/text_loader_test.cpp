// The text loader against the program's real string table (lexora's) and a
// few test-only texts (ids from 30000, generated from tests/texts).
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "core/texts/text_ids.h"
#include "core/texts/text_loader.h"

namespace {

constexpr int kLongTextId = 30000;     // 300 characters in English, Russian, French
constexpr int kSpecialTextId = 30010;  // quotes, backslashes, tab, new line; 1251/1252 letters

std::string Bytes(const char* text) { return std::string(text); }

TEST(TextLoader, ThirdCallReusesTheFirstBufferAndKeepsTheSecond) {
    lex::TextLoader loader;
    loader.SetUiLanguage(0);
    const char* first = loader.LoadText(lex::kTextOk);
    EXPECT_STREQ(first, "&OK");
    const char* second = loader.LoadText(lex::kTextCancel);
    EXPECT_STREQ(first, "&OK");  // two results are valid at once
    EXPECT_STREQ(second, "&Cancel");
    const char* third = loader.LoadText(lex::kTextYes);
    EXPECT_EQ(third, first);
    EXPECT_STREQ(first, "&Yes");
    EXPECT_STREQ(second, "&Cancel");
    EXPECT_NE(second, first);
}

TEST(TextLoader, LongTextsAreCutTo252Bytes) {
    std::string digits;
    while (digits.size() < 252) digits += "0123456789";
    digits.resize(252);
    const struct Case {
        int uiLanguage;
        std::string expected;
    } cases[] = {
        {0, digits},
        {4, std::string(252, '\xC6')},           // Cyrillic Zhe in 1251
        {5, std::string(251, '\xE9') + '\xE0'},  // e acute, then a grave in 1252
    };
    for (const Case& c : cases) {
        lex::TextLoader loader;
        loader.SetUiLanguage(c.uiLanguage);
        const char* text = loader.LoadText(kLongTextId);
        EXPECT_EQ(std::strlen(text), 252u) << "language " << c.uiLanguage;
        EXPECT_EQ(Bytes(text), c.expected) << "language " << c.uiLanguage;
    }
}

TEST(TextLoader, IdWithoutTextGivesEmptyText) {
    lex::TextLoader loader;
    loader.SetUiLanguage(0);
    loader.LoadText(lex::kTextOk);
    loader.LoadText(lex::kTextCancel);  // both buffers hold a text now
    EXPECT_STREQ(loader.LoadText(29990), "");
}

TEST(TextLoader, UiLanguageOutsideTheNineBecomesCzech) {
    const struct {
        int given;
        int kept;
    } cases[] = {{0, 0}, {1, 1}, {2, 2}, {8, 8}, {-1, 1}, {9, 1}, {100, 1}, {INT_MIN, 1}, {INT_MAX, 1}};
    for (const auto& c : cases) {
        lex::TextLoader loader;
        loader.SetUiLanguage(0);
        loader.SetUiLanguage(c.given);
        EXPECT_EQ(loader.UiLanguage(), c.kept) << c.given;
    }
    lex::TextLoader fresh;
    EXPECT_EQ(fresh.UiLanguage(), 1);
}

TEST(TextLoader, CodePageOfEachUiLanguage) {
    const UINT expected[lex::kUiLanguageCount] = {1250, 1250, 1250, 1250, 1251, 1252, 1252, 1250, 1250};
    for (int language = 0; language < lex::kUiLanguageCount; ++language) {
        EXPECT_EQ(lex::UiLanguageCodePage(language), expected[language]) << language;
        lex::TextLoader loader;
        loader.SetUiLanguage(language);
        EXPECT_EQ(loader.CodePage(), expected[language]) << language;
    }
}

// The exact bytes of real texts in their own code pages, whatever the
// system's code page is (1252 under Wine here).
TEST(TextLoader, TextsComeInTheirLanguagesCodePage) {
    const struct {
        int uiLanguage;
        int baseId;
        const char* bytes;
    } cases[] = {
        {0, lex::kTextNo, "&No"},
        {0, lex::kTextRestartQuestion, "To complete the Modification there is Necessary to Run\nthe Dictionary Again. "
                                       "Are You Sure to Quit/Restart the Program Once More?"},
        {0, lex::kTextMenuHistory, "&Word History... \tF2"},
        {1, lex::kTextPronunciation, "V\xFDslovnost"},                                     // Výslovnost
        {1, lex::kTextWarningCaption, "Upozorn\xECn\xED!"},                                // Upozornění!
        {1, lex::kTextLanguageSpanish, "\x8Apan\xECl\x9Atina"},                            // Španělština
        {2, lex::kTextWarningCaption, "Upozorneni!"},
        {4, lex::kTextNo, "&\xCD\xE5\xF2"},                                                // &Нет
        {4, lex::kTextPronunciation, "\xCF\xF0\xEE\xE8\xE7\xED\xEE\xF8\xE5\xED\xE8\xE5"},  // Произношение
        {5, lex::kTextToolHistory, "A-Historique des entr\xE9" "es"},
        {6, lex::kTextWarningCaption, "\xA1" "Advertencia!"},
        {8, lex::kTextWarningCaption, "Ostrze\xBF" "enie!"},
        {8, lex::kTextYes, "&Tak"},
        {8, lex::kTextNo, "&Nie"},
        {0, kSpecialTextId, "\"Quoted\" \\ C:\\dir\tTab\nLine 2"},
        {4, kSpecialTextId, "\xA8\xEB\xEA\xE0 \"\xB8\xE6\""},  // Ёлка "ёж"
        {5, kSpecialTextId, "\x9Cuvre \xE0 5 \x80"},              // œuvre à 5 €
    };
    for (const auto& c : cases) {
        lex::TextLoader loader;
        loader.SetUiLanguage(c.uiLanguage);
        EXPECT_EQ(Bytes(loader.LoadText(c.baseId)), c.bytes)
            << "language " << c.uiLanguage << " id " << c.baseId;
    }
}

}  // namespace

// Every text is decoded from its declared encoding with iconv and compared with the characters
// the dialog must show, so a wrong or missing byte anywhere fails.
#include <gtest/gtest.h>
#include <iconv.h>

#include <climits>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Texts.h"
#include "Version.h"

namespace {

// The bytes decoded to UTF-8, or nullopt if they are not valid in `encoding`.
std::optional<std::string> Decode(std::string_view bytes, const char* encoding) {
    iconv_t cd = iconv_open("UTF-8", encoding);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        ADD_FAILURE() << "iconv cannot convert from " << encoding;
        return std::nullopt;
    }
    std::string in(bytes);
    std::string out(in.size() * 4 + 4, '\0');
    char* inPtr = in.data();
    size_t inLeft = in.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    const size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (result == static_cast<size_t>(-1) || inLeft != 0) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

struct Expected {
    const char* Title;
    const char* SaveCaption;
    const char* LoadCaption;
    const char* AboutButtonCaption;
    const char* WindowedLabel;
    const char* FullScreenLabel;
    const char* BgmTessalLabel;
    const char* Bgm16BitLabel;
    const char* BgmStereoLabel;
    const char* SampleRateLabel;
    const char* PosXLabel;
    const char* PosYLabel;
    const char* WidthLabel;
    const char* HeightLabel;
    const char* AboutCaption;
    const char* AboutVersionLine;
    const char* SaveFailedText;
};

const Expected kSimplified = {
    "TORVAN95 完美补丁设置程序",
    "保存(&S)",
    "读取(&L)",
    "关于(&A)",
    "开启窗口化功能",
    "以全屏模式启动",
    "使用TESSAL格式背景音乐",
    "TESSAL格式背景音乐采用16位输出",
    "TESSAL格式背景音乐采用双声道输出",
    "TESSAL格式背景音乐的采样率",
    "游戏窗口的初始横坐标",
    "游戏窗口的初始纵坐标",
    "游戏窗口的初始宽度",
    "游戏窗口的初始高度",
    "关于 TORVAN95 完美补丁设置程序",
    "版本 1.0.0.6",
    "无法保存设置：写入注册表失败。",
};

const Expected kTraditional = {
    "TORVAN95 完美補丁設置程式",
    "保存(&S)",
    "讀取(&L)",
    "關於(&A)",
    "開啟視窗化功能",
    "以全屏模式啟動",
    "使用TESSAL格式背景音樂",
    "TESSAL格式背景音樂採用16位元輸出",
    "TESSAL格式背景音樂採用雙聲道輸出",
    "TESSAL格式背景音樂的取樣速率",
    "遊戲窗口的初始橫坐標",
    "遊戲窗口的初始縱坐標",
    "遊戲窗口的初始寬度",
    "遊戲窗口的初始高度",
    "關於TORVAN95 完美補丁設置程式",
    "版本1.0.0.6",
    "無法保存設置：寫入註冊表失敗。",
};

const Expected kEnglish = {
    "Patch for TORVAN95 Setting",
    "&Save",
    "&Load",
    "&About",
    "Enable Windowed functions",
    "Startup in fullscreen mode",
    "Use TESSAL format as background music",
    "Use 16-bit output of TESSAL format background music",
    "Use stereo output of TESSAL format background music",
    "Sample rate of TESSAL format background music",
    "Initial X position of game window",
    "Initial Y position of game window",
    "Initial width of game window",
    "Initial height of game window",
    "About Patch for TORVAN95 Setting",
    "Version 1.0.0.6",
    "Could not save the settings: writing to the registry failed.",
};

struct LanguageCase {
    const char* name;
    const LanguageTexts* texts;
    const char* encoding;
    const Expected* expected;
    const char* authorPrefix;
    const char* warningPrefix;
    std::size_t continuationIndent;  // the byte width of warningPrefix
};

const LanguageCase kLanguages[] = {
    {"GB2312", &TextsGb2312, "GB2312", &kSimplified, "作者: ", "警告: ", 6},
    {"Big5", &TextsBig5, "BIG5", &kTraditional, "作者: ", "警告: ", 6},
    {"English", &TextsOther, "ASCII", &kEnglish, "Author: ", "Warning: ", 9},
};

void ExpectText(const char* bytes, const LanguageCase& language, const char* expected,
                const char* field) {
    ASSERT_NE(bytes, nullptr) << language.name << " " << field;
    EXPECT_EQ(Decode(bytes, language.encoding), std::optional<std::string>(expected))
        << language.name << " " << field;
}

TEST(Texts, CaptionsAndLabelsDecodeToTheirCharacters) {
    for (const LanguageCase& language : kLanguages) {
        const LanguageTexts& t = *language.texts;
        const Expected& e = *language.expected;
        ExpectText(t.Title, language, e.Title, "Title");
        ExpectText(t.SaveCaption, language, e.SaveCaption, "SaveCaption");
        ExpectText(t.LoadCaption, language, e.LoadCaption, "LoadCaption");
        ExpectText(t.AboutButtonCaption, language, e.AboutButtonCaption, "AboutButtonCaption");
        ExpectText(t.WindowedLabel, language, e.WindowedLabel, "WindowedLabel");
        ExpectText(t.FullScreenLabel, language, e.FullScreenLabel, "FullScreenLabel");
        ExpectText(t.BgmTessalLabel, language, e.BgmTessalLabel, "BgmTessalLabel");
        ExpectText(t.Bgm16BitLabel, language, e.Bgm16BitLabel, "Bgm16BitLabel");
        ExpectText(t.BgmStereoLabel, language, e.BgmStereoLabel, "BgmStereoLabel");
        ExpectText(t.SampleRateLabel, language, e.SampleRateLabel, "SampleRateLabel");
        ExpectText(t.PosXLabel, language, e.PosXLabel, "PosXLabel");
        ExpectText(t.PosYLabel, language, e.PosYLabel, "PosYLabel");
        ExpectText(t.WidthLabel, language, e.WidthLabel, "WidthLabel");
        ExpectText(t.HeightLabel, language, e.HeightLabel, "HeightLabel");
        ExpectText(t.AboutCaption, language, e.AboutCaption, "AboutCaption");
        ExpectText(t.SaveFailedText, language, e.SaveFailedText, "SaveFailedText");
    }
}

TEST(Texts, Big5LabelKeepsItsBackslashTrailByte) {
    // 功 is A5 5C in Big5: the 0x5C must survive as a plain byte, not as an escape.
    EXPECT_NE(std::strstr(TextsBig5.WindowedLabel, "\xA5\x5C"), nullptr);
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t pos; (pos = text.find("\r\n", start)) != std::string_view::npos;
         start = pos + 2) {
        lines.emplace_back(text.substr(start, pos - start));
    }
    lines.emplace_back(text.substr(start));
    return lines;
}

TEST(Texts, AboutTextIsFiveCrLfJoinedLines) {
    for (const LanguageCase& language : kLanguages) {
        SCOPED_TRACE(language.name);
        const std::string_view about = language.texts->AboutText;
        ASSERT_FALSE(about.empty());
        EXPECT_FALSE(about.ends_with("\r\n"));
        // No bare CR or LF: every break is a CR LF pair.
        const std::vector<std::string> lines = SplitLines(about);
        ASSERT_EQ(lines.size(), 5u);
        for (const std::string& line : lines) {
            EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
        }
        std::vector<std::string> decoded;
        for (const std::string& line : lines) {
            const std::optional<std::string> text = Decode(line, language.encoding);
            ASSERT_TRUE(text.has_value()) << "undecodable line: " << line;
            decoded.push_back(*text);
        }
        EXPECT_EQ(decoded[0], language.expected->AboutVersionLine);
        EXPECT_TRUE(decoded[1].starts_with(language.authorPrefix)) << decoded[1];
        EXPECT_GT(decoded[1].size(), std::strlen(language.authorPrefix));
        EXPECT_TRUE(decoded[2].starts_with("E-mail: ")) << decoded[2];
        EXPECT_TRUE(decoded[2].ends_with("@example.com")) << decoded[2];
        // The address is plain ASCII in every set.
        EXPECT_EQ(Decode(lines[2], "ASCII"), std::optional<std::string>(lines[2]));
        EXPECT_TRUE(decoded[3].starts_with(language.warningPrefix)) << decoded[3];
        // Line 5 continues the warning, indented by the prefix's width in bytes.
        EXPECT_EQ(Decode(lines[3].substr(0, language.continuationIndent), language.encoding),
                  std::optional<std::string>(language.warningPrefix));
        const std::string& last = lines[4];
        ASSERT_GT(last.size(), language.continuationIndent);
        EXPECT_EQ(last.find_first_not_of(' '), language.continuationIndent) << last;
    }
}

TEST(Texts, AboutVersionMatchesTheVersionResourceNumbers) {
    const std::string expected =
        std::to_string(TORVAN_VERSION_MAJOR) + "." + std::to_string(TORVAN_VERSION_MINOR) + "." +
        std::to_string(TORVAN_VERSION_PATCH) + "." + std::to_string(TORVAN_VERSION_BUILD);
    EXPECT_EQ(std::string(TORVAN_VERSION_STRING), expected);
    EXPECT_EQ(std::string(TORVAN_VERSION_RC_STRING),
              std::to_string(TORVAN_VERSION_MAJOR) + ", " + std::to_string(TORVAN_VERSION_MINOR) +
                  ", " + std::to_string(TORVAN_VERSION_PATCH) + ", " +
                  std::to_string(TORVAN_VERSION_BUILD));
}

// The label spells "language" in three encodings, in the order of the set's own language.
struct LabelPart {
    std::size_t offset;
    std::size_t length;
    const char* encoding;
    const char* text;
};

void ExpectMixedLabel(const char* label, std::initializer_list<LabelPart> parts) {
    ASSERT_NE(label, nullptr);
    const std::string_view bytes = label;
    EXPECT_EQ(bytes.size(), 18u);
    std::size_t covered = 0;
    for (const LabelPart& part : parts) {
        ASSERT_LE(part.offset + part.length, bytes.size());
        EXPECT_EQ(Decode(bytes.substr(part.offset, part.length), part.encoding),
                  std::optional<std::string>(part.text))
            << "part at " << part.offset;
        covered += part.length;
    }
    EXPECT_EQ(covered, bytes.size());
}

TEST(Texts, LanguageLabelMixesThreeEncodings) {
    ExpectMixedLabel(TextsGb2312.LanguageLabel, {{0, 4, "GB2312", "语言"},
                                                 {4, 1, "ASCII", "/"},
                                                 {5, 4, "BIG5", "語言"},
                                                 {9, 9, "ASCII", "/Language"}});
    ExpectMixedLabel(TextsBig5.LanguageLabel, {{0, 4, "BIG5", "語言"},
                                               {4, 1, "ASCII", "/"},
                                               {5, 4, "GB2312", "语言"},
                                               {9, 9, "ASCII", "/Language"}});
    ExpectMixedLabel(TextsOther.LanguageLabel, {{0, 9, "ASCII", "Language/"},
                                                {9, 4, "GB2312", "语言"},
                                                {13, 1, "ASCII", "/"},
                                                {14, 4, "BIG5", "語言"}});
}

TEST(Texts, ComboEntriesAreInIndexOrderEachInItsOwnEncoding) {
    EXPECT_EQ(Decode(LanguageComboEntries[0], "GB2312"),
              std::optional<std::string>("GB2312(简体中文)"));
    EXPECT_EQ(Decode(LanguageComboEntries[1], "BIG5"),
              std::optional<std::string>("BIG5(繁體中文)"));
    EXPECT_EQ(Decode(LanguageComboEntries[2], "ASCII"),
              std::optional<std::string>("OTHER(English)"));
}

TEST(Texts, TextsForLanguageFallsBackToEnglish) {
    EXPECT_EQ(&TextsForLanguage(0), &TextsGb2312);
    EXPECT_EQ(&TextsForLanguage(1), &TextsBig5);
    for (UiLanguage language : {2, 7, -1, INT_MIN, INT_MAX}) {
        EXPECT_EQ(&TextsForLanguage(language), &TextsOther) << language;
    }
}

}  // namespace

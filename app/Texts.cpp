// The three language sets. Each byte string sits under a comment with the characters it encodes;
// the bytes are GB2312, Big5 or ASCII and reach the ANSI window functions unchanged. Hex escapes
// keep them readable and safe: a Big5 trail byte can be 0x5C, the backslash code. A literal is
// split wherever a hex digit follows an escape, because the escape would swallow it.
#include "Texts.h"

#include "Version.h"

namespace {

// The language label names the language three times, each part in its own encoding, so one part
// is legible under any ANSI code page. 语言 = GB2312 D3 EF D1 D4, 語言 = Big5 BB 79 A8 A5.
// 语言/語言/Language
constexpr char kLanguageLabelGb2312[] =
    "\xD3\xEF\xD1\xD4"
    "/"
    "\xBB\x79\xA8\xA5"
    "/Language";
// 語言/语言/Language
constexpr char kLanguageLabelBig5[] =
    "\xBB\x79\xA8\xA5"
    "/"
    "\xD3\xEF\xD1\xD4"
    "/Language";
// Language/语言/語言
constexpr char kLanguageLabelOther[] =
    "Language/"
    "\xD3\xEF\xD1\xD4"
    "/"
    "\xBB\x79\xA8\xA5";

}  // namespace

// clang-format off
const LanguageTexts TextsGb2312 = {
    // TORVAN95 完美补丁设置程序
    .Title = "TORVAN95 \xCD\xEA\xC3\xC0\xB2\xB9\xB6\xA1\xC9\xE8\xD6\xC3\xB3\xCC\xD0\xF2",
    // 保存(&S)
    .SaveCaption = "\xB1\xA3\xB4\xE6(&S)",
    // 读取(&L)
    .LoadCaption = "\xB6\xC1\xC8\xA1(&L)",
    // 关于(&A)
    .AboutButtonCaption = "\xB9\xD8\xD3\xDA(&A)",
    // 开启窗口化功能
    .WindowedLabel = "\xBF\xAA\xC6\xF4\xB4\xB0\xBF\xDA\xBB\xAF\xB9\xA6\xC4\xDC",
    // 以全屏模式启动
    .FullScreenLabel = "\xD2\xD4\xC8\xAB\xC6\xC1\xC4\xA3\xCA\xBD\xC6\xF4\xB6\xAF",
    // 使用TESSAL格式背景音乐
    .BgmTessalLabel = "\xCA\xB9\xD3\xC3TESSAL\xB8\xF1\xCA\xBD\xB1\xB3\xBE\xB0\xD2\xF4\xC0\xD6",
    // TESSAL格式背景音乐采用16位输出
    .Bgm16BitLabel =
        "TESSAL\xB8\xF1\xCA\xBD\xB1\xB3\xBE\xB0\xD2\xF4\xC0\xD6\xB2\xC9\xD3\xC3" "16\xCE\xBB"
        "\xCA\xE4\xB3\xF6",
    // TESSAL格式背景音乐采用双声道输出
    .BgmStereoLabel =
        "TESSAL\xB8\xF1\xCA\xBD\xB1\xB3\xBE\xB0\xD2\xF4\xC0\xD6\xB2\xC9\xD3\xC3\xCB\xAB\xC9\xF9"
        "\xB5\xC0\xCA\xE4\xB3\xF6",
    .LanguageLabel = kLanguageLabelGb2312,
    // TESSAL格式背景音乐的采样率
    .SampleRateLabel =
        "TESSAL\xB8\xF1\xCA\xBD\xB1\xB3\xBE\xB0\xD2\xF4\xC0\xD6\xB5\xC4\xB2\xC9\xD1\xF9\xC2\xCA",
    // 游戏窗口的初始横坐标
    .PosXLabel = "\xD3\xCE\xCF\xB7\xB4\xB0\xBF\xDA\xB5\xC4\xB3\xF5\xCA\xBC\xBA\xE1\xD7\xF8\xB1\xEA",
    // 游戏窗口的初始纵坐标
    .PosYLabel = "\xD3\xCE\xCF\xB7\xB4\xB0\xBF\xDA\xB5\xC4\xB3\xF5\xCA\xBC\xD7\xDD\xD7\xF8\xB1\xEA",
    // 游戏窗口的初始宽度
    .WidthLabel = "\xD3\xCE\xCF\xB7\xB4\xB0\xBF\xDA\xB5\xC4\xB3\xF5\xCA\xBC\xBF\xED\xB6\xC8",
    // 游戏窗口的初始高度
    .HeightLabel = "\xD3\xCE\xCF\xB7\xB4\xB0\xBF\xDA\xB5\xC4\xB3\xF5\xCA\xBC\xB8\xDF\xB6\xC8",
    // 关于 TORVAN95 完美补丁设置程序
    .AboutCaption =
        "\xB9\xD8\xD3\xDA TORVAN95 \xCD\xEA\xC3\xC0\xB2\xB9\xB6\xA1\xC9\xE8\xD6\xC3\xB3\xCC"
        "\xD0\xF2",
    .AboutText =
        // 版本 1.0.0.6
        "\xB0\xE6\xB1\xBE " TORVAN_VERSION_STRING "\r\n"
        // 作者: Kavrenta 补丁小组
        "\xD7\xF7\xD5\xDF: Kavrenta \xB2\xB9\xB6\xA1\xD0\xA1\xD7\xE9" "\r\n"
        // E-mail: patch-team@example.com
        "E-mail: patch-team@example.com" "\r\n"
        // 警告: 修改的设置在下次启动游戏时生效。
        "\xBE\xAF\xB8\xE6: \xD0\xDE\xB8\xC4\xB5\xC4\xC9\xE8\xD6\xC3\xD4\xDA\xCF\xC2\xB4\xCE"
        "\xC6\xF4\xB6\xAF\xD3\xCE\xCF\xB7\xCA\xB1\xC9\xFA\xD0\xA7\xA1\xA3" "\r\n"
        //       保存设置需要写入注册表的权限。
        "      \xB1\xA3\xB4\xE6\xC9\xE8\xD6\xC3\xD0\xE8\xD2\xAA\xD0\xB4\xC8\xEB\xD7\xA2\xB2\xE1"
        "\xB1\xED\xB5\xC4\xC8\xA8\xCF\xDE\xA1\xA3",
    // 无法保存设置：写入注册表失败。
    .SaveFailedText =
        "\xCE\xDE\xB7\xA8\xB1\xA3\xB4\xE6\xC9\xE8\xD6\xC3\xA3\xBA\xD0\xB4\xC8\xEB\xD7\xA2"
        "\xB2\xE1\xB1\xED\xCA\xA7\xB0\xDC\xA1\xA3",
};

const LanguageTexts TextsBig5 = {
    // TORVAN95 完美補丁設置程式
    .Title = "TORVAN95 \xA7\xB9\xAC\xFC\xB8\xC9\xA4\x42\xB3\x5D\xB8\x6D\xB5\x7B\xA6\xA1",
    // 保存(&S)
    .SaveCaption = "\xAB\x4F\xA6\x73(&S)",
    // 讀取(&L)
    .LoadCaption = "\xC5\xAA\xA8\xFA(&L)",
    // 關於(&A)
    .AboutButtonCaption = "\xC3\xF6\xA9\xF3(&A)",
    // 開啟視窗化功能
    .WindowedLabel = "\xB6\x7D\xB1\xD2\xB5\xF8\xB5\xA1\xA4\xC6\xA5\x5C\xAF\xE0",
    // 以全屏模式啟動
    .FullScreenLabel = "\xA5\x48\xA5\xFE\xAB\xCC\xBC\xD2\xA6\xA1\xB1\xD2\xB0\xCA",
    // 使用TESSAL格式背景音樂
    .BgmTessalLabel = "\xA8\xCF\xA5\xCETESSAL\xAE\xE6\xA6\xA1\xAD\x49\xB4\xBA\xAD\xB5\xBC\xD6",
    // TESSAL格式背景音樂採用16位元輸出
    .Bgm16BitLabel =
        "TESSAL\xAE\xE6\xA6\xA1\xAD\x49\xB4\xBA\xAD\xB5\xBC\xD6\xB1\xC4\xA5\xCE" "16\xA6\xEC"
        "\xA4\xB8\xBF\xE9\xA5\x58",
    // TESSAL格式背景音樂採用雙聲道輸出
    .BgmStereoLabel =
        "TESSAL\xAE\xE6\xA6\xA1\xAD\x49\xB4\xBA\xAD\xB5\xBC\xD6\xB1\xC4\xA5\xCE\xC2\xF9\xC1\x6E"
        "\xB9\x44\xBF\xE9\xA5\x58",
    .LanguageLabel = kLanguageLabelBig5,
    // TESSAL格式背景音樂的取樣速率
    .SampleRateLabel =
        "TESSAL\xAE\xE6\xA6\xA1\xAD\x49\xB4\xBA\xAD\xB5\xBC\xD6\xAA\xBA\xA8\xFA\xBC\xCB\xB3\x74"
        "\xB2\x76",
    // 遊戲窗口的初始橫坐標
    .PosXLabel = "\xB9\x43\xC0\xB8\xB5\xA1\xA4\x66\xAA\xBA\xAA\xEC\xA9\x6C\xBE\xEE\xA7\xA4\xBC\xD0",
    // 遊戲窗口的初始縱坐標
    .PosYLabel = "\xB9\x43\xC0\xB8\xB5\xA1\xA4\x66\xAA\xBA\xAA\xEC\xA9\x6C\xC1\x61\xA7\xA4\xBC\xD0",
    // 遊戲窗口的初始寬度
    .WidthLabel = "\xB9\x43\xC0\xB8\xB5\xA1\xA4\x66\xAA\xBA\xAA\xEC\xA9\x6C\xBC\x65\xAB\xD7",
    // 遊戲窗口的初始高度
    .HeightLabel = "\xB9\x43\xC0\xB8\xB5\xA1\xA4\x66\xAA\xBA\xAA\xEC\xA9\x6C\xB0\xAA\xAB\xD7",
    // 關於TORVAN95 完美補丁設置程式
    .AboutCaption =
        "\xC3\xF6\xA9\xF3TORVAN95 \xA7\xB9\xAC\xFC\xB8\xC9\xA4\x42\xB3\x5D\xB8\x6D\xB5\x7B"
        "\xA6\xA1",
    .AboutText =
        // 版本1.0.0.6
        "\xAA\xA9\xA5\xBB" TORVAN_VERSION_STRING "\r\n"
        // 作者: Kavrenta 補丁小組
        "\xA7\x40\xAA\xCC: Kavrenta \xB8\xC9\xA4\x42\xA4\x70\xB2\xD5" "\r\n"
        // E-mail: patch-team@example.com
        "E-mail: patch-team@example.com" "\r\n"
        // 警告: 修改的設置在下次啟動遊戲時生效。
        "\xC4\xB5\xA7\x69: \xAD\xD7\xA7\xEF\xAA\xBA\xB3\x5D\xB8\x6D\xA6\x62\xA4\x55\xA6\xB8"
        "\xB1\xD2\xB0\xCA\xB9\x43\xC0\xB8\xAE\xC9\xA5\xCD\xAE\xC4\xA1\x43" "\r\n"
        //       保存設置需要寫入註冊表的權限。
        "      \xAB\x4F\xA6\x73\xB3\x5D\xB8\x6D\xBB\xDD\xAD\x6E\xBC\x67\xA4\x4A\xB5\xF9\xA5\x55"
        "\xAA\xED\xAA\xBA\xC5\x76\xAD\xAD\xA1\x43",
    // 無法保存設置：寫入註冊表失敗。
    .SaveFailedText =
        "\xB5\x4C\xAA\x6B\xAB\x4F\xA6\x73\xB3\x5D\xB8\x6D\xA1\x47\xBC\x67\xA4\x4A\xB5\xF9"
        "\xA5\x55\xAA\xED\xA5\xA2\xB1\xD1\xA1\x43",
};
const LanguageTexts TextsOther = {
    .Title = "Patch for TORVAN95 Setting",
    .SaveCaption = "&Save",
    .LoadCaption = "&Load",
    .AboutButtonCaption = "&About",
    .WindowedLabel = "Enable Windowed functions",
    .FullScreenLabel = "Startup in fullscreen mode",
    .BgmTessalLabel = "Use TESSAL format as background music",
    .Bgm16BitLabel = "Use 16-bit output of TESSAL format background music",
    .BgmStereoLabel = "Use stereo output of TESSAL format background music",
    .LanguageLabel = kLanguageLabelOther,
    .SampleRateLabel = "Sample rate of TESSAL format background music",
    .PosXLabel = "Initial X position of game window",
    .PosYLabel = "Initial Y position of game window",
    .WidthLabel = "Initial width of game window",
    .HeightLabel = "Initial height of game window",
    .AboutCaption = "About Patch for TORVAN95 Setting",
    .AboutText =
        "Version " TORVAN_VERSION_STRING "\r\n"
        "Author: Kavrenta patch team\r\n"
        "E-mail: patch-team@example.com\r\n"
        "Warning: Changed settings take effect the next time the game starts.\r\n"
        "         Saving needs write access to the registry.",
    .SaveFailedText = "Could not save the settings: writing to the registry failed.",
};
// clang-format on

const LanguageTexts& TextsForLanguage(UiLanguage language) {
    switch (language) {
        case kSimplifiedChinese:
            return TextsGb2312;
        case kTraditionalChinese:
            return TextsBig5;
        default:
            return TextsOther;
    }
}

const char* const LanguageComboEntries[3] = {
    // GB2312(简体中文)
    "GB2312(\xBC\xF2\xCC\xE5\xD6\xD0\xCE\xC4)",
    // BIG5(繁體中文)
    "BIG5(\xC1\x63\xC5\xE9\xA4\xA4\xA4\xE5)",
    "OTHER(English)",
};

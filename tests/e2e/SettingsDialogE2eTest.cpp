// The real TorvanPatch.exe under Wine, driven and seen as a user would; CTest runs it per locale.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <fstream>
#include <regex>
#include <tuple>
#include <vector>

#include "AppDriver.h"
#include "ResourceIds.h"

namespace e2e {

namespace {

enum Language { kSimplified, kTraditional, kEnglish };

// LC_ALL gives Wine the LANGID (hence the font and the language without a usable one stored).
constexpr std::tuple<LANGID, UINT, Language> kLocales[] = {
    {0x0409, 1252, kEnglish},    {0x0804, 936, kSimplified},  {0x1004, 936, kSimplified},
    {0x0404, 950, kTraditional}, {0x0C04, 950, kTraditional}, {0x1404, 950, kTraditional}};

// texts.txt, each language's: these controls', About's caption and text, Save's error, "language".
constexpr int kTextControls[] = {
    IDD_SETTINGS,    IDC_SAVE,        IDC_LOAD,        IDC_ABOUT,        IDC_WINDOWED,
    IDC_FULLSCREEN,  IDC_BGM_TESSAL,  IDC_BGM_16BIT,   IDC_BGM_STEREO,   IDC_SAMPLE_RATE_LABEL,
    IDC_POS_X_LABEL, IDC_POS_Y_LABEL, IDC_WIDTH_LABEL, IDC_HEIGHT_LABEL, IDC_LANGUAGE};
enum { kTitle, kAboutCaption = 15, kAboutText, kSaveFailed, kWord, kTextsPerLanguage };

std::string Expected(int language, int index) {
    static const std::vector<std::string> texts = [] {  // a text a line, "\\n" for CR LF
        std::vector<std::string> lines;
        std::ifstream file(TORVAN_TEXTS_PATH);
        for (std::string line; std::getline(file, line); lines.push_back(line))
            for (std::size_t at; (at = line.find("\\n")) != line.npos;) line.replace(at, 2, "\r\n");
        return lines;
    }();
    const std::string& utf8 = texts.at(language * kTextsPerLanguage + index);
    wchar_t wide[1024];
    char bytes[1024] = {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), utf8.size(), wide, 1024);
    const UINT codePages[] = {936, 950, 1252};
    WideCharToMultiByte(codePages[language], 0, wide, length, bytes, sizeof bytes, 0, 0);
    return bytes;
}

// The settings in the game patch's order of the five check boxes, then the five number fields.
using Record = std::array<std::int32_t, 10>;
constexpr Record kStart{0, 0, 1, 1, 0, 44100, 0, 0, 640, 400};
const std::pair<const char*, int> kFields[] = {
    {"Windowed", IDC_WINDOWED},  {"FullScreen", IDC_FULLSCREEN}, {"BgmTessal", IDC_BGM_TESSAL},
    {"Bgm16Bit", IDC_BGM_16BIT}, {"BgmStereo", IDC_BGM_STEREO},  {"BgmSampleRate", IDC_SAMPLE_RATE},
    {"PositionX", IDC_POS_X},    {"PositionY", IDC_POS_Y},       {"WindowWidth", IDC_WIDTH},
    {"WindowHeight", IDC_HEIGHT}};
// Loads and Saves as the probe writes them down ('!': failed), in the game patch's order of values
// (not the record's), each size asked before its data; exact access masks; the key closed once.
void ExpectConversations() {
    static const std::regex kConversations = [] {  // KEY_QUERY_VALUE 1, KEY_SET_VALUE 2
        std::string load = "open:1 ", save = "create:2 ";
        for (std::string name :
             {"Language", "Windowed", "FullScreen", "BgmTessal", "BgmSampleRate", "BgmStereo",
              "Bgm16Bit", "PositionX", "PositionY", "WindowWidth", "WindowHeight"}) {
            load += "size:" + name + "(! | (read:" + name + "!? )?)";
            save += "write:" + name + "!? ";
        }
        return std::regex(load + "close |" + save + "close |(open:1|create:2)! ");
    }();
    EXPECT_EQ(std::regex_replace(Shared().calls, kConversations, ""), "") << Shared().calls;
    Shared().calls[0] = '\0';
}

// A Load or a Save started by `press`, awaited to the end of its own registry conversation.
void Command(auto press, const std::string& step) {
    static const std::regex kEnd("(close|open:1!|create:2!) $");
    ExpectConversations();
    press();
    Await([] { return std::regex_search(Shared().calls, kEnd); }, step + ": the registry");
    ExpectConversations();
}

// Fails the call of that word from now on.
void Fail(const char* call) { lstrcpynA(Shared().fail, call, sizeof Shared().fail); }

class E2e : public testing::Test {
  protected:
    void SetUp() override {  // the locale and the kind of Windows (32-bit: XP SP3) asked for
        const int expected = std::stoi(std::getenv("TORVAN_EXPECT_LANGID"), nullptr, 16);
        for (const auto& [langId, codePage, language] : kLocales)
            if (langId == expected && GetUserDefaultLangID() == langId && GetACP() == codePage)
                localeLanguage_ = language;
        ASSERT_NE(localeLanguage_, -1) << std::hex << GetUserDefaultLangID() << " " << GetACP();
        BOOL win64 = FALSE;  // 32-bit: XP's 5.1 (minor in the high byte)
        const bool xp = IsWow64Process(GetCurrentProcess(), &win64) && !win64;
        ASSERT_EQ(xp ? LOWORD(GetVersion()) : 0,
                  std::getenv("TORVAN_PREFIX") == std::string("win32") ? 0x0105 : 0);
        ResetRegistry();
        Shared() = {};
    }
    void TearDown() override {  // a program left running ends here, or with the wineserver
        ExpectConversations();
        if (process_) TerminateProcess(process_.get(), 1);
    }

    // The program, its dialog in front, the probe hooked in; an early end fails at once, and how.
    void Start(const std::string& arguments = {}, const std::string& exe = TORVAN_APP_PATH) {
        process_.reset(e2e::Run("\"" + exe + "\" " + arguments));
        DWORD code = STILL_ACTIVE;  // 259; a cold start under Wine takes seconds
        const auto ended = [&] { return GetExitCodeProcess(process_.get(), &code) && code != 259; };
        WaitUntil([&] { return (dialog_ = Front(nullptr)) || ended(); }, 20000);
        char why[96];
        wsprintfA(why, "the program ended before its dialog showed, exit code 0x%08lX", code);
        if (code != STILL_ACTIVE) throw std::runtime_error(why);
        Require(dialog_ != nullptr, "waiting for the dialog in front");
        Probe(dialog_);
    }

    // The program's window in front if that is its owner: the dialog (none), a message box (it).
    HWND Front(HWND owner) const {
        const HWND front = GetForegroundWindow();
        DWORD processId = 0;
        GetWindowThreadProcessId(front, &processId);
        const bool ours = processId == GetProcessId(process_.get());
        return ours && GetWindow(front, GW_OWNER) == owner ? front : nullptr;
    }

    HWND Control(int id) const { return id == IDD_SETTINGS ? dialog_ : GetDlgItem(dialog_, id); }
    bool Checked(int id) const { return Send(Control(id), BM_GETCHECK) == BST_CHECKED; }
    bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != 0; }
    void Click(int id) const { ClickAt(Control(id)); }

    // Each step waits for its effect, so input lost fails there, named.
    void Tick(int id, bool bySpace = false) const {
        const bool before = Checked(id);
        bySpace ? Keys("space") : Click(id);
        Await([&] { return Checked(id) != before; }, "ticking " + std::to_string(id));
    }
    // Tab (or keys before it), and the focus arriving.
    void PressTab(int to, const std::string& keys = "Tab") const {
        const std::string step = keys + " from " + std::to_string(Focused()) + " to ";
        Keys(keys);
        Await([&] { return Focused() == to; }, step + std::to_string(to));
    }
    // Clicked, all selected and typed over, then Tab: the focus gone, all has arrived; 11 at most.
    void Type(int id, const std::string& text) const {
        ClickAt(Control(id), "key --delay 0 Home shift+End type --delay 0 -- \"" + text + "\t\"");
        Await([&] { return Focused() != id && Text(Control(id)) == text.substr(0, 11); },
              "typing " + text);
    }

    // The language box opened by a click, an entry chosen with the arrows and Enter.
    void Pick(int language) const {
        const std::string step = "picking language " + std::to_string(language);
        const HWND list = Control(IDC_LANGUAGE);
        const auto dropped = [&] { return Send(list, CB_GETDROPPEDSTATE) != 0; };
        Click(IDC_LANGUAGE);
        Await(dropped, step + ": opening the list");
        std::string keys = "Home";  // the first entry, then down to that one
        for (int i = 0; i < language; ++i) keys += " Down";
        Keys(keys + " Return");
        Await([&] { return !dropped() && Send(list, CB_GETCURSEL) == language; }, step);
    }

    void ExpectTexts(int language) const {  // once the title shows the language, every text
        SCOPED_TRACE("texts of language " + std::to_string(language));
        WaitUntil([&] { return Text(dialog_) == Expected(language, kTitle); });
        for (int i = 0; i < 15; ++i)
            EXPECT_EQ(Text(Control(kTextControls[i])), Expected(language, i));
        // The word for language in each encoding, the set's own first.
        const std::string gb = Expected(kSimplified, kWord), big5 = Expected(kTraditional, kWord);
        const std::string label[] = {gb + "/" + big5 + "/Language", big5 + "/" + gb + "/Language",
                                     "Language/" + gb + "/" + big5};
        EXPECT_EQ(Text(Control(IDC_LANGUAGE_LABEL)), label[language]);
    }

    // Each field's value, and enabled where the box that governs it (if one does) is ticked.
    void ExpectShows(const Record& record) const {
        const int governor[] = {-1, 0, -1, 2, 2, 2, 0, 0, 0, 0};  // Windowed 0, BgmTessal 2
        for (int i = 0; i < 10; ++i) {
            const auto [name, id] = kFields[i];
            const std::string shown = i < 5 ? std::to_string(Checked(id)) : Text(Control(id));
            EXPECT_EQ(shown, std::to_string(i < 5 ? record[i] != 0 : record[i])) << name;
            EXPECT_EQ(Enabled(id), governor[i] < 0 || record[governor[i]] != 0) << name;
        }
    }

    // Exactly the eleven values, typed and sized, in the view the 32-bit game patch reads.
    void ExpectStored(int language, const Record& record, const char* missing = "") const {
        const std::string_view names[] = {{"GB2312", 7}, {"BIG5", 5}, {"OTHER", 6}};
        Values expected{{"Language", {REG_SZ, std::string(names[language])}}};
        for (int i = 0; i < 10; ++i) expected[kFields[i].first] = {REG_DWORD, Dword(record[i])};
        expected.erase(missing);
        EXPECT_EQ(ReadKey(), expected);
    }

    // Left column aligned, no overlap (one pixel is touching: dialog units round), no text cut off.
    void ExpectLayout() const {
        RECT dialog, r, overlap;
        GetClientRect(dialog_, &dialog);
        MapWindowPoints(dialog_, nullptr, reinterpret_cast<POINT*>(&dialog), 2);
        std::vector<RECT> placed;
        for (HWND c = GetWindow(dialog_, GW_CHILD); c;
             c = GetWindow(c, GW_HWNDNEXT), placed.push_back(r)) {
            const int id = GetDlgCtrlID(c), box = id >= IDC_WINDOWED && id <= IDC_BGM_STEREO;
            GetWindowRect(c, &r);
            EXPECT_LE(Probe(c).textWidth + 20 * box, r.right - r.left) << id;
            EXPECT_TRUE(placed.empty() || r.left == placed[0].left || id == IDC_LOAD ||
                        id == IDC_ABOUT)
                << id;
            EXPECT_TRUE(IntersectRect(&overlap, &r, &dialog) && EqualRect(&overlap, &r)) << id;
            for (const RECT& other : placed)
                EXPECT_FALSE(IntersectRect(&overlap, &r, &other) &&
                             overlap.bottom > overlap.top + 1)
                    << id;
        }
    }

    // The message box `open` opens, owned by the dialog: texts, icon or none, only OK, clicked.
    void ExpectBox(auto open, int language, int caption, int text, bool icon) const {
        open();
        HWND box = nullptr;
        Await([&] { return (box = Front(dialog_)) != nullptr; }, "a message box in front");
        EXPECT_EQ(Text(box), Expected(language, caption));
        EXPECT_EQ(Text(GetDlgItem(box, 0xFFFF)), Expected(language, text));
        EXPECT_EQ(Send(GetDlgItem(box, 1088), STM_GETICON) != 0, icon);  // Wine's icon control
        for (int id = IDCANCEL; id <= IDCONTINUE; ++id)                  // no button but OK
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(box, id))) << id;
        ClickAt(GetDlgItem(box, IDOK));
        // Keys go to the foreground window, which the dialog becomes again a moment later.
        Await([&] { return !IsWindow(box) && GetForegroundWindow() == dialog_; }, "OK clicked");
    }

    int localeLanguage_ = -1;
    Handle process_;
    HWND dialog_ = nullptr;
};

TEST_F(E2e, FirstStartShowsStartValuesInSimplifiedChineseAndSaveWritesThem) {
    Start();
    ExpectTexts(kSimplified);  // no key: whatever the locale; the font follows the locale
    ExpectShows(kStart);
    ExpectLayout();
    EXPECT_TRUE(Probe(dialog_).icons);

    // The focus on the first box; Space twice (its fields out of the cycle again); Tab round the
    // enabled tab stops in order; Enter and Escape on a box, an edit and the list do nothing.
    Await([&] { return Focused() == IDC_WINDOWED; }, "the focus at start");
    Tick(IDC_WINDOWED, true);
    Tick(IDC_WINDOWED, true);
    for (int id : {IDC_BGM_TESSAL, IDC_BGM_16BIT, IDC_BGM_STEREO, IDC_SAMPLE_RATE, IDC_LANGUAGE,
                   IDC_SAVE, IDC_LOAD, IDC_ABOUT, IDC_WINDOWED}) {
        const int from = Focused();
        const bool quiet = from == IDC_WINDOWED || from == IDC_SAMPLE_RATE || from == IDC_LANGUAGE;
        PressTab(id, quiet ? "Return Escape Tab" : "Tab");
    }
    EXPECT_STREQ(Shared().calls, "") << "Enter or Escape called the registry";
    EXPECT_FALSE(ReadKey()) << "starting must not write";

    Command([&] { Click(IDC_SAVE); }, "clicking Save");
    ExpectStored(kSimplified, kStart);
    PressTab(IDC_ABOUT, "Tab Tab");  // from Save; Enter on a push button presses it
    ExpectBox([] { Keys("Return"); }, kSimplified, kAboutCaption, kAboutText, false);
    Tick(IDC_BGM_STEREO);  // not saved: the close button ends the program as it is
    ClickAt(CloseButton(dialog_));
    DWORD code = WaitForSingleObject(process_.get(), 10000);
    GetExitCodeProcess(process_.get(), &code);
    EXPECT_EQ(code, 0u) << "the close button ends the program";
    ExpectStored(kSimplified, kStart);
}

TEST_F(E2e, EditsAreSavedAsTypedSurviveASwitchLoadDiscardsThemAndAFailedSaveSaysSo) {
    Start();
    for (int id : {IDC_WINDOWED, IDC_BGM_16BIT, IDC_BGM_STEREO}) Tick(id);
    // Twelve characters each, the twelfth refused: a field shows what Save reads.
    Type(IDC_SAMPLE_RATE, "-21474836480");  // -2147483648 fits
    Type(IDC_POS_X, "-12345678901");
    Type(IDC_POS_Y, "+99999999999");  // clamps
    Type(IDC_WIDTH, "12abcdefghij");  // cut short
    Type(IDC_HEIGHT, "000000000640");
    Tick(IDC_BGM_TESSAL);
    for (int id : {IDC_BGM_16BIT, IDC_BGM_STEREO, IDC_SAMPLE_RATE}) EXPECT_FALSE(Enabled(id)) << id;
    const Record saved{1, 0, 0, 0, 1, INT_MIN, -1234567890, INT_MAX, 12, 64};
    Command([&] { Click(IDC_SAVE); }, "clicking Save");
    ExpectStored(kSimplified, saved);
    EXPECT_EQ(Text(Control(IDC_WIDTH)), "12abcdefghi") << "Save does not repaint";

    // Unsaved edits survive a switch, which repaints every text and number.
    Type(IDC_HEIGHT, "777");
    for (int id : {IDC_WINDOWED, IDC_BGM_TESSAL}) Tick(id);
    const Record edited{0, 0, 1, 0, 1, INT_MIN, -1234567890, INT_MAX, 12, 777};
    for (int language : {kEnglish, kTraditional}) {
        Pick(language);
        ExpectTexts(language);
        ExpectShows(edited);
        ExpectLayout();
        ExpectBox([] { Keys("alt+a"); }, language, kAboutCaption, kAboutText, false);
    }
    // The dialog's font follows the locale alone (its size the template tests check).
    const wchar_t* faces[] = {L"宋体", L"細明體", L"MS Shell Dlg"};
    EXPECT_STREQ(Probe(Control(IDC_WINDOWED)).font.lfFaceName, faces[localeLanguage_]);
    EXPECT_EQ(Send(Control(IDC_LANGUAGE), CB_GETCOUNT), 3) << "entries are added once";
    ExpectStored(kSimplified, saved);

    Command([&] { Click(IDC_LOAD); }, "clicking Load");
    ExpectTexts(kSimplified);
    ExpectShows(saved);

    // A Save that cannot write says so in the current language; first the key is not created.
    ResetRegistry();
    Fail("create:2");
    ExpectBox([&] { Click(IDC_SAVE); }, kSimplified, kTitle, kSaveFailed, true);
    EXPECT_FALSE(ReadKey());
    // A write failing midway: the others still written; no selection (none a person makes): OTHER.
    Send(Control(IDC_LANGUAGE), CB_SETCURSEL, WPARAM(-1));
    Fail("write:BgmStereo");
    ExpectBox([&] { Click(IDC_SAVE); }, kEnglish, kTitle, kSaveFailed, true);
    ExpectStored(kEnglish, saved, "BgmStereo");
    ResetRegistry();
    // No key to read: the record stays as the dialog last gave it.
    Command([&] { Click(IDC_LOAD); }, "clicking Load without a key");
    ExpectShows(saved);
    EXPECT_EQ(Text(dialog_), Expected(kEnglish, kTitle));
}

TEST_F(E2e, StoredValuesAreTypeCheckedShownNormalisedAndSavedBackClean) {
    // Mistyped and missized values are left as the record holds them, at first the start values.
    const std::pair<const char*, std::string> dwords[] = {
        {"Windowed", Dword(1) + Dword(0)}, {"FullScreen", Dword(7)},
        {"BgmSampleRate", Dword(22050)},   {"Bgm16Bit", Dword(0)},
        {"BgmStereo", Dword(-1)},          {"PositionX", Dword(-20)},
        {"WindowWidth", Dword(INT_MAX)},   {"WindowHeight", Dword(1).substr(0, 3)}};
    for (const auto& [name, bytes] : dwords) Store(name, REG_DWORD, bytes);
    Store("BgmTessal", REG_BINARY, Dword(1));
    Start("/reset --language=BIG5 Windowed=1 \"C:\\no such\\file.ini\"");  // ignored
    ExpectTexts(localeLanguage_);
    ExpectShows({0, 1, 1, 0, 1, 22050, -20, 0, INT_MAX, 400});

    // Load takes only what is stored usably, drops an unsaved language; mnemonics in the locale's.
    Tick(IDC_BGM_TESSAL);
    Tick(IDC_WINDOWED);  // for the fields it governs; disabled again, they are still read
    Type(IDC_POS_Y, "7");
    Type(IDC_HEIGHT, "123");
    Tick(IDC_WINDOWED);
    Pick((localeLanguage_ + 1) % 3);
    Command([] { Keys("alt+l"); }, "Alt+L");
    const Record loaded{0, 1, 0, 0, 1, 22050, -20, 7, INT_MAX, 123};
    ExpectTexts(localeLanguage_);
    ExpectShows(loaded);
    Command([] { Keys("alt+s"); }, "Alt+S");
    ExpectStored(localeLanguage_, loaded);

    // Each data read failing in turn: that value's fallback (Windowed 1, else the start value).
    for (int i = 9; i >= 0; --i) {  // the one after it fell back on the Load before
        Record fallback = loaded;
        fallback[i] = i == 0 ? 1 : kStart[i];
        Fail(("read:" + std::string(kFields[i].first)).c_str());
        Command([] { Keys("alt+l"); }, std::string("Alt+L failing to read ") + kFields[i].first);
        ExpectShows(fallback);
    }
}

TEST_F(E2e, StoredLanguageChoosesTheTexts) {
    // Known, other, too short or long, mistyped, no NUL, unreadable; -1: the locale's language.
    const char* dead = "read:Language";
    const std::tuple<DWORD, std::string_view, int, const char*> cases[] = {
        {REG_SZ, {"GB2312", 7}, kSimplified, ""}, {REG_SZ, {"BIG5", 5}, kTraditional, ""},
        {REG_SZ, {"OTHER", 6}, kEnglish, ""},     {REG_SZ, {"big5", 5}, kEnglish, ""},
        {REG_SZ, {"X", 2}, kEnglish, ""},         {REG_SZ, {"", 1}, -1, ""},
        {REG_SZ, {"GB2312X", 8}, -1, ""},         {REG_EXPAND_SZ, {"GB2312", 7}, -1, ""},
        {REG_SZ, {"BIG5X", 4}, kTraditional, ""}, {REG_SZ, {"GB2312", 7}, -1, dead}};
    for (const auto& [type, bytes, language, fault] : cases) {
        SCOPED_TRACE(testing::Message() << "type " << type << " " << bytes << " " << fault);
        Store("Language", type, bytes);  // in place of the one before
        Fail(fault);
        process_ ? Command([] { Keys("alt+l"); }, "Alt+L") : Start();
        ExpectTexts(language < 0 ? localeLanguage_ : language);
    }
}

using StartUp = E2e;  // what the locale does not change, run in one alone (CMakeLists.txt)
// Elevated, it must not run a planted uxtheme or dwmapi a plain program loads, nor as Vista either.
TEST_F(StartUp, ADllPlantedBesideItNeverRuns) {
    const std::string folder = TORVAN_BUILD_PATH "planted\\",
                      wine = "Software\\Wine\\AppDefaults\\";
    // Each copy, and the Windows version Wine reports to it; Wine's settings go on every way out.
    const std::tuple<const char*, std::string, const char*> copies[] = {
        {TORVAN_APP_PATH, "TorvanPatch.exe", ""},
        {TORVAN_APP_PATH, "TorvanVista.exe", "vista"},
        {TORVAN_BUILD_PATH "e2e_plain_dialog.exe", "plain.exe", "vista"},
        {TORVAN_BUILD_PATH "e2e_planted.dll", "uxtheme.dll", ""},
        {TORVAN_BUILD_PATH "e2e_planted.dll", "dwmapi.dll", ""}};
    const auto remove = [&](const void*) {
        for (const auto& [from, to, version] : copies)
            RegDeleteTreeA(HKEY_CURRENT_USER, (wine + to).c_str());
    };
    const std::unique_ptr<const void, decltype(remove)> removed(copies, remove);
    const auto set = [&](const std::string& key, const char* name, const char* value) {
        return !RegSetKeyValueA(HKEY_CURRENT_USER, (wine + key).c_str(), name, REG_SZ, value,
                                lstrlenA(value) + 1);
    };
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const auto& [from, to, version] : copies)
        Require(CopyFileA(from, (folder + to).c_str(), FALSE) &&
                    set(to + "\\DllOverrides", "uxtheme", "native,builtin") &&
                    set(to + "\\DllOverrides", "dwmapi", "native,builtin") &&
                    (!*version || set(to, "Version", version)),
                "planting " + to);
    const Handle plain(e2e::Run(folder + "plain.exe"));
    EXPECT_TRUE(WaitUntil([] { return Shared().planted; })) << "the plain program loaded no plant";
    TerminateProcess(plain.get(), 0);
    for (const char* program : {"TorvanPatch.exe", "TorvanVista.exe"}) {
        Shared().planted = FALSE;
        Start({}, folder + program);
        EXPECT_FALSE(Shared().planted) << "a DLL beside " << program << " ran inside it";
        TerminateProcess(process_.get(), 1);
    }
}

// With a display that does not exist (CMakeLists.txt) it ends at once (not 259, running), code 2.
TEST_F(StartUp, WithoutADisplayItEndsWithCode2) {
    process_.reset(e2e::Run("\"" TORVAN_APP_PATH "\""));
    DWORD code = WaitForSingleObject(process_.get(), 10000);
    GetExitCodeProcess(process_.get(), &code);
    EXPECT_EQ(code, 2u);
}

}  // namespace
}  // namespace e2e

// The settings store against a registry: natively the in-memory layer, under Wine the real one.
#include "TestSupport.h"

#include <cstdlib>
#include <limits>
#include <string>

using namespace torvan_test;

namespace {

// A Save straight after a first start: the start values in write order.
constexpr std::array<std::pair<const char*, std::int32_t>, 10> kStartValuesInWriteOrder{{
    {"Windowed", 0},
    {"FullScreen", 0},
    {"BgmTessal", 1},
    {"BgmSampleRate", 44100},
    {"BgmStereo", 0},
    {"Bgm16Bit", 1},
    {"PositionX", 0},
    {"PositionY", 0},
    {"WindowWidth", 640},
    {"WindowHeight", 400},
}};

void ExpectStoredDword(const char* name, std::int32_t expected) {
    const auto stored = GetValue(name);
    ASSERT_TRUE(stored.has_value()) << name;
    EXPECT_EQ(DWORD{REG_DWORD}, stored->type) << name;
    EXPECT_EQ(DwordBytes(expected), stored->data) << name;
}

void ExpectStoredLanguage(std::string_view text) {
    const auto stored = GetValue("Language");
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(DWORD{REG_SZ}, stored->type);
    EXPECT_EQ(TextBytes(text), stored->data);
}

// Loads with every global set to a marker value first, so untouched fields show.
void LoadOverMarkers() {
    g_settings = UntouchedMarker();
    g_uiLanguage = 77;
    LoadSettings();
}

}  // namespace

#ifdef _WIN32
// The Wine registrations pick the locale through LC_ALL and name the LANGID it must give, so a
// locale missing from the system fails here instead of silently testing another one.
TEST(SettingsLocale, UserDefaultLangIdIsTheConfiguredOne) {
    const char* expected = std::getenv("TORVAN_EXPECTED_LANGID");
    ASSERT_NE(nullptr, expected) << "TORVAN_EXPECTED_LANGID not set";
    EXPECT_EQ(std::strtoul(expected, nullptr, 0), GetUserDefaultLangID());
}
#endif

TEST(SettingsLocale, ChineseLocalesChooseTheirScriptOthersEnglish) {
    for (const LocaleCase& locale : LocalesUnderTest()) {
        EXPECT_EQ(locale.language, DefaultLanguageForLocale(locale.langId))
            << std::hex << locale.langId;
    }
}

// ---- Without the key ----

using SettingsWithoutKey = RegistryTest;

TEST_F(SettingsWithoutKey, FirstStartHasStartValuesAndLanguageZeroWhateverTheLocale) {
    for (const LocaleCase& locale : LocalesUnderTest()) {
        SCOPED_TRACE(testing::Message() << "LANGID 0x" << std::hex << locale.langId);
        ResetRegistryAndGlobals();
        UseLocale(locale.langId);
        LoadSettings();
        PatchSettings expected;
        expected.Windowed = 0;
        expected.FullScreen = 0;
        expected.BgmTessal = 1;
        expected.Bgm16Bit = 1;
        expected.BgmStereo = 0;
        expected.BgmSampleRate = 44100;
        expected.PositionX = 0;
        expected.PositionY = 0;
        expected.WindowWidth = 640;
        expected.WindowHeight = 400;
        EXPECT_EQ(expected, g_settings);
        EXPECT_EQ(0, g_uiLanguage);
        EXPECT_FALSE(ProductKeyExists()) << "a load must not create the key";
    }
}

TEST_F(SettingsWithoutKey, LoadChangesNothingHeld) {
    g_settings = UntouchedMarker();
    g_uiLanguage = 1;
    LoadSettings();
    EXPECT_EQ(UntouchedMarker(), g_settings);
    EXPECT_EQ(1, g_uiLanguage);
}

TEST_F(SettingsWithoutKey, SaveAfterFirstStartCreatesKeyWithStartValues) {
    LoadSettings();
    ASSERT_FALSE(ProductKeyExists());
    EXPECT_TRUE(SaveSettings());
    ASSERT_TRUE(ProductKeyExists());
    ExpectStoredLanguage("GB2312");
    EXPECT_EQ(7u, GetValue("Language")->data.size());
    for (const auto& [name, value] : kStartValuesInWriteOrder) ExpectStoredDword(name, value);
}

// ---- Saving ----

using SettingsSave = RegistryTest;

TEST_F(SettingsSave, LanguageIndexChoosesStoredText) {
    const std::pair<UiLanguage, std::string_view> cases[] = {
        {0, "GB2312"},
        {1, "BIG5"},
        {2, "OTHER"},
        {-1, "OTHER"},  // no selection in the combo box
        {3, "OTHER"},
        {std::numeric_limits<std::int32_t>::min(), "OTHER"},
        {std::numeric_limits<std::int32_t>::max(), "OTHER"},
    };
    for (const auto& [language, text] : cases) {
        SCOPED_TRACE(testing::Message() << "language " << language);
        g_uiLanguage = language;
        EXPECT_TRUE(SaveSettings());
        ExpectStoredLanguage(text);
        EXPECT_EQ(language, g_uiLanguage) << "a save must not change the language";
    }
}

TEST_F(SettingsSave, WritesEveryFieldUnderItsOwnNameExactlyAsHeld) {
    // Distinct values, flags out of range and negative: a save neither normalises nor mixes up.
    g_settings = UntouchedMarker();
    g_settings.Windowed = 7;
    g_settings.FullScreen = -1;
    g_settings.PositionX = -20;
    g_settings.WindowWidth = std::numeric_limits<std::int32_t>::min();
    g_settings.WindowHeight = std::numeric_limits<std::int32_t>::max();
    const PatchSettings held = g_settings;
    EXPECT_TRUE(SaveSettings());
    for (const FieldInfo& field : kFields) ExpectStoredDword(field.name, held.*field.field);
    EXPECT_EQ(held, g_settings);
}

TEST_F(SettingsSave, ReplacesValuesOfOtherTypesAndKeepsForeignValues) {
    PutText("Language", "GB2312", REG_EXPAND_SZ);
    PutRaw("WindowWidth", REG_BINARY, "\x01\x02\x03", 3);
    PutText("SomethingElse", "kept");
    g_uiLanguage = 1;
    g_settings.WindowWidth = 800;
    EXPECT_TRUE(SaveSettings());
    ExpectStoredLanguage("BIG5");
    ExpectStoredDword("WindowWidth", 800);
    const auto foreign = GetValue("SomethingElse");
    ASSERT_TRUE(foreign.has_value());
    EXPECT_EQ(TextBytes("kept"), foreign->data);
}

TEST_F(SettingsSave, RoundTripKeepsEveryFieldAndTheLanguage) {
    PatchSettings saved;
    saved.Windowed = 1;
    saved.FullScreen = 1;
    saved.BgmTessal = 0;
    saved.Bgm16Bit = 0;
    saved.BgmStereo = 1;
    saved.BgmSampleRate = 22050;
    saved.PositionX = -20;
    saved.PositionY = 48;
    saved.WindowWidth = 1024;
    saved.WindowHeight = 768;
    for (UiLanguage language : {0, 1, 2}) {
        SCOPED_TRACE(testing::Message() << "language " << language);
        g_settings = saved;
        g_uiLanguage = language;
        ASSERT_TRUE(SaveSettings());
        LoadOverMarkers();
        EXPECT_EQ(saved, g_settings);
        EXPECT_EQ(language, g_uiLanguage);
    }
}

TEST_F(SettingsSave, NegativePositionRoundTrips) {
    PutDword("PositionX", -20);
    LoadSettings();
    EXPECT_EQ(-20, g_settings.PositionX);
    EXPECT_TRUE(SaveSettings());
    ExpectStoredDword("PositionX", -20);
}

// ---- Loading the language ----

using SettingsLoadLanguage = RegistryTest;

TEST_F(SettingsLoadLanguage, KeyWithoutLanguageFollowsTheLocale) {
    for (const LocaleCase& locale : LocalesUnderTest()) {
        SCOPED_TRACE(testing::Message() << "LANGID 0x" << std::hex << locale.langId);
        ResetRegistryAndGlobals();
        UseLocale(locale.langId);
        CreateProductKey();
        LoadOverMarkers();
        EXPECT_EQ(locale.language, g_uiLanguage);
        EXPECT_EQ(UntouchedMarker(), g_settings) << "absent values leave their fields";
    }
}

TEST_F(SettingsLoadLanguage, StoredTextWinsOverTheLocale) {
    struct Case {
        const char* text;
        UiLanguage expected;
    };
    const Case cases[] = {
        {"GB2312", 0}, {"BIG5", 1}, {"OTHER", 2},  // English as saved
        {"big5", 2},                               // the comparison is case-sensitive
        {"gb2312", 2},                             // likewise
        {"X", 2},                                  // shortest accepted: 2 bytes
        {"ENGLSH", 2},                             // longest accepted: 7 bytes
        {"BIG5 ", 2},
    };
    for (const LocaleCase& locale : LocalesUnderTest()) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message()
                         << "LANGID 0x" << std::hex << locale.langId << " text " << c.text);
            ResetRegistryAndGlobals();
            UseLocale(locale.langId);
            PutText("Language", c.text);
            LoadOverMarkers();
            EXPECT_EQ(c.expected, g_uiLanguage);
        }
    }
}

TEST_F(SettingsLoadLanguage, UnusableValueLeavesTheLocaleLanguage) {
    struct Case {
        const char* what;
        DWORD type;
        std::vector<BYTE> data;
    };
    const Case cases[] = {
        {"seven characters (8 bytes)", REG_SZ, TextBytes("GB23121")},
        {"longer text", REG_SZ, TextBytes("GB2312 Simplified")},
        {"REG_EXPAND_SZ", REG_EXPAND_SZ, TextBytes("GB2312")},
        {"REG_MULTI_SZ", REG_MULTI_SZ, {'B', 'I', 'G', '5', 0, 0}},
        {"REG_BINARY", REG_BINARY, TextBytes("GB2312")},
        {"REG_DWORD", REG_DWORD, DwordBytes(0)},
        {"empty text (1 byte)", REG_SZ, TextBytes("")},
        {"no data", REG_SZ, {}},
    };
    for (const LocaleCase& locale : LocalesUnderTest()) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message()
                         << "LANGID 0x" << std::hex << locale.langId << ": " << c.what);
            ResetRegistryAndGlobals();
            UseLocale(locale.langId);
            PutRaw("Language", c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
            LoadOverMarkers();
            EXPECT_EQ(locale.language, g_uiLanguage);
        }
    }
}

TEST_F(SettingsLoadLanguage, TextWithoutTerminatorComparesOnlyTheBytesStored) {
    // Another writer may store the text without its NUL. The byte after the counted ones is not
    // NUL, so the registry keeps the count as given (it counts in a NUL that directly follows).
    struct Case {
        const char* buffer;
        DWORD count;
        UiLanguage expected;
    };
    const Case cases[] = {
        {"GB2312#", 6, 0},    // reads as "GB2312"
        {"BIG5#", 4, 1},      // reads as "BIG5"
        {"GB23121#", 7, 2},   // seven characters, none of the names
        {"BIG5\0XY#", 7, 1},  // the text ends at its NUL
    };
    for (const LocaleCase& locale : LocalesUnderTest()) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "LANGID 0x" << std::hex << locale.langId
                                            << " stored " << std::string_view(c.buffer, c.count));
            ResetRegistryAndGlobals();
            UseLocale(locale.langId);
            PutRaw("Language", REG_SZ, c.buffer, c.count);
            const auto stored = GetValue("Language");
            ASSERT_TRUE(stored.has_value());
            ASSERT_EQ(c.count, stored->data.size()) << "the registry changed the stored size";
            LoadOverMarkers();
            EXPECT_EQ(c.expected, g_uiLanguage);
        }
    }
}

// ---- Loading the 32-bit values ----

using SettingsLoadValues = RegistryTest;

TEST_F(SettingsLoadValues, EachValueLandsInItsOwnField) {
    // One value at a time, so a mix-up of names or fields cannot hide behind equal values.
    for (const FieldInfo& field : kFields) {
        SCOPED_TRACE(field.name);
        ResetRegistryAndGlobals();
        const std::int32_t stored = field.isFlag ? 1 : 9000 + (&field - kFields.data());
        PutDword(field.name, stored);
        LoadOverMarkers();
        PatchSettings expected = UntouchedMarker();
        expected.*field.field = stored;
        EXPECT_EQ(expected, g_settings);
    }
}

TEST_F(SettingsLoadValues, FlagsReadAsZeroOrOne) {
    const std::pair<std::int32_t, std::int32_t> cases[] = {
        {0, 0}, {1, 1}, {7, 1}, {-1, 1}, {std::numeric_limits<std::int32_t>::min(), 1}};
    for (const FieldInfo& field : kFields) {
        if (!field.isFlag) continue;
        for (const auto& [stored, loaded] : cases) {
            SCOPED_TRACE(testing::Message() << field.name << " stored as " << stored);
            ResetRegistryAndGlobals();
            PutDword(field.name, stored);
            LoadOverMarkers();
            EXPECT_EQ(loaded, g_settings.*field.field);
        }
    }
}

TEST_F(SettingsLoadValues, WindowedSevenReadsAsOneAndSavesBackAsOne) {
    PutDword("Windowed", 7);
    LoadSettings();
    EXPECT_EQ(1, g_settings.Windowed);
    EXPECT_TRUE(SaveSettings());
    ExpectStoredDword("Windowed", 1);
}

TEST_F(SettingsLoadValues, IntegersReadAsStored) {
    const std::int32_t cases[] = {-20,
                                  0,
                                  1,
                                  96000,
                                  std::numeric_limits<std::int32_t>::min(),
                                  std::numeric_limits<std::int32_t>::max()};
    for (const FieldInfo& field : kFields) {
        if (field.isFlag) continue;
        for (std::int32_t stored : cases) {
            SCOPED_TRACE(testing::Message() << field.name << " stored as " << stored);
            ResetRegistryAndGlobals();
            PutDword(field.name, stored);
            LoadOverMarkers();
            EXPECT_EQ(stored, g_settings.*field.field);
        }
    }
}

TEST_F(SettingsLoadValues, MistypedOrMissizedValueLeavesTheField) {
    struct Case {
        const char* what;
        DWORD type;
        std::vector<BYTE> data;
    };
    const Case cases[] = {
        {"4 bytes of REG_BINARY", REG_BINARY, DwordBytes(22050)},
        {"8 bytes typed REG_DWORD", REG_DWORD, {0x22, 0x56, 0, 0, 0, 0, 0, 0}},
        {"2 bytes typed REG_DWORD", REG_DWORD, {0x22, 0x56}},
        {"empty REG_DWORD", REG_DWORD, {}},
        {"REG_QWORD", REG_QWORD, {0x22, 0x56, 0, 0, 0, 0, 0, 0}},
        {"REG_SZ", REG_SZ, TextBytes("22050")},
    };
    for (const char* name : {"BgmSampleRate", "Windowed"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << name << ": " << c.what);
            ResetRegistryAndGlobals();
            PutRaw(name, c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
            LoadOverMarkers();
            // Neither the stored data nor the fallback: the field keeps what it held.
            EXPECT_EQ(UntouchedMarker(), g_settings);
        }
    }
}

TEST_F(SettingsLoadLanguage, EveryLoadThatOpensTheKeyResetsTheLanguageToTheLocale) {
    for (const LocaleCase& locale : LocalesUnderTest()) {
        SCOPED_TRACE(testing::Message() << "LANGID 0x" << std::hex << locale.langId);
        ResetRegistryAndGlobals();
        UseLocale(locale.langId);
        // A stored language other than the locale's, then none.
        const bool localeIsTraditional = locale.language == 1;
        PutText("Language", localeIsTraditional ? "GB2312" : "BIG5");
        LoadSettings();
        EXPECT_EQ(localeIsTraditional ? 0 : 1, g_uiLanguage);
        DeleteValue("Language");
        LoadSettings();
        EXPECT_EQ(locale.language, g_uiLanguage);
    }
}

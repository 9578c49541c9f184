// Native only: failures and call order, which need the in-memory layer's controls.
#include "TestSupport.h"

#include <algorithm>
#include <string>

using namespace torvan_test;

namespace {

using SettingsFaults = RegistryTest;

std::vector<std::string> NamesOf(const std::vector<fake_registry::WriteRecord>& log) {
    std::vector<std::string> names;
    for (const auto& record : log) names.push_back(record.name);
    return names;
}

std::vector<std::string> ExpectedOrder() {
    std::vector<std::string> names{"Language"};
    for (const FieldInfo& field : kFields) names.emplace_back(field.name);
    return names;
}

// Stores every value, each different from its start value and its fallback.
void StoreDistinctValues() {
    PutText("Language", "BIG5");
    for (const FieldInfo& field : kFields) {
        PutDword(field.name, field.isFlag ? 1 - field.fallback : 7000 + (&field - kFields.data()));
    }
}

TEST_F(SettingsFaults, SaveWritesLanguageThenTheTenValuesInOrder) {
    LoadSettings();  // no key: start values
    ASSERT_TRUE(SaveSettings());
    const auto log = fake_registry::WriteLog();
    ASSERT_EQ(11u, log.size());
    EXPECT_EQ("Language", log[0].name);
    EXPECT_EQ(DWORD{REG_SZ}, log[0].type);
    EXPECT_EQ(TextBytes("GB2312"), log[0].data);
    const std::pair<const char*, std::int32_t> expected[] = {
        {"Windowed", 0},      {"FullScreen", 0},     {"BgmTessal", 1}, {"BgmSampleRate", 44100},
        {"BgmStereo", 0},     {"Bgm16Bit", 1},       {"PositionX", 0}, {"PositionY", 0},
        {"WindowWidth", 640}, {"WindowHeight", 400},
    };
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(expected[i].first);
        EXPECT_EQ(expected[i].first, log[i + 1].name);
        EXPECT_EQ(DWORD{REG_DWORD}, log[i + 1].type);
        EXPECT_EQ(DwordBytes(expected[i].second), log[i + 1].data);
        EXPECT_EQ(ERROR_SUCCESS, log[i + 1].result);
    }
}

TEST_F(SettingsFaults, LoadReadsLanguageThenTheTenValuesInOrder) {
    StoreDistinctValues();
    LoadSettings();
    EXPECT_EQ(ExpectedOrder(), fake_registry::DataReadLog());
}

TEST_F(SettingsFaults, LoadThatCannotOpenTheKeyChangesNothing) {
    StoreDistinctValues();
    for (const LocaleCase& locale : LocalesUnderTest()) {
        SCOPED_TRACE(testing::Message() << "LANGID 0x" << std::hex << locale.langId);
        UseLocale(locale.langId);
        g_settings = UntouchedMarker();
        g_uiLanguage = 77;
        fake_registry::FailOpen(true);
        LoadSettings();
        fake_registry::FailOpen(false);
        EXPECT_EQ(UntouchedMarker(), g_settings);
        EXPECT_EQ(77, g_uiLanguage);
    }
    EXPECT_TRUE(fake_registry::DataReadLog().empty());
}

TEST_F(SettingsFaults, SaveThatCannotCreateTheKeyWritesNothingAndFails) {
    fake_registry::FailCreate(true);
    EXPECT_FALSE(SaveSettings());
    fake_registry::FailCreate(false);
    EXPECT_TRUE(fake_registry::WriteLog().empty());
    EXPECT_FALSE(ProductKeyExists());
}

TEST_F(SettingsFaults, FailedWriteStillWritesEveryOtherValueAndFails) {
    for (const std::string& failing : ExpectedOrder()) {
        SCOPED_TRACE(failing);
        ResetRegistryAndGlobals();
        g_settings = UntouchedMarker();
        g_uiLanguage = 1;
        fake_registry::FailSetValue(failing);
        EXPECT_FALSE(SaveSettings());

        const auto log = fake_registry::WriteLog();
        EXPECT_EQ(ExpectedOrder(), NamesOf(log)) << "every value is tried once, in order";
        for (const auto& record : log) {
            EXPECT_EQ(record.name == failing ? ERROR_ACCESS_DENIED : ERROR_SUCCESS, record.result)
                << record.name;
        }
        EXPECT_EQ(failing != "Language", GetValue("Language").has_value());
        for (const FieldInfo& field : kFields) {
            const auto stored = GetValue(field.name);
            if (failing == field.name) {
                EXPECT_FALSE(stored.has_value()) << field.name;
            } else {
                ASSERT_TRUE(stored.has_value()) << field.name;
                EXPECT_EQ(DwordBytes(UntouchedMarker().*field.field), stored->data) << field.name;
            }
        }
    }
}

TEST_F(SettingsFaults, DataReadFailureAfterGoodSizeQueryStoresTheFallback) {
    for (const FieldInfo& failing : kFields) {
        SCOPED_TRACE(failing.name);
        ResetRegistryAndGlobals();
        StoreDistinctValues();
        LoadSettings();
        const PatchSettings allRead = g_settings;
        ASSERT_NE(failing.fallback, allRead.*failing.field) << "test data must differ";

        fake_registry::FailQueryData(failing.name);
        g_settings = UntouchedMarker();
        LoadSettings();
        PatchSettings expected = allRead;
        expected.*failing.field = failing.fallback;  // Windowed: 1, the others their start value
        EXPECT_EQ(expected, g_settings);
        EXPECT_EQ(1, g_uiLanguage);
    }
}

TEST_F(SettingsFaults, WindowedFallsBackToOneThoughItStartsAtZero) {
    PutDword("Windowed", 0);
    fake_registry::FailQueryData("Windowed");
    LoadSettings();
    EXPECT_EQ(1, g_settings.Windowed);
}

TEST_F(SettingsFaults, LanguageReadFailureKeepsTheLocaleLanguage) {
    for (const LocaleCase& locale : LocalesUnderTest()) {
        SCOPED_TRACE(testing::Message() << "LANGID 0x" << std::hex << locale.langId);
        ResetRegistryAndGlobals();
        UseLocale(locale.langId);
        PutText("Language", locale.language == 1 ? "GB2312" : "BIG5");
        fake_registry::FailQueryData("Language");
        g_uiLanguage = 77;
        LoadSettings();
        EXPECT_EQ(locale.language, g_uiLanguage);
    }
}

TEST_F(SettingsFaults, NoKeyHandleOutlivesALoadOrSave) {
    LoadSettings();
    EXPECT_TRUE(SaveSettings());
    LoadSettings();
    fake_registry::FailSetValue("Windowed");
    EXPECT_FALSE(SaveSettings());
    EXPECT_EQ(0, fake_registry::OpenHandleCount());
    EXPECT_EQ(0, fake_registry::RootKeyCloseCount());
}

TEST(RegKeyOwnership, ClosesWhatItOwnsButNeverARootKey) {
    fake_registry::Reset();
    {
        RegKey key;
        ASSERT_EQ(ERROR_SUCCESS,
                  RegCreateKeyExA(HKEY_CURRENT_USER, "Owned", 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, key.put(), nullptr));
        EXPECT_EQ(1, fake_registry::OpenHandleCount());
        // Reusing the holder closes the previous key first.
        ASSERT_EQ(ERROR_SUCCESS,
                  RegOpenKeyExA(HKEY_CURRENT_USER, "Owned", 0, KEY_QUERY_VALUE, key.put()));
        EXPECT_EQ(1, fake_registry::OpenHandleCount());
        RegKey root(HKEY_LOCAL_MACHINE);
        EXPECT_TRUE(root);
    }
    EXPECT_EQ(0, fake_registry::OpenHandleCount());
    EXPECT_EQ(0, fake_registry::RootKeyCloseCount());
    fake_registry::Reset();
}

}  // namespace

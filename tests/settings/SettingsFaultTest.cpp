// What only a stand-in registry can provoke: a failed write, a failed data read, a key that cannot
// be created, a language stored without its NUL. The rest of the store is checked end to end
// against the real registry.
#include <gtest/gtest.h>

#include "Registry.h"
#include "Settings.h"

namespace {

struct Field {
    const char* name;
    std::int32_t PatchSettings::*member;
    std::int32_t fallback;  // what a failed data read stores
};
// In the order the game patch's values are read and written.
constexpr Field kFields[] = {{"Windowed", &PatchSettings::Windowed, 1},
                             {"FullScreen", &PatchSettings::FullScreen, 0},
                             {"BgmTessal", &PatchSettings::BgmTessal, 1},
                             {"BgmSampleRate", &PatchSettings::BgmSampleRate, 44100},
                             {"BgmStereo", &PatchSettings::BgmStereo, 0},
                             {"Bgm16Bit", &PatchSettings::Bgm16Bit, 1},
                             {"PositionX", &PatchSettings::PositionX, 0},
                             {"PositionY", &PatchSettings::PositionY, 0},
                             {"WindowWidth", &PatchSettings::WindowWidth, 640},
                             {"WindowHeight", &PatchSettings::WindowHeight, 400}};

class SettingsFaults : public ::testing::Test {
  protected:
    void SetUp() override { g_fakeRegistry = {}, g_settings = {}, g_uiLanguage = 0; }
    void TearDown() override { EXPECT_EQ(g_fakeRegistry.openKeys, 0) << "a key left open"; }
};

TEST_F(SettingsFaults, FailedWriteStillWritesEveryOtherValueAndReportsFailure) {
    for (int i = 0; const Field& f : kFields) g_settings.*f.member = -100 - i++;
    g_uiLanguage = -1;  // what an empty combo selection reads as
    g_fakeRegistry.failWrite = "BgmStereo";
    EXPECT_FALSE(SaveSettings());
    std::vector<std::string> order{"Language"};
    for (const Field& f : kFields) order.emplace_back(f.name);
    EXPECT_EQ(g_fakeRegistry.writes, order);
    EXPECT_EQ(g_fakeRegistry.values["Language"], std::pair(REG_SZ, std::string("OTHER", 6)));
    for (const Field& f : kFields) {
        const auto bytes = reinterpret_cast<const char*>(&(g_settings.*f.member));
        if (f.name != g_fakeRegistry.failWrite)
            EXPECT_EQ(g_fakeRegistry.values[f.name], std::pair(REG_DWORD, std::string(bytes, 4)));
    }
    g_fakeRegistry = {.failCreate = true};
    EXPECT_FALSE(SaveSettings());
    EXPECT_TRUE(g_fakeRegistry.writes.empty());
}

TEST_F(SettingsFaults, FailedDataReadStoresTheFallbackOfThatValueOnly) {
    // Each value holds what differs from its fallback: 0 where the fallback is 1, else 1.
    const auto stored = [](const Field& f) { return f.fallback == 1 ? 0 : 1; };
    for (const Field& failing : kFields) {
        g_fakeRegistry = {.keyExists = true, .failDataRead = failing.name};
        for (const Field& f : kFields)
            g_fakeRegistry.values[f.name] = {REG_DWORD, {static_cast<char>(stored(f)), 0, 0, 0}};
        g_settings = {};
        LoadSettings();
        for (const Field& f : kFields)
            EXPECT_EQ(g_settings.*f.member, &f == &failing ? f.fallback : stored(f)) << f.name;
    }
}

TEST_F(SettingsFaults, FlagStoredAsAnyNonZeroValueReadsAsOne) {
    g_fakeRegistry = {.keyExists = true};
    g_fakeRegistry.values["FullScreen"] = {REG_DWORD, {"\x00\x01\0\0", 4}};
    LoadSettings();
    EXPECT_EQ(g_settings.FullScreen, 1);
}

TEST_F(SettingsFaults, LanguageStoredWithoutNulOrUnreadable) {
    const struct {
        std::string_view bytes;
        bool readFails;
        int language;
    } cases[] = {
        {"GB2312", false, 0},
        {"BIG5", false, 1},
        {"BIG5X", false, 2},       // compared up to the NUL
        {{"OTHER", 6}, true, 1}};  // unreadable: the locale's language (0x0C04: Traditional)
    for (const auto& c : cases) {
        g_fakeRegistry = {
            .keyExists = true, .failDataRead = c.readFails ? "Language" : "", .langId = 0x0C04};
        g_fakeRegistry.values["Language"] = {REG_SZ, std::string(c.bytes)};
        LoadSettings();
        EXPECT_EQ(g_uiLanguage, c.language) << c.bytes;
    }
}

}  // namespace

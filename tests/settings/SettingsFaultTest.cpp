// What only a stand-in registry can provoke: a failed write, a failed data read, a key that cannot
// be created, a language stored without its NUL. The rest of the store is checked end to end
// against the real registry.
#include <gtest/gtest.h>

#include "Registry.h"
#include "Settings.h"

namespace {

// The values in the order they are read and written, with what a failed data read stores.
const std::pair<const char*, std::int32_t> kFallbacks[] = {
    {"Windowed", 1},      {"FullScreen", 0},    {"BgmTessal", 1}, {"BgmSampleRate", 44100},
    {"BgmStereo", 0},     {"Bgm16Bit", 1},      {"PositionX", 0}, {"PositionY", 0},
    {"WindowWidth", 640}, {"WindowHeight", 400}};

std::pair<DWORD, std::string> Dword(std::int32_t value) {
    return {REG_DWORD, std::string(reinterpret_cast<const char*>(&value), 4)};
}

class SettingsFaults : public ::testing::Test {
  protected:
    void SetUp() override { g_settings = {}, g_uiLanguage = 0; }
    void TearDown() override { EXPECT_EQ(g_fakeRegistry.openKeys, 0) << "a key left open"; }
};

TEST_F(SettingsFaults, FailedWriteStillWritesEveryOtherValueAndReportsFailure) {
    g_fakeRegistry = {.failWrite = "BgmStereo"};
    g_uiLanguage = -1;  // what an empty combo selection reads as
    EXPECT_FALSE(SaveSettings());
    std::vector<std::string> order{"Language"};
    for (const auto& [name, fallback] : kFallbacks) order.emplace_back(name);
    EXPECT_EQ(g_fakeRegistry.writes, order);
    EXPECT_EQ(g_fakeRegistry.values.size(), 10u);
    EXPECT_EQ(g_fakeRegistry.values["Language"], std::pair(REG_SZ, std::string("OTHER", 6)));
    g_fakeRegistry = {.failCreate = true};
    EXPECT_FALSE(SaveSettings());
    EXPECT_TRUE(g_fakeRegistry.writes.empty());
}

TEST_F(SettingsFaults, FailedDataReadStoresTheFallbackAndFlagsReadAsOne) {
    // Each value holds what differs from its fallback, saved back as it was read.
    const auto stored = [](std::int32_t fallback) { return fallback == 1 ? 0 : 1; };
    for (const auto& [failing, fallback] : kFallbacks) {
        g_fakeRegistry = {.keyExists = true, .failDataRead = failing};
        for (const auto& [name, f] : kFallbacks) g_fakeRegistry.values[name] = Dword(stored(f));
        g_fakeRegistry.values["FullScreen"] = Dword(256);  // a flag: any non-zero value is set
        LoadSettings();
        SaveSettings();
        for (const auto& [name, f] : kFallbacks)
            EXPECT_EQ(g_fakeRegistry.values[name], Dword(name == failing ? f : stored(f))) << name;
    }
}

// Compared up to the bytes read, as if the NUL were there; unreadable: the locale's language.
TEST_F(SettingsFaults, LanguageStoredWithoutNulOrUnreadable) {
    using Case = std::tuple<std::string_view, bool, int>;  // bytes, read fails, language
    for (auto [bytes, readFails, language] : {Case{"GB2312", false, 0},
                                              {"BIG5", false, 1},
                                              {"BIG5X", false, 2},
                                              {{"OTHER", 6}, true, 1}}) {
        g_fakeRegistry = {
            .keyExists = true, .failDataRead = readFails ? "Language" : "", .langId = 0x0C04};
        g_fakeRegistry.values["Language"] = {REG_SZ, std::string(bytes)};
        LoadSettings();
        EXPECT_EQ(g_uiLanguage, language) << bytes;
    }
}

}  // namespace

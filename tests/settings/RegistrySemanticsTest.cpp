// What the store relies on from the registry calls. The same cases run natively against our
// in-memory layer and under Wine against the real registry, so the two cannot drift apart.
#include "TestSupport.h"

#include <cstring>

using namespace torvan_test;

namespace {

class RegistrySemantics : public RegistryTest {
  protected:
    void SetUp() override {
        RegistryTest::SetUp();
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, nullptr,
                                                 REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                                 key_.put(), nullptr));
    }
    void TearDown() override {
        key_.Close();
        RegistryTest::TearDown();
    }

    LONG Set(const char* name, DWORD type, const void* data, DWORD count) {
        return RegSetValueExA(key_.get(), name, 0, type, static_cast<const BYTE*>(data), count);
    }

    RegKey key_;
};

TEST_F(RegistrySemantics, SizeQueryWithoutBufferGivesTypeAndSize) {
    const auto dword = DwordBytes(44100);
    ASSERT_EQ(ERROR_SUCCESS, Set("Rate", REG_DWORD, dword.data(), 4));
    ASSERT_EQ(ERROR_SUCCESS, Set("Text", REG_SZ, "abc", 4));

    DWORD type = REG_NONE;
    DWORD size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key_.get(), "Rate", nullptr, &type, nullptr, &size));
    EXPECT_EQ(DWORD{REG_DWORD}, type);
    EXPECT_EQ(4u, size);
    size = 1000;  // the size asked with no buffer does not depend on what came in
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key_.get(), "Text", nullptr, &type, nullptr, &size));
    EXPECT_EQ(DWORD{REG_SZ}, type);
    EXPECT_EQ(4u, size);
}

TEST_F(RegistrySemantics, TooSmallBufferGivesMoreDataAndTheRequiredSize) {
    const auto dword = DwordBytes(0x01020304);
    ASSERT_EQ(ERROR_SUCCESS, Set("Rate", REG_DWORD, dword.data(), 4));
    ASSERT_EQ(ERROR_SUCCESS, Set("Text", REG_SZ, "GB2312", 7));
    for (const char* name : {"Rate", "Text"}) {
        SCOPED_TRACE(name);
        std::array<BYTE, 8> buffer{};
        DWORD type = REG_NONE;
        DWORD size = 2;
        EXPECT_EQ(ERROR_MORE_DATA,
                  RegQueryValueExA(key_.get(), name, nullptr, &type, buffer.data(), &size));
        EXPECT_EQ(std::strcmp(name, "Rate") == 0 ? 4u : 7u, size);
        EXPECT_EQ(std::strcmp(name, "Rate") == 0 ? DWORD{REG_DWORD} : DWORD{REG_SZ}, type);
    }
}

TEST_F(RegistrySemantics, ExactBufferReadsTheData) {
    const auto dword = DwordBytes(-20);
    ASSERT_EQ(ERROR_SUCCESS, Set("PositionX", REG_DWORD, dword.data(), 4));
    std::array<BYTE, 4> buffer{};
    DWORD type = REG_NONE;
    DWORD size = 4;
    EXPECT_EQ(ERROR_SUCCESS,
              RegQueryValueExA(key_.get(), "PositionX", nullptr, &type, buffer.data(), &size));
    EXPECT_EQ(4u, size);
    EXPECT_EQ(dword, std::vector<BYTE>(buffer.begin(), buffer.end()));
}

TEST_F(RegistrySemantics, MissingValueAndMissingKeyAreFileNotFound) {
    DWORD type = 12345;
    DWORD size = 0;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              RegQueryValueExA(key_.get(), "Absent", nullptr, &type, nullptr, &size));
    RegKey absent;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Kavrenta\\Torvan\\No", 0,
                            KEY_QUERY_VALUE, absent.put()));
    EXPECT_FALSE(absent);
}

TEST_F(RegistrySemantics, TypesAndSizesAreKeptAsWritten) {
    struct Case {
        const char* name;
        DWORD type;
        std::vector<BYTE> data;
    };
    const Case cases[] = {
        {"Binary3", REG_BINARY, {1, 2, 3}},
        {"Dword8", REG_DWORD, {1, 2, 3, 4, 5, 6, 7, 8}},
        {"Dword2", REG_DWORD, {1, 2}},
        {"DwordEmpty", REG_DWORD, {}},
        {"Qword", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}},
        {"Expand", REG_EXPAND_SZ, TextBytes("GB2312")},
        {"Multi", REG_MULTI_SZ, {'a', 0, 'b', 0, 0}},
        {"None", REG_NONE, {}},
        {"EmptyText", REG_SZ, {}},
        {"Embedded", REG_SZ, {'B', 'I', 'G', '5', 0, 'X', 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(ERROR_SUCCESS,
                  Set(c.name, c.type, c.data.data(), static_cast<DWORD>(c.data.size())));
        const auto stored = GetValue(c.name);
        ASSERT_TRUE(stored.has_value());
        EXPECT_EQ(c.type, stored->type);
        EXPECT_EQ(c.data, stored->data);
    }
}

TEST_F(RegistrySemantics, RewriteReplacesTypeAndSize) {
    ASSERT_EQ(ERROR_SUCCESS, Set("Language", REG_EXPAND_SZ, "GB2312", 7));
    ASSERT_EQ(ERROR_SUCCESS, Set("Language", REG_SZ, "BIG5", 5));
    const auto stored = GetValue("Language");
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(DWORD{REG_SZ}, stored->type);
    EXPECT_EQ(TextBytes("BIG5"), stored->data);
}

TEST_F(RegistrySemantics, AccessMaskIsEnforced) {
    ASSERT_EQ(ERROR_SUCCESS, Set("Windowed", REG_DWORD, DwordBytes(1).data(), 4));
    const auto two = DwordBytes(2);

    RegKey queryOnly;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_QUERY_VALUE, queryOnly.put()));
    EXPECT_EQ(ERROR_ACCESS_DENIED,
              RegSetValueExA(queryOnly.get(), "Windowed", 0, REG_DWORD, two.data(), 4));
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteValueA(queryOnly.get(), "Windowed"));

    RegKey setOnly;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_SET_VALUE, nullptr, setOnly.put(), nullptr));
    DWORD size = 0;
    EXPECT_EQ(ERROR_ACCESS_DENIED,
              RegQueryValueExA(setOnly.get(), "Windowed", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(ERROR_SUCCESS,
              RegSetValueExA(setOnly.get(), "Windowed", 0, REG_DWORD, two.data(), 4));
    EXPECT_EQ(DwordBytes(2), GetValue("Windowed")->data);
}

TEST_F(RegistrySemantics, StringSetWithoutTerminatorGetsTheNulThatFollows) {
    // Counted without its NUL, but a NUL follows: the NUL is counted in.
    ASSERT_EQ(ERROR_SUCCESS, Set("Followed", REG_SZ, "GB2312", 6));
    EXPECT_EQ(TextBytes("GB2312"), GetValue("Followed")->data);
    ASSERT_EQ(ERROR_SUCCESS, Set("FollowedExpand", REG_EXPAND_SZ, "GB2312", 6));
    EXPECT_EQ(TextBytes("GB2312"), GetValue("FollowedExpand")->data);
    // No NUL follows: stored as counted. Binary data is never touched.
    ASSERT_EQ(ERROR_SUCCESS, Set("Unfollowed", REG_SZ, "GB2312#", 6));
    EXPECT_EQ(std::vector<BYTE>({'G', 'B', '2', '3', '1', '2'}), GetValue("Unfollowed")->data);
    ASSERT_EQ(ERROR_SUCCESS, Set("Binary", REG_BINARY, "GB2312", 6));
    EXPECT_EQ(6u, GetValue("Binary")->data.size());
}

TEST_F(RegistrySemantics, UnterminatedStringReadGetsNulOnlyWhenThereIsRoom) {
    ASSERT_EQ(ERROR_SUCCESS, Set("Language", REG_SZ, "BIG5#", 4));
    std::array<BYTE, 8> buffer;

    buffer.fill('#');
    DWORD size = 4;  // exact: nothing written past the data
    EXPECT_EQ(ERROR_SUCCESS,
              RegQueryValueExA(key_.get(), "Language", nullptr, nullptr, buffer.data(), &size));
    EXPECT_EQ(4u, size);
    EXPECT_EQ('#', buffer[4]);

    buffer.fill('#');
    size = static_cast<DWORD>(buffer.size());
    EXPECT_EQ(ERROR_SUCCESS,
              RegQueryValueExA(key_.get(), "Language", nullptr, nullptr, buffer.data(), &size));
    EXPECT_EQ(4u, size);
    EXPECT_EQ(0, buffer[4]);
    EXPECT_EQ('#', buffer[5]);
}

TEST_F(RegistrySemantics, KeyPathsAndValueNamesIgnoreCase) {
    ASSERT_EQ(ERROR_SUCCESS, Set("BgmSampleRate", REG_DWORD, DwordBytes(22050).data(), 4));
    RegKey other;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\kavrenta\\TORVAN", 0,
                                           KEY_QUERY_VALUE, other.put()));
    DWORD size = 0;
    EXPECT_EQ(ERROR_SUCCESS,
              RegQueryValueExA(other.get(), "bgmsamplerate", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(4u, size);
    // Writing under another spelling replaces the same value.
    ASSERT_EQ(ERROR_SUCCESS, Set("BGMSAMPLERATE", REG_DWORD, DwordBytes(11025).data(), 4));
    EXPECT_EQ(DwordBytes(11025), GetValue("BgmSampleRate")->data);
}

TEST_F(RegistrySemantics, CreateMakesMissingParentsAndOpensExistingKeys) {
    key_.Close();
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Kavrenta"));
    EXPECT_FALSE(ProductKeyExists());
    DWORD disposition = 0;
    RegKey created;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_SET_VALUE, nullptr, created.put(), &disposition));
    EXPECT_EQ(DWORD{REG_CREATED_NEW_KEY}, disposition);
    RegKey opened;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_SET_VALUE, nullptr, opened.put(), &disposition));
    EXPECT_EQ(DWORD{REG_OPENED_EXISTING_KEY}, disposition);
}

TEST_F(RegistrySemantics, DeleteTreeRemovesKeyAndSubkeys) {
    RegKey child;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(key_.get(), "Child\\Grandchild", 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, child.put(), nullptr));
    child.Close();
    key_.Close();
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProductKey));
    EXPECT_FALSE(ProductKeyExists());
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProductKey));
}

TEST_F(RegistrySemantics, HandleOnADeletedKeyReportsKeyDeleted) {
    RegKey child;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(key_.get(), "Child", 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, child.put(), nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeA(key_.get(), "Child"));
    EXPECT_EQ(ERROR_KEY_DELETED,
              RegSetValueExA(child.get(), "x", 0, REG_DWORD, DwordBytes(1).data(), 4));
    DWORD size = 0;
    EXPECT_EQ(ERROR_KEY_DELETED,
              RegQueryValueExA(child.get(), "x", nullptr, nullptr, nullptr, &size));
}

TEST_F(RegistrySemantics, DeleteValue) {
    ASSERT_EQ(ERROR_SUCCESS, Set("Windowed", REG_DWORD, DwordBytes(1).data(), 4));
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteValueA(key_.get(), "Windowed"));
    EXPECT_FALSE(GetValue("Windowed").has_value());
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteValueA(key_.get(), "Windowed"));
}

TEST(RegistryStrings, LstrcmpAIsCaseSensitiveForEquality) {
    EXPECT_EQ(0, lstrcmpA("GB2312", "GB2312"));
    EXPECT_NE(0, lstrcmpA("big5", "BIG5"));
    EXPECT_NE(0, lstrcmpA("BIG5", "BIG5 "));
    EXPECT_NE(0, lstrcmpA("", "OTHER"));
}

}  // namespace

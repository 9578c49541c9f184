// The built program's resources as Windows reports them: version information through the version
// API, and the language of every resource through the resource enumeration.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#ifndef TORVAN_EXE_PATH
#error "TORVAN_EXE_PATH must name the built TorvanPatch.exe"
#endif

namespace {

// The build path is a Unix path; Wine maps the Unix root to drive Z:.
std::string ExePath() {
    std::string path = "Z:" TORVAN_EXE_PATH;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

struct ModuleCloser {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using ModuleHandle = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleCloser>;

std::string QueryString(const std::vector<char>& info, const char* name) {
    const std::string path = std::string("\\StringFileInfo\\080404b0\\") + name;
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) ||
        value == nullptr) {
        return "<missing>";
    }
    return value;
}

TEST(ExeResources, VersionInformation) {
    const std::string path = ExePath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_GT(size, 0u) << path << " error " << GetLastError();
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000006u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000006u);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0x17u);
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileSubtype, 0u);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0804);
    EXPECT_EQ(translation[1], 0x04B0);

    EXPECT_EQ(QueryString(info, "Comments"),
              "Usage: Run this program will allow you to modify the registry entries used by "
              "Patch for TORVAN95 in GUI mode.\r\n\r\n");
    EXPECT_EQ(QueryString(info, "FileDescription"), "Patch for TORVAN95 Setting");
    EXPECT_EQ(QueryString(info, "ProductName"), "Patch for TORVAN95 Setting");
    EXPECT_EQ(QueryString(info, "FileVersion"), "1, 0, 0, 6");
    EXPECT_EQ(QueryString(info, "ProductVersion"), "1, 0, 0, 6");
    EXPECT_EQ(QueryString(info, "InternalName"), "TorvanPatch");
    EXPECT_EQ(QueryString(info, "OriginalFilename"), "TorvanPatch.exe");
    EXPECT_EQ(QueryString(info, "CompanyName"), "Kavrenta patch team");
    EXPECT_EQ(QueryString(info, "LegalCopyright"), "Copyright (C) Kavrenta patch team");
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR param) {
    reinterpret_cast<std::set<WORD>*>(param)->insert(language);
    return TRUE;
}

std::set<WORD> Languages(HMODULE module, LPCSTR type, WORD id) {
    std::set<WORD> languages;
    EnumResourceLanguagesA(module, type, MAKEINTRESOURCEA(id), CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

TEST(ExeResources, ResourcesAndTheirLanguages) {
    const ModuleHandle module(LoadLibraryExA(ExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_NE(module, nullptr) << GetLastError();
    const std::set<WORD> chinese = {0x0804};
    EXPECT_EQ(Languages(module.get(), RT_DIALOG, 101), chinese);
    EXPECT_EQ(Languages(module.get(), RT_GROUP_ICON, 102), chinese);
    EXPECT_EQ(Languages(module.get(), RT_ICON, 1), chinese);
    EXPECT_EQ(Languages(module.get(), RT_VERSION, 1), chinese);
    EXPECT_EQ(Languages(module.get(), RT_MANIFEST, 1), std::set<WORD>{0x0409});

    HRSRC manifest = FindResourceExA(module.get(), RT_MANIFEST, MAKEINTRESOURCEA(1),
                                     MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    ASSERT_NE(manifest, nullptr);
    const DWORD size = SizeofResource(module.get(), manifest);
    const auto* bytes =
        static_cast<const char*>(LockResource(LoadResource(module.get(), manifest)));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::string(bytes, size),
              "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
              "</assembly>");
}

}  // namespace

// Native stand-in for the ADVAPI32/KERNEL32 calls the settings store makes: the key's values in a
// map, plus what the real registry cannot be made to do on demand (fail one write, fail one data
// read, refuse to create the key). Registry semantics are tested against Wine's real registry.
#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

using BYTE = std::uint8_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using HKEY = struct FakeKey*;
inline char g_fakeRoots[7];  // only their addresses count
#define HKEY_CLASSES_ROOT reinterpret_cast<HKEY>(&g_fakeRoots[0])
#define HKEY_CURRENT_USER reinterpret_cast<HKEY>(&g_fakeRoots[1])
#define HKEY_LOCAL_MACHINE reinterpret_cast<HKEY>(&g_fakeRoots[2])
#define HKEY_USERS reinterpret_cast<HKEY>(&g_fakeRoots[3])
#define HKEY_PERFORMANCE_DATA reinterpret_cast<HKEY>(&g_fakeRoots[4])
#define HKEY_CURRENT_CONFIG reinterpret_cast<HKEY>(&g_fakeRoots[5])
#define HKEY_DYN_DATA reinterpret_cast<HKEY>(&g_fakeRoots[6])
constexpr LONG ERROR_SUCCESS = 0, ERROR_FILE_NOT_FOUND = 2, ERROR_ACCESS_DENIED = 5;
constexpr DWORD REG_NONE = 0, REG_SZ = 1, REG_DWORD = 4;
constexpr DWORD KEY_QUERY_VALUE = 1, KEY_SET_VALUE = 2, REG_OPTION_NON_VOLATILE = 0;

struct FakeRegistry {
    bool keyExists = false, failCreate = false;
    std::map<std::string, std::pair<DWORD, std::string>> values;  // type and bytes
    std::string failWrite, failDataRead;  // the value whose write / data read fails
    std::vector<std::string> writes;      // value names in the order written
    int openKeys = 0;
    std::uint16_t langId = 0x0409;
};
inline FakeRegistry g_fakeRegistry;

inline std::uint16_t GetUserDefaultLangID() { return g_fakeRegistry.langId; }
inline int lstrcmpA(const char* a, const char* b) { return std::strcmp(a, b); }
inline LONG RegCloseKey(HKEY) { return --g_fakeRegistry.openKeys, ERROR_SUCCESS; }

inline LONG RegOpenKeyExA(HKEY, const char*, DWORD, DWORD, HKEY* key) {
    if (!g_fakeRegistry.keyExists) return ERROR_FILE_NOT_FOUND;
    *key = reinterpret_cast<HKEY>(&g_fakeRegistry);
    return ++g_fakeRegistry.openKeys, ERROR_SUCCESS;
}

inline LONG RegCreateKeyExA(HKEY root, const char* path, DWORD, char*, DWORD, DWORD, void*,
                            HKEY* key, DWORD*) {
    if (g_fakeRegistry.failCreate) return ERROR_ACCESS_DENIED;
    g_fakeRegistry.keyExists = true;
    return RegOpenKeyExA(root, path, 0, 0, key);
}

inline LONG RegQueryValueExA(HKEY, const char* name, DWORD*, DWORD* type, BYTE* data, DWORD* size) {
    const auto found = g_fakeRegistry.values.find(name);
    if (found == g_fakeRegistry.values.end()) return ERROR_FILE_NOT_FOUND;
    if (data && g_fakeRegistry.failDataRead == name) return ERROR_ACCESS_DENIED;
    const auto& [storedType, bytes] = found->second;
    if (data && *size < bytes.size()) return ERROR_ACCESS_DENIED;
    if (data) std::memcpy(data, bytes.data(), bytes.size());
    *type = storedType;
    *size = static_cast<DWORD>(bytes.size());
    return ERROR_SUCCESS;
}

inline LONG RegSetValueExA(HKEY, const char* name, DWORD, DWORD type, const BYTE* data,
                           DWORD size) {
    g_fakeRegistry.writes.emplace_back(name);
    if (g_fakeRegistry.failWrite == name) return ERROR_ACCESS_DENIED;
    g_fakeRegistry.values[name] = {type, std::string(data, data + size)};
    return ERROR_SUCCESS;
}

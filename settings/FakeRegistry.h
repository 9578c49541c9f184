// An in-memory stand-in for the few ADVAPI32/KERNEL32 calls the settings store makes, so the
// store and its tests build and run natively. It declares the Win32 names themselves, with the
// behaviour the real registry shows under Wine (size queries, ERROR_MORE_DATA, access masks,
// case-insensitive key paths and value names, the NUL that the A functions add to strings).
// Native builds only: the Windows build calls the real functions through <windows.h>.
#pragma once

#ifdef _WIN32
#error "FakeRegistry.h is for native builds; Windows builds use <windows.h>"
#endif

#include <cstdint>
#include <string>
#include <vector>

#define WINAPI

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using LSTATUS = LONG;
using LANGID = WORD;
using ACCESS_MASK = DWORD;
using REGSAM = ACCESS_MASK;
using BOOL = int;
using CHAR = char;
using LPBYTE = BYTE*;
using LPDWORD = DWORD*;
using LPSTR = char*;
using LPCSTR = const char*;
using LPVOID = void*;
using ULONG_PTR = std::uintptr_t;

struct HKEY__ {
    int unused;
};
using HKEY = HKEY__*;
using PHKEY = HKEY*;

struct SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
};
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

// The predefined roots, sign-extended from 32 bits as on 64-bit Windows.
#define TORVAN_FAKE_ROOT_KEY(value) \
    (reinterpret_cast<HKEY>(        \
        static_cast<ULONG_PTR>(static_cast<std::intptr_t>(static_cast<LONG>(value)))))
#define HKEY_CLASSES_ROOT TORVAN_FAKE_ROOT_KEY(0x80000000u)
#define HKEY_CURRENT_USER TORVAN_FAKE_ROOT_KEY(0x80000001u)
#define HKEY_LOCAL_MACHINE TORVAN_FAKE_ROOT_KEY(0x80000002u)
#define HKEY_USERS TORVAN_FAKE_ROOT_KEY(0x80000003u)
#define HKEY_PERFORMANCE_DATA TORVAN_FAKE_ROOT_KEY(0x80000004u)
#define HKEY_CURRENT_CONFIG TORVAN_FAKE_ROOT_KEY(0x80000005u)
#define HKEY_DYN_DATA TORVAN_FAKE_ROOT_KEY(0x80000006u)

inline constexpr LONG ERROR_SUCCESS = 0;
inline constexpr LONG ERROR_FILE_NOT_FOUND = 2;
inline constexpr LONG ERROR_ACCESS_DENIED = 5;
inline constexpr LONG ERROR_INVALID_HANDLE = 6;
inline constexpr LONG ERROR_INVALID_PARAMETER = 87;
inline constexpr LONG ERROR_MORE_DATA = 234;
inline constexpr LONG ERROR_NOACCESS = 998;
inline constexpr LONG ERROR_KEY_DELETED = 1018;

inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_MULTI_SZ = 7;
inline constexpr DWORD REG_QWORD = 11;

inline constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

inline constexpr ACCESS_MASK DELETE = 0x00010000;
inline constexpr ACCESS_MASK READ_CONTROL = 0x00020000;
inline constexpr ACCESS_MASK SYNCHRONIZE = 0x00100000;
inline constexpr ACCESS_MASK STANDARD_RIGHTS_READ = READ_CONTROL;
inline constexpr ACCESS_MASK STANDARD_RIGHTS_WRITE = READ_CONTROL;
inline constexpr ACCESS_MASK STANDARD_RIGHTS_REQUIRED = 0x000F0000;
inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002;
inline constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr REGSAM KEY_NOTIFY = 0x0010;
inline constexpr REGSAM KEY_CREATE_LINK = 0x0020;
inline constexpr REGSAM KEY_WOW64_64KEY = 0x0100;
inline constexpr REGSAM KEY_WOW64_32KEY = 0x0200;
inline constexpr REGSAM KEY_READ =
    (STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY) & ~SYNCHRONIZE;
inline constexpr REGSAM KEY_WRITE =
    (STANDARD_RIGHTS_WRITE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY) & ~SYNCHRONIZE;
inline constexpr REGSAM KEY_ALL_ACCESS =
    (STANDARD_RIGHTS_REQUIRED | KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY |
     KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY | KEY_CREATE_LINK) &
    ~SYNCHRONIZE;

LONG WINAPI RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired,
                          PHKEY phkResult);
LONG WINAPI RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR lpClass,
                            DWORD dwOptions, REGSAM samDesired,
                            LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                            LPDWORD lpdwDisposition);
// Like the real call, a string type whose last counted byte is not NUL gets the NUL that follows
// it counted in too (when one follows): the data must therefore be readable one byte past cbData.
LONG WINAPI RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType,
                           const BYTE* lpData, DWORD cbData);
LONG WINAPI RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                             LPBYTE lpData, LPDWORD lpcbData);
LONG WINAPI RegDeleteValueA(HKEY hKey, LPCSTR lpValueName);
LONG WINAPI RegDeleteTreeA(HKEY hKey, LPCSTR lpSubKey);
LONG WINAPI RegCloseKey(HKEY hKey);
LANGID WINAPI GetUserDefaultLangID();
// Byte-wise comparison: equality is what the real (linguistic) lstrcmpA gives for ASCII; the
// sign of a non-zero result may differ from it, so callers should test for zero only.
int WINAPI lstrcmpA(LPCSTR lpString1, LPCSTR lpString2);

// Test controls. Every setting lasts until Reset().
namespace fake_registry {

// Empties every key, closes every handle, clears the logs and failures, LANGID 0x0409.
void Reset();
void SetUserDefaultLangId(LANGID id);
// While set, every RegOpenKeyExA (resp. RegCreateKeyExA) fails with ERROR_ACCESS_DENIED.
void FailOpen(bool fail);
void FailCreate(bool fail);
// RegSetValueExA of this value name (case-insensitive) fails with ERROR_ACCESS_DENIED and
// stores nothing.
void FailSetValue(const std::string& valueName);
// RegQueryValueExA of this value fails with ERROR_ACCESS_DENIED when it is given a data buffer;
// the size query without a buffer still succeeds.
void FailQueryData(const std::string& valueName);

struct WriteRecord {
    std::string name;
    DWORD type;
    std::vector<BYTE> data;  // as stored (after the NUL rule), or as given when the write failed
    LONG result;
};
// Every RegSetValueExA call since Reset(), in call order, failed ones included.
std::vector<WriteRecord> WriteLog();
// Value names of every RegQueryValueExA call that passed a data buffer, in call order.
std::vector<std::string> DataReadLog();
// Handles opened or created and not yet closed.
int OpenHandleCount();
// RegCloseKey calls made on a predefined root key (harmless, but never needed).
int RootKeyCloseCount();

}  // namespace fake_registry

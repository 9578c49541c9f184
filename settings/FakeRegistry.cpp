#include "FakeRegistry.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string_view>
#include <utility>

namespace {

// Registry key and value names compare without regard to ASCII case.
struct CaseInsensitiveLess {
    bool operator()(std::string_view a, std::string_view b) const {
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(),
            [](unsigned char x, unsigned char y) { return std::tolower(x) < std::tolower(y); });
    }
    using is_transparent = void;
};

struct Value {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

struct Key {
    std::map<std::string, Value, CaseInsensitiveLess> values;
    std::map<std::string, std::shared_ptr<Key>, CaseInsensitiveLess> subkeys;
    bool deleted = false;  // handles still open on a deleted key see ERROR_KEY_DELETED
};

struct OpenKey {
    std::shared_ptr<Key> key;
    REGSAM access = 0;
};

struct State {
    std::map<ULONG_PTR, std::shared_ptr<Key>> roots;
    std::map<ULONG_PTR, OpenKey> handles;
    ULONG_PTR nextHandle = 0x1000;
    LANGID langId = 0x0409;
    bool failOpen = false;
    bool failCreate = false;
    std::set<std::string, CaseInsensitiveLess> failSetValue;
    std::set<std::string, CaseInsensitiveLess> failQueryData;
    std::vector<fake_registry::WriteRecord> writes;
    std::vector<std::string> dataReads;
    int rootCloses = 0;
};

State& TheState() {
    static State state;
    return state;
}

ULONG_PTR HandleValue(HKEY key) { return reinterpret_cast<ULONG_PTR>(key); }

bool IsRootKey(HKEY key) {
    for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
                      HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA}) {
        if (key == root) return true;
    }
    return false;
}

bool IsStringType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

std::string NameOf(LPCSTR name) { return name ? std::string(name) : std::string(); }

// Resolves a handle to its key; on failure `out` is left unchanged.
LONG Resolve(HKEY handle, OpenKey& out) {
    State& state = TheState();
    if (IsRootKey(handle)) {
        auto& root = state.roots[HandleValue(handle)];
        if (!root) root = std::make_shared<Key>();
        out = OpenKey{root, KEY_ALL_ACCESS};
        return ERROR_SUCCESS;
    }
    auto found = state.handles.find(HandleValue(handle));
    if (found == state.handles.end()) return ERROR_INVALID_HANDLE;
    if (found->second.key->deleted) return ERROR_KEY_DELETED;
    out = found->second;
    return ERROR_SUCCESS;
}

// Splits "A\B\C" into its parts; false for an empty part (a doubled, leading or trailing '\').
bool SplitPath(LPCSTR subKey, std::vector<std::string>& parts) {
    parts.clear();
    if (!subKey || !*subKey) return true;
    std::string_view rest(subKey);
    while (true) {
        const auto cut = rest.find('\\');
        const auto part = rest.substr(0, cut);
        if (part.empty()) return false;
        parts.emplace_back(part);
        if (cut == std::string_view::npos) return true;
        rest.remove_prefix(cut + 1);
    }
}

HKEY NewHandle(std::shared_ptr<Key> key, REGSAM access) {
    State& state = TheState();
    const ULONG_PTR value = state.nextHandle;
    state.nextHandle += 4;
    // The view flags choose a registry view; they grant nothing.
    state.handles[value] = OpenKey{std::move(key), access & ~(KEY_WOW64_32KEY | KEY_WOW64_64KEY)};
    return reinterpret_cast<HKEY>(value);
}

void MarkDeleted(Key& key) {
    key.deleted = true;
    for (auto& [name, child] : key.subkeys) MarkDeleted(*child);
}

}  // namespace

LONG WINAPI RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult) {
    if (!phkResult) return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    if (TheState().failOpen) return ERROR_ACCESS_DENIED;
    OpenKey parent;
    if (const LONG status = Resolve(hKey, parent); status != ERROR_SUCCESS) return status;
    std::vector<std::string> parts;
    if (!SplitPath(lpSubKey, parts)) return ERROR_FILE_NOT_FOUND;
    std::shared_ptr<Key> key = parent.key;
    for (const auto& part : parts) {
        auto found = key->subkeys.find(part);
        if (found == key->subkeys.end()) return ERROR_FILE_NOT_FOUND;
        key = found->second;
    }
    *phkResult = NewHandle(std::move(key), samDesired);
    return ERROR_SUCCESS;
}

LONG WINAPI RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR, DWORD,
                            REGSAM samDesired, LPSECURITY_ATTRIBUTES, PHKEY phkResult,
                            LPDWORD lpdwDisposition) {
    if (!phkResult || Reserved != 0) return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    if (TheState().failCreate) return ERROR_ACCESS_DENIED;
    OpenKey parent;
    if (const LONG status = Resolve(hKey, parent); status != ERROR_SUCCESS) return status;
    std::vector<std::string> parts;
    if (!SplitPath(lpSubKey, parts)) return ERROR_FILE_NOT_FOUND;
    std::shared_ptr<Key> key = parent.key;
    DWORD disposition = REG_OPENED_EXISTING_KEY;
    for (const auto& part : parts) {
        auto& child = key->subkeys[part];
        if (!child) {
            child = std::make_shared<Key>();
            disposition = REG_CREATED_NEW_KEY;
        }
        key = child;
    }
    if (lpdwDisposition) *lpdwDisposition = disposition;
    *phkResult = NewHandle(std::move(key), samDesired);
    return ERROR_SUCCESS;
}

LONG WINAPI RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData,
                           DWORD cbData) {
    State& state = TheState();
    if (cbData && !lpData) return ERROR_NOACCESS;
    // A string whose counted bytes lack the terminator gets the NUL right after them counted in.
    if (cbData && IsStringType(dwType) && lpData[cbData - 1] != 0 && lpData[cbData] == 0) ++cbData;
    const std::string name = NameOf(lpValueName);
    std::vector<BYTE> data(lpData, lpData + cbData);

    LONG status = ERROR_SUCCESS;
    OpenKey open;
    status = Resolve(hKey, open);
    if (status == ERROR_SUCCESS && !(open.access & KEY_SET_VALUE)) status = ERROR_ACCESS_DENIED;
    if (status == ERROR_SUCCESS && state.failSetValue.contains(name)) status = ERROR_ACCESS_DENIED;
    if (status == ERROR_SUCCESS) {
        // A rewrite keeps the name's first spelling, as the registry does.
        auto [slot, inserted] = open.key->values.try_emplace(name);
        slot->second = Value{dwType, data};
    }
    state.writes.push_back({name, dwType, std::move(data), status});
    return status;
}

LONG WINAPI RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                             LPBYTE lpData, LPDWORD lpcbData) {
    State& state = TheState();
    if ((lpData && !lpcbData) || lpReserved) return ERROR_INVALID_PARAMETER;
    OpenKey open;
    if (const LONG status = Resolve(hKey, open); status != ERROR_SUCCESS) return status;
    if (!(open.access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
    const std::string name = NameOf(lpValueName);
    if (lpData) state.dataReads.push_back(name);
    auto found = open.key->values.find(name);
    if (found == open.key->values.end()) return ERROR_FILE_NOT_FOUND;
    if (lpData && state.failQueryData.contains(name)) return ERROR_ACCESS_DENIED;
    const Value& value = found->second;
    const auto size = static_cast<DWORD>(value.data.size());
    if (lpType) *lpType = value.type;
    if (lpData) {
        if (size > *lpcbData) {
            *lpcbData = size;
            return ERROR_MORE_DATA;  // nothing copied
        }
        std::copy(value.data.begin(), value.data.end(), lpData);
        // A string stored without its NUL gets one in the caller's buffer when there is room.
        if (IsStringType(value.type) && size && size < *lpcbData && lpData[size - 1] != 0) {
            lpData[size] = 0;
        }
    }
    if (lpcbData) *lpcbData = size;
    return ERROR_SUCCESS;
}

LONG WINAPI RegDeleteValueA(HKEY hKey, LPCSTR lpValueName) {
    OpenKey open;
    if (const LONG status = Resolve(hKey, open); status != ERROR_SUCCESS) return status;
    if (!(open.access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
    return open.key->values.erase(NameOf(lpValueName)) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

LONG WINAPI RegDeleteTreeA(HKEY hKey, LPCSTR lpSubKey) {
    OpenKey open;
    if (const LONG status = Resolve(hKey, open); status != ERROR_SUCCESS) return status;
    std::vector<std::string> parts;
    if (!SplitPath(lpSubKey, parts)) return ERROR_FILE_NOT_FOUND;
    if (parts.empty()) {
        // No sub-key: empty the key itself but keep it.
        for (auto& [name, child] : open.key->subkeys) MarkDeleted(*child);
        open.key->subkeys.clear();
        open.key->values.clear();
        return ERROR_SUCCESS;
    }
    std::shared_ptr<Key> parent = open.key;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        auto found = parent->subkeys.find(parts[i]);
        if (found == parent->subkeys.end()) return ERROR_FILE_NOT_FOUND;
        parent = found->second;
    }
    auto found = parent->subkeys.find(parts.back());
    if (found == parent->subkeys.end()) return ERROR_FILE_NOT_FOUND;
    MarkDeleted(*found->second);
    parent->subkeys.erase(found);
    return ERROR_SUCCESS;
}

LONG WINAPI RegCloseKey(HKEY hKey) {
    State& state = TheState();
    if (IsRootKey(hKey)) {
        ++state.rootCloses;
        return ERROR_SUCCESS;
    }
    return state.handles.erase(HandleValue(hKey)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LANGID WINAPI GetUserDefaultLangID() { return TheState().langId; }

int WINAPI lstrcmpA(LPCSTR lpString1, LPCSTR lpString2) {
    if (!lpString1 || !lpString2) return (lpString1 ? 1 : 0) - (lpString2 ? 1 : 0);
    const int order = std::strcmp(lpString1, lpString2);
    return (order > 0) - (order < 0);
}

namespace fake_registry {

void Reset() { TheState() = State{}; }

void SetUserDefaultLangId(LANGID id) { TheState().langId = id; }

void FailOpen(bool fail) { TheState().failOpen = fail; }

void FailCreate(bool fail) { TheState().failCreate = fail; }

void FailSetValue(const std::string& valueName) { TheState().failSetValue.insert(valueName); }

void FailQueryData(const std::string& valueName) { TheState().failQueryData.insert(valueName); }

std::vector<WriteRecord> WriteLog() { return TheState().writes; }

std::vector<std::string> DataReadLog() { return TheState().dataReads; }

int OpenHandleCount() { return static_cast<int>(TheState().handles.size()); }

int RootKeyCloseCount() { return TheState().rootCloses; }

}  // namespace fake_registry

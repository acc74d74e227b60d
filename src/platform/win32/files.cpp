#include "platform/win32/files.h"

#include "platform/win32/unique.h"
#include "platform/win32/wide.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <string_view>

namespace lumivane::win32 {

namespace {
// Far beyond any settings file; a larger file is not ours to load whole.
constexpr LONGLONG kMaxReadBytes = 64LL * 1024 * 1024;

// The folder part of a path, with its backslash; "." for a bare name.
std::wstring folderOf(const std::wstring& path) {
    auto slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash + 1);
}

// replaceFile's temporary name, as GetTempFileNameW makes it: the prefix,
// one to four hexadecimal digits, ".tmp", in either case.
constexpr wchar_t kTempPrefix[] = L"lmv";

bool isTemporaryName(std::wstring_view name) {
    auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
    auto equal = [&](std::wstring_view a, std::wstring_view b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](wchar_t x, wchar_t y) {
                   return lower(x) == lower(y);
               });
    };
    if (name.size() < 8 || name.size() > 11 || !equal(name.substr(0, 3), kTempPrefix) ||
        !equal(name.substr(name.size() - 4), L".tmp"))
        return false;
    std::wstring_view digits = name.substr(3, name.size() - 7);
    return std::all_of(digits.begin(), digits.end(),
                       [&](wchar_t c) { return (c >= L'0' && c <= L'9') || (lower(c) >= L'a' && lower(c) <= L'f'); });
}

// A save cut short between making its temporary file and renaming it leaves
// that file behind; the next save in the folder removes it. One still being
// written is open without sharing, and stays.
void removeLeftTemporaryFiles(std::wstring dir) {
    if (dir.back() != L'\\') dir += L'\\';
    WIN32_FIND_DATAW found;
    UniqueFind search(::FindFirstFileW((dir + kTempPrefix + L"*.tmp").c_str(), &found));
    if (!search) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && isTemporaryName(found.cFileName))
            ::DeleteFileW((dir + found.cFileName).c_str());
    } while (::FindNextFileW(search.get(), &found));
}

DWORD attributesOf(const std::string& path) {
    if (path.empty()) return INVALID_FILE_ATTRIBUTES;
    return ::GetFileAttributesW(widen(path).c_str());
}
} // namespace

bool Win32FileSystem::fileExists(const std::string& path) {
    DWORD a = attributesOf(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// Also asked from the thread pool: it keeps no state of its own.
bool Win32FileSystem::folderExists(const std::string& path) {
    DWORD a = attributesOf(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> Win32FileSystem::readFile(const std::string& path) {
    UniqueFile file(::CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxReadBytes) return std::nullopt;
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD done = 0;
    if (!bytes.empty() && !::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr))
        return std::nullopt;
    bytes.resize(done);
    return bytes;
}

bool Win32FileSystem::replaceFile(const std::string& path, std::string_view bytes) {
    std::wstring target = widen(path);
    std::wstring dir = folderOf(target);

    // The temporary file lives in the target's folder so the final move is a
    // rename on one volume, which the file system does atomically.
    wchar_t temp[MAX_PATH + 16] = {};
    if (dir.size() > MAX_PATH - 14 || !::GetTempFileNameW(dir.c_str(), kTempPrefix, 0, temp)) return false;

    bool written = false;
    {
        UniqueFile file(::CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            DWORD done = 0;
            written = ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
                      done == bytes.size() && ::FlushFileBuffers(file.get());
        }
    }
    if (written && ::MoveFileExW(temp, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        removeLeftTemporaryFiles(dir);
        return true;
    }
    ::DeleteFileW(temp);
    return false;
}

bool Win32FileSystem::mayWrite(const std::string& path) {
    const std::wstring target = widen(path);
    // replaceFile makes a file beside the target and renames it: a file of
    // this process's own name, made new and gone when closed, tries the same
    // right. Access rules, a read-only medium and an immutable folder all
    // refuse it; a name some other file holds is passed over.
    bool made = false;
    for (unsigned attempt = 0; attempt < 8 && !made; ++attempt) {
        wchar_t name[40];
        ::wsprintfW(name, L"lmv%lx-%u.tmp", ::GetCurrentProcessId(), attempt);
        UniqueFile probe(::CreateFileW((folderOf(target) + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        made = static_cast<bool>(probe);
        if (!made && ::GetLastError() != ERROR_FILE_EXISTS) return false;
    }
    if (!made) return false;
    // A read-only file cannot be replaced, nor one whose access rules refuse
    // writing. Opening it changes nothing; only a refusal counts, not another
    // program holding it for a moment.
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    UniqueFile existing(::CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return existing || ::GetLastError() != ERROR_ACCESS_DENIED;
}

bool Win32FileSystem::makeFolder(const std::string& path) {
    return ::CreateDirectoryW(widen(path).c_str(), nullptr) || folderExists(path);
}

std::string Win32FileSystem::roamingAppData() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) return {};
    return narrow(folder);
}

} // namespace lumivane::win32

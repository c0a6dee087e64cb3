#include <windows.h>

#include "HsdkClientFiles.h"

#include <cstring>
#include <cwctype>
#include <vector>

#include "HsdkFields.h"

namespace
{
std::wstring Wide(const char* text, UINT codePage)
{
    const int length = static_cast<int>(std::strlen(text));
    const int wideLength = MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
    std::wstring wide(wideLength, L'\0');
    MultiByteToWideChar(codePage, 0, text, length, &wide[0], wideLength);
    return wide;
}

std::vector<std::wstring> Components(const std::wstring& path)
{
    std::vector<std::wstring> parts(1);
    for (const wchar_t c : path)
    {
        if (c == L'\\' || c == L'/')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

bool IsDeviceName(const std::wstring& component)
{
    std::wstring base = component.substr(0, component.find(L'.'));
    for (wchar_t& c : base)
        c = static_cast<wchar_t>(std::towupper(c));
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
        if (base == device)
            return true;
    return base.size() == 4 &&
           (base.compare(0, 3, L"COM") == 0 || base.compare(0, 3, L"LPT") == 0) &&
           base[3] >= L'0' && base[3] <= L'9';
}

bool IsSafeComponent(const std::wstring& component)
{
    if (component.empty() || component.back() == L'.' || component.back() == L' ')
        return false;
    for (const wchar_t c : component)
        if (c < 32 || std::wcschr(L"<>:\"|?*", c))
            return false;
    return !IsDeviceName(component);
}

std::string Utf8(const std::wstring& text)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string narrow(length, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &narrow[0], length,
                        nullptr, nullptr);
    return narrow;
}

std::string SystemErrorText(DWORD error)
{
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = text ? text : L"";
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r'))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(error) : Utf8(message);
}

bool ReadWhole(const std::wstring& path, std::string& bytes, DWORD& error)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        error = GetLastError();
        return false;
    }
    LARGE_INTEGER size;
    bool read = GetFileSizeEx(file, &size) && size.QuadPart < (1LL << 30);
    if (read)
    {
        bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
        DWORD done = 0;
        read = bytes.empty() ||
               (ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &done, nullptr) &&
                done == bytes.size());
    }
    error = read ? 0 : GetLastError();
    CloseHandle(file);
    return read;
}

// A file created with FILE_ATTRIBUTE_READONLY is read-only at once, and still written through
// this handle.
bool WriteWhole(const std::wstring& path, const std::string& bytes, DWORD attributes, DWORD& error)
{
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        error = GetLastError();
        return false;
    }
    DWORD done = 0;
    const bool written =
        bytes.empty() ||
        (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
         done == bytes.size());
    error = written ? 0 : GetLastError();
    CloseHandle(file);
    return written;
}

bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates every missing level of a folder; the client folder itself may be missing too.
bool CreateFolders(const std::wstring& folder)
{
    for (size_t i = 0; i <= folder.size(); ++i)
    {
        if (i == folder.size() || folder[i] == L'\\' || folder[i] == L'/')
        {
            const std::wstring level = folder.substr(0, i);
            if (!level.empty() && level.back() != L':' && !IsFolder(level))
                CreateDirectoryW(level.c_str(), nullptr);
        }
    }
    return IsFolder(folder);
}

nlohmann::json FileDone(bool written, const char* reason = nullptr, const std::string& error = "")
{
    nlohmann::json done = {{"op", "fileDone"}, {"written", written}};
    if (reason)
        done["reason"] = reason;
    if (!error.empty())
        done["error"] = error;
    return done;
}
} // namespace

HsdkClientFiles::HsdkClientFiles(const char* clientDir)
    : m_sClientDir(Wide(clientDir ? clientDir : "", CP_ACP))
{
    while (m_sClientDir.size() > 1 &&
           (m_sClientDir.back() == L'\\' || m_sClientDir.back() == L'/') &&
           m_sClientDir[m_sClientDir.size() - 2] != L':')
        m_sClientDir.pop_back();
}

bool HsdkClientFiles::IsSafeRelativePath(const std::wstring& path)
{
    for (const std::wstring& component : Components(path))
        if (!IsSafeComponent(component))
            return false;
    return true;
}

nlohmann::json HsdkClientFiles::WriteCheckoutFile(const nlohmann::json& file,
                                                  const std::string& bytes) const
{
    const std::wstring relative = Wide(HsdkFields::Text(file, "path").c_str(), CP_UTF8);
    const bool replace = HsdkFields::Flag(file, "replace", false);
    const bool skipIdentical = HsdkFields::Flag(file, "skipIdentical", false);
    const bool createDirs = HsdkFields::Flag(file, "createDirs", false);
    const bool readOnly = HsdkFields::Flag(file, "readOnly", false);
    if (m_sClientDir.empty() || !IsSafeRelativePath(relative))
        return FileDone(false, "failed", "refused a path outside the client folder");
    const std::wstring local = LocalPath(relative);
    const DWORD attributes = GetFileAttributesW(local.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
    {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return FileDone(false, "failed", "a folder of that name exists");
        if (!replace)
            return FileDone(false, "exists");
        std::string current;
        DWORD error = 0;
        if (skipIdentical && ReadWhole(local, current, error) && current == bytes)
            return FileDone(false, "identical");
        SetFileAttributesW(local.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    // Files come folder by folder: the folder of the last one is known to be there.
    const std::wstring folder = local.substr(0, local.find_last_of(L'\\'));
    if (folder != m_sKnownFolder)
    {
        if (!IsFolder(folder) && !(createDirs && CreateFolders(folder)))
            return FileDone(false, "failed", "the folder does not exist");
        m_sKnownFolder = folder;
    }
    const bool existed = attributes != INVALID_FILE_ATTRIBUTES;
    DWORD error = 0;
    if (!WriteWhole(local, bytes,
                    readOnly && !existed ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL, error))
        return FileDone(false, "failed", SystemErrorText(error));
    if (existed)
    {
        const DWORD written = GetFileAttributesW(local.c_str());
        SetFileAttributesW(local.c_str(), readOnly ? written | FILE_ATTRIBUTE_READONLY
                                                   : written & ~FILE_ATTRIBUTE_READONLY);
    }
    return FileDone(true);
}

bool HsdkClientFiles::Read(const char* name, std::string& bytes, std::string& error) const
{
    DWORD code = 0;
    if (ReadWhole(LocalPath(Wide(name, CP_ACP)), bytes, code))
        return true;
    error = SystemErrorText(code);
    return false;
}

void HsdkClientFiles::Delete(const char* name) const
{
    const std::wstring local = LocalPath(Wide(name, CP_ACP));
    SetFileAttributesW(local.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(local.c_str());
}

std::wstring HsdkClientFiles::LocalPath(const std::wstring& relativePath) const
{
    std::wstring local = m_sClientDir;
    if (local.empty() || local.back() != L'\\')
        local += L'\\';
    for (const wchar_t c : relativePath)
        local += c == L'/' ? L'\\' : c;
    return local;
}

#pragma once

#include <nlohmann/json.hpp>
#include <string>

// Local files below a client folder. Paths are handled as UTF-16 so that no name is lost
// between the wire's UTF-8 and the ANSI code page.
class HsdkClientFiles
{
public:
    explicit HsdkClientFiles(const char* clientDir);

    // A relative path stays below the client folder: no root, drive, stream, "." or ".."
    // component, device name or character Windows would rewrite.
    static bool IsSafeRelativePath(const std::wstring& path);

    // Writes one check-out file frame and gives the fileDone answer.
    nlohmann::json WriteCheckoutFile(const nlohmann::json& file, const std::string& bytes) const;
    // Reads a listed check-in file (ANSI name relative to the client folder).
    bool Read(const char* name, std::string& bytes, std::string& error) const;
    void Delete(const char* name) const;

private:
    std::wstring LocalPath(const std::wstring& relativePath) const;

    std::wstring m_sClientDir;
    mutable std::wstring m_sKnownFolder;
};

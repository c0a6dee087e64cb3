#pragma once
#include <windows.h>

#include <string>

// Files, folders and the client's registry key, as the Windows tests of several pieces need them.

// The folder of the test program, where the build puts every module.
std::string ProgramFolder();
// Copies every DLL of the program folder but `skipped` into folder.
void CopyModules(const std::string& folder, const char* skipped = nullptr);

// The registry key whose presence means "repository client installed".
void SetClientInstalled(bool installed);

// The bytes of a file, empty when it cannot be read.
std::string ReadFile(const std::string& path);
// Writes the file anew, read-only or not; false when it cannot be written.
bool WriteFile(const std::string& path, const std::string& bytes);
bool IsReadOnly(const std::string& path);
bool Exists(const std::string& path);
// Removes the folder with everything in it, read-only or not.
void RemoveTree(const std::string& path);

// A fresh folder below the temporary folder, removed with everything in it by the destructor.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return m_path; }
    std::string PathOf(const std::string& name) const { return m_path + "\\" + name; }
    // Creates a sub folder (all levels) and returns its path.
    std::string Make(const std::string& relative) const;
    // Writes the bytes as they are and returns the file's full path.
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::string m_path;
};

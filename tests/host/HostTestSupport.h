#pragma once
#include <windows.h>

#include <string>

// What the host's tests share: the folder of the test programs, files, and the repository
// client's registry key that the installation check looks for.
namespace host_test
{
std::string BinFolder();
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& text);
bool IsReadOnly(const std::string& path);
// A fresh empty folder below the temporary folder.
std::string MakeTempFolder(const char* prefix);
void RemoveTree(const std::string& path);
void SetClientInstalled(bool installed);
} // namespace host_test

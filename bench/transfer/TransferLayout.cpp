#include <windows.h>

#include "TransferLayout.h"

#include <cstdio>

TransferLayout::TransferLayout(int files, size_t size) : m_files(files), m_size(size) {}

std::string TransferLayout::SubFolder(int folder) const
{
    if (folder == 0)
        return "";
    char name[16];
    std::snprintf(name, sizeof name, "\\Part%03d", folder);
    return name;
}

std::string TransferLayout::Name(int file) const
{
    char name[32];
    std::snprintf(name, sizeof name, "Screen%05d.xml", file);
    return name;
}

std::string TransferLayout::RelativePath(int file) const
{
    const std::string folder = SubFolder(FolderOf(file));
    return folder.empty() ? Name(file) : folder.substr(1) + "\\" + Name(file);
}

// A header naming file and generation, then filler that differs per file and generation, so
// that a swapped, stale or truncated file never reads as the right one.
std::string TransferLayout::Bytes(int file, int generation) const
{
    std::string bytes = Name(file) + " generation " + std::to_string(generation) + "\r\n";
    const size_t header = bytes.size();
    bytes.resize(m_size);
    for (size_t k = header; k < m_size; ++k)
        bytes[k] = static_cast<char>('A' + (k * 7 + file + generation * 13) % 61);
    return bytes;
}

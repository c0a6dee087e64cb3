#pragma once
#include <windows.h>

#include <string>

// The files the transfer benchmark moves: `files` files of `size` bytes below one repository
// folder, the first hundred in the folder itself and each further hundred in a sub folder
// Part001, Part002, ... Numbered in the order the server lists them (folder path, then name).
class TransferLayout
{
public:
    static const int kFilesPerFolder = 100;
    static const int kMostFiles = 99999;

    TransferLayout(int files, size_t size);

    int Files() const { return m_files; }
    size_t Size() const { return m_size; }
    int Folders() const { return (m_files + kFilesPerFolder - 1) / kFilesPerFolder; }
    int FolderOf(int file) const { return file / kFilesPerFolder; }

    // "" for the bench folder itself, else "\Part001" and so on.
    std::string SubFolder(int folder) const;
    std::string Name(int file) const;
    // Below the bench folder: "Screen00042.xml", "Part001\Screen00100.xml".
    std::string RelativePath(int file) const;
    // The bytes of a file in a generation: 0 as seeded, g as checked in by run g.
    std::string Bytes(int file, int generation) const;

private:
    int m_files;
    size_t m_size;
};

#include <windows.h>
#include "DirMng.h"
#include "AnsiText.h"
#include "CProjectParser.h"
#include "CSolutionParser.h"

static void CreateMissingFolder(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    CreateDirectoryA(path.c_str(), nullptr);
}

// A file that cannot be read or parsed leaves the list as it was.
template <class Parser>
static void ReadList(const std::string& path, std::vector<std::string>& list,
                     void (Parser::*collect)(std::vector<std::string>&) const)
{
    Parser parser;
    if (FAILED(parser.Init()))
        return;
    if (parser.Parse(ToWide(path).c_str()) != 0)
        return;
    (parser.*collect)(list);
}

DirMng::DirMng() = default;

DirMng::DirMng(const DirMng&) = default;

DirMng& DirMng::operator=(const DirMng&) = default;

DirMng& DirMng::operator=(DirMng&&) = default;

int DirMng::CreateDir(const std::string& path)
{
    // The search starts past a drive root such as C:\, which is never a folder to create.
    for (size_t backslash = path.find('\\', 3); backslash != std::string::npos;
         backslash = path.find('\\', backslash + 1))
        CreateMissingFolder(path.substr(0, backslash));
    CreateMissingFolder(path);
    return 1;
}

void DirMng::GetProjDirs(const std::string& solutionPath, std::vector<std::string>& dirs)
{
    ReadList(solutionPath, dirs, &CSolutionParser::CollectProjDirs);
}

void DirMng::GetFilesInProj(const std::string& projectPath, std::vector<std::string>& files)
{
    ReadList(projectPath, files, &CProjectParser::CollectFiles);
}

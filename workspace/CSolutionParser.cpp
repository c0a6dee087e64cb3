#include <windows.h>
#include "CSolutionParser.h"
#include "ParserWords.h"

// The folder part of a project's relative path, as the caller appends it to the solution's
// folder: always beginning with a backslash.
static std::string ProjectFolder(const std::string& relativePath)
{
    const size_t lastBackslash = relativePath.rfind('\\');
    if (lastBackslash == std::string::npos)
        return "\\";
    std::string folder;
    folder.reserve(1 + lastBackslash);
    folder += '\\';
    folder.append(relativePath, 0, lastBackslash);
    return folder;
}

std::string CSolutionParser::GetRootName() const
{
    return g_sSolutionWord;
}

std::string CSolutionParser::GetEntryName() const
{
    return g_sProjectWord;
}

void CSolutionParser::CollectProjDirs(std::vector<std::string>& dirs) const
{
    CollectRelativePaths(dirs, ProjectFolder);
}

#include <windows.h>
#include "CProjectParser.h"
#include "ParserWords.h"

static std::string Unchanged(const std::string& relativePath)
{
    return relativePath;
}

std::string CProjectParser::GetRootName() const
{
    return g_sProjectWord;
}

std::string CProjectParser::GetEntryName() const
{
    return g_sFileWord;
}

void CProjectParser::CollectFiles(std::vector<std::string>& files) const
{
    CollectRelativePaths(files, Unchanged);
}

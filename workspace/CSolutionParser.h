#pragma once
#include "CMngFileReader.h"

// Reads a solution: the folders of its projects, relative to the solution's folder.
class CSolutionParser : public CMngFileReader
{
public:
    void CollectProjDirs(std::vector<std::string>& dirs) const;

protected:
    std::string GetRootName() const override;
    std::string GetEntryName() const override;
};

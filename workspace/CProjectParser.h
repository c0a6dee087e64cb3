#pragma once
#include "CMngFileReader.h"

// Reads a project: the paths of its files, relative to the project's folder.
class CProjectParser : public CMngFileReader
{
public:
    void CollectFiles(std::vector<std::string>& files) const;

protected:
    std::string GetRootName() const override;
    std::string GetEntryName() const override;
};

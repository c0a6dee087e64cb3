#pragma once
#include <string>

// Prefixes of the element names that the solution and project parsers recognise.
extern const std::string g_sSolutionWord;
extern const std::string g_sProjectWord;
extern const std::string g_sFileWord;

#include <windows.h>
#include "ParserWords.h"

const std::string g_sSolutionWord = "Solution";
const std::string g_sProjectWord = "Project";
const std::string g_sFileWord = "File";

#pragma once
// Folders of the host's installation.
#include <windows.h>

#ifdef _VUVERAV_BUILD
#define VUVERAV_API __declspec(dllexport)
#else
#define VUVERAV_API __declspec(dllimport)
#endif

// The tools folder ("tools\" beside the host's executable, ending with a backslash).
#define VUVERAV_PATH_TOOLS 6

// Writes the folder of that kind into buffer. *size: in, the buffer's capacity; out, the
// length written (or, when the buffer is too small, the capacity needed). FALSE for an
// unknown kind or a buffer too small. The flag is accepted and ignored.
VUVERAV_API BOOL GetSystemPath(int kind, char* buffer, DWORD* size, BOOL flag);

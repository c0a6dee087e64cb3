#pragma once
#include <windows.h>

#include <string>

// Writes what the screen shows of the window (its whole rectangle, frame included) as a 24-bit
// BMP; false when the file cannot be written. The screenshot programs use it.
bool CaptureWindow(HWND window, const std::string& path);

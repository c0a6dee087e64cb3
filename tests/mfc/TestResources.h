#pragma once
// Resources of the framework tests. The executable keeps clear of 1000-1017, the library's ids.
#define IDD_CONTROLS 100
#define IDC_EDIT 120
#define IDC_COMBO 121
#define IDC_LIST 122
#define IDC_TREE 123
#define IDC_PUSH 128
#define IDC_BASE_PUSH 129

// The extension library's own.
#define IDD_EXTENSION 2100
#define IDB_EXTENSION_STRIP 2101
#define IDC_EXTENSION_EDIT 2102

// Resource ids of vorhost.exe. vor.dll's templates and bitmaps are 1000 to 1017 and the
// framework looks in the executable first, so the host keeps clear of that range.
#ifndef VORHOST_RESOURCE_H
#define VORHOST_RESOURCE_H

#define IDR_HOST_MENU 200

#define IDC_OUTPUT 300
#define IDC_STATUS 301

// Commands
#define ID_FILE_WORKING_FOLDER 40001
#define ID_FILE_CLEAR_OUTPUT 40002
#define ID_FILE_EXIT 40003
#define ID_VOR_LOGIN 40010
#define ID_VOR_DEFAULT_CONTEXT 40011
#define ID_VOR_REPOSITORY 40012
#define ID_VOR_CHECK_OUT 40013
#define ID_VOR_CHECK_IN 40014
#define ID_VOR_UNDO_CHECK_OUT 40015
#define ID_VOR_ADD_FILE 40016
#define ID_VOR_COMP_SCREEN 40017
#define ID_VOR_HISTORY 40018
#define ID_VOR_FOLDER_STATE 40019
#define ID_VOR_CHANGED_FILES 40020

#endif

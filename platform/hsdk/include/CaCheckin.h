#pragma once

#include "CaCallBack.h"
#include "CaStringList.h"

// Check-in of files of a client folder into a view path.
class HSDK_API CaCheckin
{
public:
    explicit CaCheckin(HsdkSession* session);
    ~CaCheckin();
    CaCheckin(const CaCheckin&) = delete;
    CaCheckin& operator=(const CaCheckin&) = delete;

    // 0 update and release, 1 update and keep, 2 release only.
    void SetCheckinMode(int mode);
    void SetDeleteAfterCI(bool deleteFiles);
    // 0 new or existing items, 1 new only, 2 existing only.
    void SetItemOption(int option);
    // 0 preserve the folders, 1 preserve and create them, 2 every file into the view path.
    void SetPathOption(int option);
    void SetClientDir(const char* clientDir);
    // Paths relative to the client folder.
    void SetFileList(const CaStringList& files);
    void SetViewPath(const char* viewPath);
    void SetDescription(const char* description);
    void SetCallBack(CaCallBack callBack);
    int Execute(bool wait);
    // Creates the folders of a relative path (backslash separated) below a view path; 0 also
    // when they exist already.
    int CreateItemPath(const char* relativePath, const char* parentViewPath);

private:
    HsdkSession* m_pSession;
    int m_nMode;
    bool m_bDeleteAfterCI;
    int m_nItemOption;
    int m_nPathOption;
    CaString m_sClientDir;
    CaStringList m_files;
    CaString m_sViewPath;
    CaString m_sDescription;
    CaCallBack m_pCallBack;
};

#pragma once

#include "CaCallBack.h"
#include "CaString.h"

// Check-out of the chosen versions into a client folder.
class HSDK_API CaCheckout
{
public:
    explicit CaCheckout(HsdkSession* session);
    ~CaCheckout();
    CaCheckout(const CaCheckout&) = delete;
    CaCheckout& operator=(const CaCheckout&) = delete;

    void SetViewPath(const char* viewPath);
    void SetClientDir(const char* clientDir);
    // 1 browse, 2 update, 3 reserve only, 4 synchronize, 5 concurrent update.
    void SetCheckoutMode(int mode);
    // 1 preserve the folders, 2 preserve and create them, 3 every file into the client folder.
    void SetPathOption(int option);
    void SetReplaceFile(bool replace);
    void SetCallBack(CaCallBack callBack);
    // 0 done; 3 done with some files left as they were; anything else failed.
    int Execute();
    int GetCheckoutMode() const;

private:
    HsdkSession* m_pSession;
    CaString m_sViewPath;
    CaString m_sClientDir;
    int m_nMode;
    int m_nPathOption;
    bool m_bReplaceFile;
    CaCallBack m_pCallBack;
};

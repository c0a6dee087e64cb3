#pragma once

#include "CaCheckin.h"
#include "CaCheckout.h"
#include "CaContainer.h"
#include "CaDeleteVersion.h"
#include "CaItemList.h"
#include "CaPackageChooser.h"
#include "CaRemoveItem.h"
#include "CaRenameItem.h"
#include "CaSQL.h"
#include "CaVersionChooser.h"

// The project, state and package work happens in, and the processes selected in that state.
class HSDK_API CaContext
{
public:
    explicit CaContext(HsdkSession* session);
    ~CaContext();
    CaContext(const CaContext&) = delete;
    CaContext& operator=(const CaContext&) = delete;

    // False when the server does not know the name.
    bool SetProject(const char* project);
    bool SetState(const char* state);
    bool SetPackage(const char* package);
    CaString GetProjectName() const;
    CaString GetStateName() const;
    CaString GetPackageName() const;
    CaContainer GetStateList();
    CaPackageChooser& GetPackageChooser();
    // One folder entry per repository the project sees, with the repository's object id.
    CaItemList GetItemList(bool withFiles, int option);
    CaSQL& GetSQL();
    CaVersionChooser& GetVersionChooser();

    // False when the state has no such process.
    bool SetCheckout(const char* processName);
    bool SetCheckin(const CaString& processName);
    bool SetDeleteVersion(const CaString& processName);
    CaString GetDeleteVersionName() const;
    bool SetRenameItem(const char* processName);
    bool SetRemoveItem(const char* processName);
    CaCheckout& GetCheckout();
    CaCheckin& GetCheckin();
    CaDeleteVersion& GetDeleteVersion();
    CaRenameItem& GetRenameItem();
    CaRemoveItem& GetRemoveItem();

private:
    HsdkSession* m_pSession;
    CaPackageChooser m_packageChooser;
    CaSQL m_sql;
    CaVersionChooser m_versionChooser;
    CaCheckout m_checkout;
    CaCheckin m_checkin;
    CaDeleteVersion m_deleteVersion;
    CaRenameItem m_renameItem;
    CaRemoveItem m_removeItem;
};

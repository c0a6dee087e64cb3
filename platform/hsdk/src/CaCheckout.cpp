#include <windows.h>

#include "CaCheckout.h"

#include "HsdkCallLog.h"
#include "HsdkGuard.h"
#include "HsdkClientFiles.h"
#include "HsdkSession.h"
#include "HsdkText.h"

CaCheckout::CaCheckout(HsdkSession* session)
    : m_pSession(session), m_nMode(1), m_nPathOption(2), m_bReplaceFile(false), m_pCallBack(nullptr)
{
}

CaCheckout::~CaCheckout() = default;

void CaCheckout::SetViewPath(const char* viewPath)
{
    HSDK_ENTER("CaCheckout::SetViewPath", , viewPath);
    m_sViewPath = viewPath;
}

void CaCheckout::SetClientDir(const char* clientDir)
{
    HSDK_ENTER("CaCheckout::SetClientDir", , clientDir);
    m_sClientDir = clientDir;
}

void CaCheckout::SetCheckoutMode(int mode)
{
    HSDK_ENTER("CaCheckout::SetCheckoutMode", , mode);
    m_nMode = mode;
}

void CaCheckout::SetPathOption(int option)
{
    HSDK_ENTER("CaCheckout::SetPathOption", , option);
    m_nPathOption = option;
}

void CaCheckout::SetReplaceFile(bool replace)
{
    HSDK_ENTER("CaCheckout::SetReplaceFile", , replace);
    m_bReplaceFile = replace;
}

void CaCheckout::SetCallBack(CaCallBack callBack)
{
    HSDK_ENTER("CaCheckout::SetCallBack", , callBack);
    m_pCallBack = callBack;
}

int CaCheckout::Execute()
{
    HSDK_ENTER_SCRIPTED(script, "CaCheckout::Execute");
    if (script)
        return script->RunProcess(m_pCallBack, this, m_pSession->m_pContext,
                                  [this] { return Execute(); });
    return HsdkGuard::Returning(
        static_cast<int>(HsdkSession::processWireFailed),
        [&]
        {
            nlohmann::json request = m_pSession->ContextRequest("checkout");
            request["versions"] = m_pSession->m_chosenVersions;
            request["viewPath"] = HsdkText::ToWire(m_sViewPath);
            request["clientDir"] = HsdkText::ToWire(m_sClientDir);
            request["mode"] = m_nMode;
            request["pathOption"] = m_nPathOption;
            request["replaceFile"] = m_bReplaceFile;
            const HsdkClientFiles files(m_sClientDir);
            HsdkEvents events;
            events.onFile = [&](const nlohmann::json& file, const std::string& bytes)
            { return files.WriteCheckoutFile(file, bytes); };
            return m_pSession->RunProcess(request, "checkout", m_pCallBack, this, events);
        });
}

int CaCheckout::GetCheckoutMode() const
{
    HSDK_ENTER("CaCheckout::GetCheckoutMode", forced_);
    return m_nMode;
}

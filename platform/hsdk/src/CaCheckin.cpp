#include <windows.h>

#include "CaCheckin.h"

#include "HsdkCallLog.h"
#include "HsdkGuard.h"
#include "HsdkClientFiles.h"
#include "HsdkFields.h"
#include "HsdkSession.h"
#include "HsdkText.h"

CaCheckin::CaCheckin(HsdkSession* session)
    : m_pSession(session), m_nMode(0), m_bDeleteAfterCI(false), m_nItemOption(0), m_nPathOption(0),
      m_pCallBack(nullptr)
{
}

CaCheckin::~CaCheckin() = default;

void CaCheckin::SetCheckinMode(int mode)
{
    HSDK_ENTER("CaCheckin::SetCheckinMode", , mode);
    m_nMode = mode;
}

void CaCheckin::SetDeleteAfterCI(bool deleteFiles)
{
    HSDK_ENTER("CaCheckin::SetDeleteAfterCI", , deleteFiles);
    m_bDeleteAfterCI = deleteFiles;
}

void CaCheckin::SetItemOption(int option)
{
    HSDK_ENTER("CaCheckin::SetItemOption", , option);
    m_nItemOption = option;
}

void CaCheckin::SetPathOption(int option)
{
    HSDK_ENTER("CaCheckin::SetPathOption", , option);
    m_nPathOption = option;
}

void CaCheckin::SetClientDir(const char* clientDir)
{
    HSDK_ENTER("CaCheckin::SetClientDir", , clientDir);
    m_sClientDir = clientDir;
}

void CaCheckin::SetFileList(const CaStringList& files)
{
    HSDK_ENTER("CaCheckin::SetFileList", , files);
    m_files = files;
}

void CaCheckin::SetViewPath(const char* viewPath)
{
    HSDK_ENTER("CaCheckin::SetViewPath", , viewPath);
    m_sViewPath = viewPath;
}

void CaCheckin::SetDescription(const char* description)
{
    HSDK_ENTER("CaCheckin::SetDescription", , description);
    m_sDescription = description;
}

void CaCheckin::SetCallBack(CaCallBack callBack)
{
    HSDK_ENTER("CaCheckin::SetCallBack", , callBack);
    m_pCallBack = callBack;
}

int CaCheckin::Execute(bool wait)
{
    HSDK_ENTER_SCRIPTED(script, "CaCheckin::Execute", wait);
    if (script)
        return script->RunProcess(m_pCallBack, this, m_pSession->m_pContext,
                                  [&] { return Execute(wait); });
    return HsdkGuard::Returning(
        static_cast<int>(HsdkSession::processWireFailed),
        [&]
        {
            nlohmann::json request = m_pSession->ContextRequest("checkin");
            request["viewPath"] = HsdkText::ToWire(m_sViewPath);
            request["clientDir"] = HsdkText::ToWire(m_sClientDir);
            request["mode"] = m_nMode;
            request["itemOption"] = m_nItemOption;
            request["pathOption"] = m_nPathOption;
            request["description"] = m_sDescription.GetLength()
                                         ? nlohmann::json(HsdkText::ToWire(m_sDescription))
                                         : nlohmann::json();
            request["deleteAfter"] = m_bDeleteAfterCI;
            request["files"] = nlohmann::json::array();
            for (int i = 0; i < m_files.GetSize(); ++i)
                request["files"].push_back(HsdkText::ToWire(m_files[i]));

            const HsdkClientFiles files(m_sClientDir);
            HsdkEvents events;
            // The broker names a file by its index in our own list, so it can only ever read
            // those.
            events.onSend = [&](const nlohmann::json& send, std::string& bytes)
            {
                const long long index = HsdkFields::Integer(send, "index");
                nlohmann::json answer = {{"op", "file"}, {"index", index}, {"exists", false}};
                std::string error = "not a listed file";
                if (index >= 0 && index < m_files.GetSize() &&
                    files.Read(m_files[static_cast<int>(index)], bytes, error))
                    answer["exists"] = true;
                else
                    answer["error"] = error;
                return answer;
            };
            const int result =
                m_pSession->RunProcess(request, "checkin", m_pCallBack, this, events);
            if (result == 0 && m_bDeleteAfterCI)
                for (int i = 0; i < m_files.GetSize(); ++i)
                    files.Delete(m_files[i]);
            return result;
        });
}

int CaCheckin::CreateItemPath(const char* relativePath, const char* parentViewPath)
{
    HSDK_ENTER("CaCheckin::CreateItemPath", forced_, relativePath, parentViewPath);
    return HsdkGuard::Returning(
        static_cast<int>(HsdkSession::processWireFailed),
        [&]
        {
            nlohmann::json request = m_pSession->ContextRequest("createPath");
            request["parentPath"] = HsdkText::ToWire(parentViewPath);
            request["path"] = HsdkText::ToWire(relativePath);
            return m_pSession->RunProcess(request, "checkin", nullptr, this);
        });
}

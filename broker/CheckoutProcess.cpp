#include "CheckoutProcess.h"

#include "ProcessChannel.h"
#include "Repository.h"
#include "Transaction.h"

#include <strings.h>

CheckoutProcess::CheckoutProcess(Repository& repository, ProcessChannel& channel)
    : m_repository(repository), m_channel(channel)
{
}

std::string CheckoutProcess::relativePath(const std::string& folderPath, const std::string& name,
                                          const std::string& viewPath, int pathOption)
{
    if (pathOption == 3)
        return name;
    if (folderPath.size() > viewPath.size() &&
        folderPath.compare(0, viewPath.size(), viewPath) == 0 &&
        folderPath[viewPath.size()] == '\\')
        return folderPath.substr(viewPath.size() + 1) + "\\" + name;
    return name;
}

int CheckoutProcess::run(const CheckoutRequest& request)
{
    bool left = false;
    bool failed = false;
    for (const std::int64_t id : request.versions)
    {
        switch (checkOut(request, id))
        {
        case Outcome::Done:
            break;
        case Outcome::Left:
            left = true;
            break;
        case Outcome::Failed:
            failed = true;
            break;
        }
    }
    return failed ? 1 : left ? 3 : 0;
}

bool CheckoutProcess::heldHere(const CheckoutRequest& request, std::int64_t itemId,
                               const std::string& localPath)
{
    const auto held = m_repository.reservation(itemId);
    return held && held->modifier == request.user && held->machine &&
           strcasecmp(held->machine->c_str(), request.machine.c_str()) == 0 && held->clientPath &&
           strcasecmp(held->clientPath->c_str(), localPath.c_str()) == 0;
}

CheckoutProcess::Outcome CheckoutProcess::checkOut(const CheckoutRequest& request,
                                                   std::int64_t versionId)
{
    const auto chosen = m_repository.version(versionId);
    if (!chosen)
    {
        m_channel.message("HSRV_E_CHECKOUT_VERSION", {std::to_string(versionId)});
        return Outcome::Failed;
    }
    const std::string itemPath = chosen->itemPath();
    const std::string localPath =
        request.clientDir + "\\" +
        relativePath(chosen->parentPath, chosen->name, request.viewPath, request.pathOption);
    const bool readOnlyCopy = request.mode == 1 || request.mode == 4;
    const bool reserving = request.mode == 2 || request.mode == 3;

    if (readOnlyCopy && heldHere(request, chosen->itemobjid, localPath))
    {
        m_channel.message("HSRV_I_MESSAGE",
                          {localPath + " is checked out by you and was left as it is"});
        return Outcome::Left;
    }
    std::string versionName = chosen->version();
    std::int64_t reservationId = 0;
    if (reserving)
    {
        // The transaction ends before anything goes to the client: a client that does not read
        // must never hold the write lock.
        {
            Transaction transaction(m_repository.db());
            if (!m_repository.reservation(chosen->itemobjid))
            {
                NewVersion newVersion;
                newVersion.status = "R";
                newVersion.modifier = request.user;
                newVersion.packageId = request.packageId;
                newVersion.machine = request.machine;
                newVersion.clientPath = localPath;
                const auto [id, number] =
                    m_repository.addVersion(chosen->itemobjid, newVersion, chosen->contentId);
                transaction.commit();
                reservationId = id;
                versionName = std::to_string(number);
            }
        }
        if (reservationId == 0)
        {
            m_channel.message("HSRV_E_RESERVED_VERSION_EXIST", {itemPath});
            return Outcome::Failed;
        }
        if (request.mode == 3)
        {
            m_channel.message("HSRV_I_MESSAGE", {itemPath + " reserved"});
            return Outcome::Done;
        }
    }

    const bool alwaysWrite = !readOnlyCopy;
    const nlohmann::json event = {
        {"event", "file"},
        {"path", localPath.substr(request.clientDir.size() + 1)},
        {"readOnly", readOnlyCopy},
        {"replace", alwaysWrite || request.replaceFile},
        {"skipIdentical", readOnlyCopy},
        {"createDirs", request.pathOption == 2 || request.pathOption == 3},
        {"versionobjid", chosen->objid},
    };
    const auto answer = m_channel.sendFile(event, m_repository.content(chosen->contentId));
    if (answer.written)
    {
        m_channel.message("HSRV_I_CHECKOUT",
                          {itemPath + ";" + versionName, request.machine + "\\\\" + localPath});
        return Outcome::Done;
    }
    if (!alwaysWrite && (answer.reason == "exists" || answer.reason == "identical"))
    {
        m_channel.message("HSRV_I_SAME_VERSION_NOT_MODIFIED", {localPath, versionName});
        return Outcome::Left;
    }
    if (reservationId != 0)
    {
        // The copy never arrived: the reservation would hold the item for nothing.
        Transaction transaction(m_repository.db());
        m_repository.deleteVersion(reservationId);
        transaction.commit();
    }
    m_channel.message("HSRV_E_FA", {itemPath, answer.error.empty() ? "the file could not be written"
                                                                   : answer.error});
    return Outcome::Failed;
}

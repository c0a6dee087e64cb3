#include "CheckoutProcess.h"

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
    for (const std::int64_t id : request.versions)
    {
        // Room for this file first: no more than FilesAhead are ever reserved or sent unanswered.
        takeAnswers(ProcessChannel::FilesAhead - 1);
        Prepared prepared = prepare(request, id);
        if (!prepared.send)
        {
            report(prepared.outcome, prepared.key, prepared.args);
            continue;
        }
        m_channel.sendFile(prepared.file.event, prepared.file.bytes);
        prepared.file.event = nlohmann::json();
        std::string().swap(prepared.file.bytes);
        m_sent.push_back(std::move(prepared.file));
    }
    takeAnswers(0);
    return m_failed ? 1 : m_left ? 3 : 0;
}

bool CheckoutProcess::heldHere(const CheckoutRequest& request, std::int64_t itemId,
                               const std::string& localPath)
{
    const auto held = m_repository.reservation(itemId);
    return held && held->modifier == request.user && held->machine &&
           strcasecmp(held->machine->c_str(), request.machine.c_str()) == 0 && held->clientPath &&
           strcasecmp(held->clientPath->c_str(), localPath.c_str()) == 0;
}

CheckoutProcess::Prepared CheckoutProcess::prepare(const CheckoutRequest& request,
                                                   std::int64_t versionId)
{
    const bool readOnlyCopy = request.mode == 1 || request.mode == 4;
    const bool reserving = request.mode == 2 || request.mode == 3;
    Prepared prepared;
    auto outcome = [&](Outcome kind, const char* key, std::vector<std::string> args)
    {
        prepared.outcome = kind;
        prepared.key = key;
        prepared.args = std::move(args);
        return std::move(prepared);
    };
    // One snapshot for the lookups, and in the update modes the write lock for the reservation.
    // It ends before anything goes to the client: a client that does not read must never hold
    // the write lock.
    Transaction transaction(m_repository.db(),
                            reserving ? Transaction::Kind::Write : Transaction::Kind::Read);
    const auto chosen = m_repository.version(versionId);
    if (!chosen)
        return outcome(Outcome::Failed, "HSRV_E_CHECKOUT_VERSION", {std::to_string(versionId)});
    OutgoingFile& file = prepared.file;
    file.itemPath = chosen->itemPath();
    file.versionName = chosen->version();
    const std::string relative =
        relativePath(chosen->parentPath, chosen->name, request.viewPath, request.pathOption);
    file.localPath = request.clientDir + "\\" + relative;
    file.destination = request.machine + "\\\\" + file.localPath;
    file.mayLeave = readOnlyCopy;

    if (readOnlyCopy && heldHere(request, chosen->itemobjid, file.localPath))
        return outcome(Outcome::Left, "HSRV_I_MESSAGE",
                       {file.localPath + " is checked out by you and was left as it is"});
    if (reserving)
    {
        if (m_repository.reservation(chosen->itemobjid))
            return outcome(Outcome::Failed, "HSRV_E_RESERVED_VERSION_EXIST", {file.itemPath});
        NewVersion newVersion;
        newVersion.status = "R";
        newVersion.modifier = request.user;
        newVersion.packageId = request.packageId;
        newVersion.machine = request.machine;
        newVersion.clientPath = file.localPath;
        const auto [id, number] =
            m_repository.addVersion(chosen->itemobjid, newVersion, chosen->contentId);
        file.reservationId = id;
        file.versionName = std::to_string(number);
        if (request.mode == 3)
        {
            transaction.commit();
            return outcome(Outcome::Done, "HSRV_I_MESSAGE", {file.itemPath + " reserved"});
        }
    }
    file.bytes = m_repository.content(chosen->contentId);
    transaction.commit();
    file.event = {
        {"event", "file"},
        {"path", relative},
        {"readOnly", readOnlyCopy},
        {"replace", !readOnlyCopy || request.replaceFile},
        {"skipIdentical", readOnlyCopy},
        {"createDirs", request.pathOption == 2 || request.pathOption == 3},
        {"versionobjid", chosen->objid},
    };
    prepared.send = true;
    return prepared;
}

void CheckoutProcess::report(Outcome outcome, const std::string& key,
                             const std::vector<std::string>& args)
{
    takeAnswers(0);
    m_left = m_left || outcome == Outcome::Left;
    m_failed = m_failed || outcome == Outcome::Failed;
    m_channel.message(key, args);
}

void CheckoutProcess::takeAnswers(std::size_t keep)
{
    while (!m_sent.empty())
    {
        const auto answer = m_channel.fileAnswer(m_sent.size() > keep);
        if (!answer)
            return;
        const OutgoingFile file = std::move(m_sent.front());
        m_sent.pop_front();
        finish(file, *answer);
    }
}

void CheckoutProcess::finish(const OutgoingFile& file, const ProcessChannel::FileAnswer& answer)
{
    if (answer.written)
    {
        m_channel.message("HSRV_I_CHECKOUT",
                          {file.itemPath + ";" + file.versionName, file.destination});
        return;
    }
    if (file.mayLeave && (answer.reason == "exists" || answer.reason == "identical"))
    {
        m_left = true;
        m_channel.message("HSRV_I_SAME_VERSION_NOT_MODIFIED", {file.localPath, file.versionName});
        return;
    }
    if (file.reservationId != 0)
    {
        // The copy never arrived: the reservation would hold the item for nothing.
        Transaction transaction(m_repository.db());
        m_repository.deleteVersion(file.reservationId);
        transaction.commit();
    }
    m_failed = true;
    m_channel.message(
        "HSRV_E_FA",
        {file.itemPath, answer.error.empty() ? "the file could not be written" : answer.error});
}

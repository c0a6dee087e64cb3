#include "CheckinProcess.h"

#include "Repository.h"
#include "Transaction.h"

CheckinProcess::CheckinProcess(Repository& repository, ProcessChannel& channel)
    : m_repository(repository), m_channel(channel)
{
}

bool CheckinProcess::validOptions(const CheckinRequest& request)
{
    return request.mode >= 0 && request.mode <= 2 && request.itemOption >= 0 &&
           request.itemOption <= 2 && request.pathOption >= 0 && request.pathOption <= 2;
}

int CheckinProcess::run(const CheckinRequest& request)
{
    if (request.files.empty())
    {
        m_channel.message("HSRV_E_CHECKIN_NO_FILES", {});
        return 1;
    }
    bool failed = false;
    std::size_t asked = 0;
    for (std::size_t i = 0; i < request.files.size(); ++i)
    {
        for (; asked < request.files.size() && asked < i + ProcessChannel::FilesAhead; ++asked)
            m_channel.askFile(asked, request.files[asked]);
        const ProcessChannel::FileData file = m_channel.receiveFile(i);
        Messages messages;
        if (!checkIn(request, i, file, messages))
            failed = true;
        for (const auto& [key, args] : messages)
            m_channel.message(key, args);
    }
    return failed ? 1 : 0;
}

bool CheckinProcess::checkIn(const CheckinRequest& request, std::size_t index,
                             const ProcessChannel::FileData& file, Messages& messages)
{
    const std::string& name = request.files[index];
    const std::string localPath = request.clientDir + "\\" + name;
    auto refuse = [&](const char* key, std::vector<std::string> args)
    {
        messages.emplace_back(key, std::move(args));
        return false;
    };
    if (!file.exists)
        return refuse("HSRV_E_FA",
                      {localPath, file.error.empty() ? "the file cannot be read" : file.error});

    const std::size_t cut = name.rfind('\\');
    const std::string fileName = cut == std::string::npos ? name : name.substr(cut + 1);
    const std::string subPath =
        cut == std::string::npos || request.pathOption == 2 ? "" : name.substr(0, cut);
    const std::string folderPath =
        subPath.empty() ? request.viewPath : request.viewPath + "\\" + subPath;
    if (!Repository::validName(fileName))
        return refuse("HSRV_E_FA", {localPath, "invalid file name"});

    Transaction transaction(m_repository.db());
    auto folder = m_repository.folder(folderPath);
    if (!folder && request.pathOption == 1)
    {
        const auto view = m_repository.folder(request.viewPath);
        if (view && m_repository.createPath(*view, subPath))
            folder = m_repository.folder(folderPath);
    }
    if (!folder)
        return refuse("HSRV_E_CHECKIN_CREATE_PATH", {localPath});
    const std::string itemPath = folderPath + "\\" + fileName;

    NewVersion stored;
    stored.modifier = request.user;
    stored.packageId = request.packageId;
    stored.description = request.description;
    NewVersion reserved = stored;
    reserved.status = "R";
    reserved.description.reset();
    reserved.machine = request.machine;
    reserved.clientPath = localPath;

    const auto item = m_repository.liveItem(*folder, fileName);
    if (!item)
    {
        if (request.itemOption == 2)
            return refuse("HSRV_E_CHECKIN_EXISTING_ITEMS_ONLY", {localPath});
        if (request.mode == 2)
            return refuse("HSRV_E_CHECKIN_NOT_RESERVED", {localPath});
        const std::int64_t itemId = m_repository.createItem(*folder, fileName);
        const std::int64_t contentId = m_repository.storeContent(file.bytes);
        const auto [versionId, number] = m_repository.addVersion(itemId, stored, contentId);
        (void)versionId;
        if (request.mode == 1)
            m_repository.addVersion(itemId, reserved, contentId);
        transaction.commit();
        messages.push_back(
            {"HSRV_I_CHECKIN", {localPath, itemPath + ";" + std::to_string(number)}});
        return true;
    }
    if (request.itemOption == 1)
        return refuse("HSRV_E_CHECKIN_NEW_ITEMS_ONLY", {localPath});
    const auto held = m_repository.reservation(*item);
    if (!held)
        return refuse("HSRV_E_CHECKIN_NOT_RESERVED", {localPath});
    if (held->modifier != request.user)
        return refuse("HSRV_E_CHECKIN_BY_OWNER_ONLY", {itemPath});
    reserved.machine = held->machine;
    reserved.clientPath = held->clientPath;

    if (request.mode == 2)
    {
        m_repository.deleteVersion(held->objid);
        transaction.commit();
        messages.push_back({"HSRV_I_CHECKIN_RELEASE", {itemPath}});
        return true;
    }
    std::int64_t latestNormalContent = 0;
    for (const VersionInfo& v : m_repository.itemVersions(*item))
        if (v.status == "N")
            latestNormalContent = v.contentId;
    const std::int64_t contentId = m_repository.storeContent(file.bytes);
    if (contentId == latestNormalContent)
    {
        messages.push_back({"HSRV_I_CHECKIN_NO_CHANGES", {localPath}});
        if (request.mode == 0)
        {
            m_repository.deleteVersion(held->objid);
            messages.push_back({"HSRV_I_CHECKIN_RELEASE", {itemPath}});
        }
        transaction.commit();
        return true;
    }
    m_repository.makeNormal(held->objid, stored, contentId);
    if (request.mode == 1)
        m_repository.addVersion(*item, reserved, contentId);
    transaction.commit();
    messages.push_back({"HSRV_I_CHECKIN", {localPath, itemPath + ";" + held->version()}});
    return true;
}

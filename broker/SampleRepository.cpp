#include "SampleRepository.h"

#include "BrokerError.h"
#include "Repository.h"
#include "Transaction.h"

#include <cstdint>
#include <string>
#include <vector>

namespace
{

const char* const Processes[][2] = {{"CheckOut", "checkout"},
                                    {"CheckIn", "checkin"},
                                    {"DeleteVersion", "deleteversion"},
                                    {"RenameItem", "renameitem"},
                                    {"RemoveItem", "removeitem"}};
const char* const SampleTime = "2009-03-07 14:05:00";

std::string xmlList(const char* root, const char* entry, const std::vector<std::string>& paths)
{
    std::string text =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<" + std::string(root) + ">\r\n";
    for (const std::string& path : paths)
        text += "  <" + std::string(entry) + " RelativePath=\"" + path + "\"></" + entry + ">\r\n";
    return text + "</" + root + ">\r\n";
}

class Builder
{
public:
    explicit Builder(Repository& r) : m_r(r) {}

    std::int64_t package(const char* project, const char* state, const char* name)
    {
        return m_r.package(m_r.state(m_r.project(project), state), name);
    }

    void allProcesses(std::int64_t state)
    {
        for (const auto& process : Processes)
            m_r.createProcess(state, process[0], process[1]);
    }

    // Adds an item whose version k has the given bytes; returns the item id.
    std::int64_t file(const std::string& folder, const std::string& name,
                      const std::vector<std::string>& versions)
    {
        const std::int64_t item = m_r.createItem(*m_r.folder(folder), name);
        for (const std::string& bytes : versions)
            version(item, bytes, {});
        return item;
    }

    std::int64_t version(std::int64_t item, const std::string& bytes, NewVersion newVersion)
    {
        if (newVersion.modifier.empty())
            newVersion.modifier = "dev1";
        if (newVersion.packageId == 0)
            newVersion.packageId = package("QXP", "Development", "QXP-001");
        if (!newVersion.modified)
            newVersion.modified = SampleTime;
        if (!newVersion.description && newVersion.status == "N")
            newVersion.description = "Initial import";
        return m_r.addVersion(item, newVersion, m_r.storeContent(bytes)).first;
    }

    std::int64_t plain(const std::string& folder, const std::string& name)
    {
        return file(folder, name, {name + " 0\r\n"});
    }

    void reserve(std::int64_t item, const std::string& bytes, const char* user, const char* package,
                 const char* machine, const char* clientPath)
    {
        NewVersion newVersion;
        newVersion.status = "R";
        newVersion.modifier = user;
        newVersion.packageId = this->package("QXP", "Development", package);
        newVersion.machine = machine;
        newVersion.clientPath = clientPath;
        version(item, bytes, newVersion);
    }

private:
    Repository& m_r;
};

} // namespace

void SampleRepository::create(Repository& r)
{
    if (!r.isEmpty())
        throw BrokerError("exists", "the repository already holds data");
    Transaction transaction(r.db());
    Builder b(r);
    r.createUser("dev1", "dev1pw", false);
    r.createUser("dev2", "dev2pw", false);
    r.createUser("harvest", "harvest", true);

    const std::int64_t qxp = r.createProject("QXP", true);
    const std::int64_t development = r.createState(qxp, "Development");
    b.allProcesses(development);
    r.createPackage(development, "QXP-001");
    r.createPackage(development, "QXP-002");
    const std::int64_t test = r.createState(qxp, "Test");
    r.createProcess(test, "CheckOut", "checkout");
    r.createProcess(test, "CheckIn", "checkin");
    r.createPackage(test, "QXP-T01");
    r.createState(qxp, "Release");

    const std::int64_t old = r.createProject("QXP_OLD", false);
    const std::int64_t archive = r.createState(old, "Archive");
    r.createProcess(archive, "CheckOut", "checkout");
    r.createPackage(archive, "OLD-001");

    const std::int64_t empty = r.createProject("Empty", true);
    const std::int64_t emptyDevelopment = r.createState(empty, "Development");
    b.allProcesses(emptyDevelopment);
    r.createPackage(emptyDevelopment, "EMPTY-001");

    r.createRepository("QXRepo");
    r.linkRepository("QXRepo", qxp);
    for (const char* folder : {"\\QXRepo\\Proj1", "\\QXRepo\\Proj1\\Screens", "\\QXRepo\\Proj2",
                               "\\QXRepo\\화면", "\\QXRepo\\Docs", "\\QXRepo\\Empty"})
        r.createFolder(folder);
    b.file("\\QXRepo", "Main.qxsln",
           {xmlList("Solution", "Project", {"Proj1\\Proj1.qxproj", "Proj2\\Proj2.qxproj"})});
    b.file("\\QXRepo\\Proj1", "Proj1.qxproj",
           {xmlList("Project", "File",
                    {"Screen1.xml", "Screen1.xcml", "Screen1.qxs", "Screens\\Main.xml",
                     "Screens\\Main.xcml", "Screens\\Main.qxs"})});
    b.plain("\\QXRepo\\Proj1", "Screen1.xml");
    b.plain("\\QXRepo\\Proj1", "Screen1.xcml");
    const std::int64_t screen1qxs = b.plain("\\QXRepo\\Proj1", "Screen1.qxs");
    b.reserve(screen1qxs, "Screen1.qxs 0\r\n", "dev1", "QXP-001", "OTHER-PC",
              "D:\\Other\\QXRepo\\Proj1\\Screen1.qxs");
    const std::int64_t main = r.createItem(*r.folder("\\QXRepo\\Proj1\\Screens"), "Main.xml");
    for (int k = 0; k <= 10; ++k)
    {
        NewVersion newVersion;
        char modified[32];
        std::snprintf(modified, sizeof modified, "2009-03-%02d 14:05:00", 7 + k);
        newVersion.modified = modified;
        newVersion.description = "Main screen revision " + std::to_string(k);
        b.version(main, "Main.xml " + std::to_string(k) + "\r\n", newVersion);
    }
    b.plain("\\QXRepo\\Proj1\\Screens", "Main.xcml");
    b.plain("\\QXRepo\\Proj1\\Screens", "Main.qxs");
    b.file("\\QXRepo\\Proj2", "Proj2.qxproj", {xmlList("Project", "File", {"Order.xml"})});
    const std::int64_t order = b.plain("\\QXRepo\\Proj2", "Order.xml");
    b.reserve(order, "Order.xml 0\r\n", "dev2", "QXP-002", "DEV2-PC",
              "C:\\QXWork\\QXRepo\\Proj2\\Order.xml");
    b.plain("\\QXRepo\\화면", "종합화면.xml");
    b.plain("\\QXRepo\\화면", "종합화면.xcml");
    b.plain("\\QXRepo\\Docs", "readme.txt");
    b.plain("\\QXRepo\\Docs", "notes.xml.bak");

    r.createRepository("Common");
    r.linkRepository("Common", qxp);
    r.linkRepository("Common", old);
    for (const char* folder : {"\\Common\\Lib", "\\Common\\Shared", "\\Common\\Shared\\Screens"})
        r.createFolder(folder);
    b.file("\\Common", "Shared.qxsln", {xmlList("Solution", "Project", {"Lib\\Lib.qxproj"})});
    b.file("\\Common\\Lib", "Lib.qxproj", {xmlList("Project", "File", {"Common.xml"})});
    const std::int64_t common = b.plain("\\Common\\Lib", "Common.xml");
    NewVersion colours;
    colours.modifier = "dev2";
    colours.packageId = b.package("QXP", "Development", "QXP-002");
    colours.modified = "2009-04-01 09:30:00";
    colours.description = "Shared colours";
    b.version(common, "Common.xml 1\r\n", colours);
    b.plain("\\Common\\Shared\\Screens", "Popup.xml");
    b.plain("\\Common\\Shared\\Screens", "Popup.xcml");
    transaction.commit();
}

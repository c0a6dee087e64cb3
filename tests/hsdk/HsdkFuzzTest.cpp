#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <mutex>
#include <nlohmann/json.hpp>
#include <random>

#include "FakeBroker.h"
#include "HsdkFixture.h"
#include "TestFiles.h"

// Every exported call that reaches the wire, against a fake broker whose replies are crafted
// and randomly mutated: each call returns, or throws CaException where its contract allows, within
// its deadline, and the process lives on. HSDK_FUZZ_CASES and HSDK_FUZZ_SEED change the run
// (scripts/fuzz-sdk).

namespace
{
using json = nlohmann::json;
using Clock = std::chrono::steady_clock;

const char kDeadlineMs[] = "500";
const auto kSlack = std::chrono::seconds(2);

struct Frame
{
    json header;
    std::string payload;
};

json Message(const char* key, std::vector<std::string> args)
{
    return {{"event", "message"}, {"key", key}, {"args", args}};
}

// What harbroker answers to each op: events, then the reply.
std::vector<Frame> GoodReply(const std::string& op)
{
    const Frame done = {json::parse(R"({"ok":true,"result":0})"), ""};
    auto reply = [](const char* text) { return std::vector<Frame>{{json::parse(text), ""}}; };
    if (op == "login")
        return reply(R"({"ok":true,"user":"dev1","admin":false})");
    if (op == "projects" || op == "states" || op == "packages")
        return reply(R"({"ok":true,"names":["QXP","Empty"]})");
    if (op == "context")
        return reply(R"({"ok":true})");
    if (op == "processes")
        return reply(R"({"ok":true,"processes":[{"name":"P-checkout","kind":"checkout"},
            {"name":"P-checkin","kind":"checkin"},
            {"name":"P-deleteversion","kind":"deleteversion"},
            {"name":"P-renameitem","kind":"renameitem"},
            {"name":"P-removeitem","kind":"removeitem"}]})");
    if (op == "items" || op == "subItems")
        return reply(R"({"ok":true,"items":[{"objid":3,"name":"QXRepo","path":"\\QXRepo",
            "repositobjid":1,"repository":"QXRepo","isPath":true}]})");
    if (op == "sql")
        return reply(R"({"ok":true,"columns":["ITEMOBJID","ITEMNAME"],"rows":2,
            "data":{"ITEMOBJID":[22,23],"ITEMNAME":["Common",null]}})");
    if (op == "chooseVersions")
        return reply(R"({"ok":true,"versions":[{"objid":12,"itemobjid":9,"name":"a.xml",
            "version":"5","status":"R","modifier":"dev2","modified":"2009-03-12 14:05:00",
            "package":"QXP-001","description":null,"clientMachine":"PC","clientPath":"C:\\w\\a.xml",
            "parentPath":"\\QXRepo","fullPath":"\\QXRepo\\a.xml","size":5}]})");
    if (op == "checkout")
        return {{json::parse(R"({"event":"file","path":"sub\\a.xml","readOnly":true,"replace":true,
                    "skipIdentical":true,"createDirs":true,"versionobjid":12})"),
                 "bytes"},
                {Message("HSRV_I_CHECKOUT", {"\\QXRepo\\a.xml;5", "PC\\\\C:\\w\\a.xml"}), ""},
                done};
    if (op == "checkin")
        return {{json::parse(R"({"event":"send","index":0,"path":"a.xml"})"), ""},
                {Message("HSRV_I_CHECKIN", {"C:\\w\\a.xml", "\\QXRepo\\a.xml;6"}), ""},
                done};
    return {{Message("HSRV_I_MESSAGE", {"done"}), ""}, done};
}

// Every node of a value, by its JSON pointer.
void Nodes(const json& value, const json::json_pointer& at, std::vector<json::json_pointer>& nodes)
{
    nodes.push_back(at);
    if (value.is_object())
        for (const auto& member : value.items())
            Nodes(member.value(), at / member.key(), nodes);
    else if (value.is_array())
        for (size_t i = 0; i < value.size(); ++i)
            Nodes(value[i], at / i, nodes);
}

// Stands for a nesting too deep to build as a value; spliced into the text.
const char kDeepPlaceholder[] = "@deep@";

std::string Text(const Frame& frame)
{
    std::string header = frame.header.dump();
    const size_t deep = header.find(std::string("\"") + kDeepPlaceholder + "\"");
    if (deep != std::string::npos)
        header.replace(deep, std::strlen(kDeepPlaceholder) + 2,
                       std::string(20000, '[') + std::string(20000, ']'));
    return FakeBroker::Frame(header, frame.payload);
}

std::string Bytes(const std::vector<Frame>& frames, size_t begin, size_t end)
{
    std::string bytes;
    for (size_t i = begin; i < end; ++i)
        bytes += Text(frames[i]);
    return bytes;
}

std::string Lengths(unsigned long json, unsigned long payload)
{
    std::string bytes;
    for (const unsigned long length : {json, payload})
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes += static_cast<char>((length >> shift) & 0xff);
    return bytes;
}

class Mutator
{
public:
    explicit Mutator(unsigned seed) : m_random(seed) {}

    // A reply to send for the call's op, and what was done to it.
    FakeBroker::Answer Mutate(std::vector<Frame> frames, std::string& kind)
    {
        const size_t all = frames.size();
        const size_t target = Pick(all);
        std::discrete_distribution<int> kinds({4, 10, 6, 4, 2, 6, 7, 2});
        switch (kinds(m_random))
        {
        case 0:
            kind = "none";
            return {Bytes(frames, 0, all), false};
        case 1:
            kind = "wrong type";
            ReplaceNode(frames[target].header);
            return {Bytes(frames, 0, all), false};
        case 2:
            kind = "missing key";
            RemoveKey(frames[target].header);
            return {Bytes(frames, 0, all), false};
        case 3:
        {
            kind = "truncated frame";
            const std::string bytes = Bytes(frames, 0, all);
            return {bytes.substr(0, Pick(bytes.size())), true};
        }
        case 4:
        {
            kind = "lengths past the limit";
            const unsigned long lengths[][2] = {
                {0, 0}, {(16u << 20) + 1, 0}, {2, (64u << 20) + 1}, {0xffffffffu, 0xffffffffu}};
            const auto& chosen = lengths[Pick(4)];
            return {Bytes(frames, 0, target) + Lengths(chosen[0], chosen[1]) + "{}", true};
        }
        case 5:
            kind = "unexpected frame";
            return {Bytes(frames, 0, target) + Unexpected() + Bytes(frames, target, all), false};
        case 6:
            kind = "connection closed";
            return {Bytes(frames, 0, target), true};
        default:
            kind = "long text";
            LengthenText(frames[target].header);
            return {Bytes(frames, 0, all), false};
        }
    }

    // Everything but the reply, which never comes.
    static FakeBroker::Answer Silent(const std::vector<Frame>& frames)
    {
        return {Bytes(frames, 0, frames.size() - 1), false};
    }

    size_t Pick(size_t count) { return count ? m_random() % count : 0; }

private:
    void ReplaceNode(json& header)
    {
        std::vector<json::json_pointer> nodes;
        Nodes(header, json::json_pointer(), nodes);
        json& node = header[nodes[Pick(nodes.size())]];
        static const json values = json::parse(
            R"([42, -1, 1099511627776, 1.5, "text", "\ud55c", true, null, {"x": 1}, [1, "a"],
                "@deep@"])");
        json value;
        do
            value = values[Pick(values.size())];
        while (value.type() == node.type());
        node = value;
    }

    // A megabyte where a text was, against work that grows with a name's length.
    void LengthenText(json& header)
    {
        std::vector<json::json_pointer> nodes;
        Nodes(header, json::json_pointer(), nodes);
        std::vector<json::json_pointer> texts;
        for (const json::json_pointer& node : nodes)
            if (header[node].is_string() && node.to_string() != "/event")
                texts.push_back(node);
        if (!texts.empty())
        {
            json& text = header[texts[Pick(texts.size())]];
            text = std::string(1 << 20, 'Q') + text.get<std::string>();
        }
    }

    void RemoveKey(json& header)
    {
        std::vector<json::json_pointer> nodes;
        Nodes(header, json::json_pointer(), nodes);
        std::vector<json::json_pointer> members;
        for (const json::json_pointer& node : nodes)
            if (!node.empty() && header[node.parent_pointer()].is_object())
                members.push_back(node);
        if (!members.empty())
        {
            const json::json_pointer& chosen = members[Pick(members.size())];
            header[chosen.parent_pointer()].erase(chosen.back());
        }
    }

    std::string Unexpected()
    {
        const std::string frames[] = {
            FakeBroker::Frame(R"({"event":"bogus"})"),
            FakeBroker::Frame(R"({"event":"file","path":"unasked.txt","replace":true})", "x"),
            FakeBroker::Frame(R"({"event":"send","index":7})"),
            FakeBroker::Frame(R"({"event":"message","key":"HSRV_I_MESSAGE","args":{"a":1}})"),
            FakeBroker::Frame(R"([1,2,3])"),
            FakeBroker::Frame("not json at all"),
            FakeBroker::Frame("{\"ok\":\"\xff\xfe\"}"),
            FakeBroker::Frame(R"({"ok":true,"names":["for another op"]})")};
        return frames[Pick(std::size(frames))];
    }

    std::mt19937 m_random;
};

// One exported call: run returns whether it did what a well-formed reply asks.
struct Call
{
    const char* name;
    const char* op;
    bool mayThrow;
    std::function<bool(CaHarvest&)> run;
};

// Reads every element of a server message, as the library's callbacks do.
void ReadMessage(int, void*, void*, CaContainer* message)
{
    const CaStringList keys = message->GetKeyList();
    for (int k = 0; k < keys.GetSize(); ++k)
        for (int row = 0; row < message->GetKeyElementCount(keys[k]); ++row)
            static_cast<void>(std::strlen(message->Props(keys[k], row)));
}

int Names(const CaContainer& list)
{
    return list.GetKeyElementCount("CA_ATTRKEY_NAME");
}

bool ChooseOne(CaVersionChooser& chooser)
{
    try
    {
        return chooser.Execute() == 0 && chooser.GetVersionListAsList().GetSize() == 1 &&
               Names(chooser.GetVersionList()) == 1;
    }
    catch (const CaException&)
    {
        EXPECT_TRUE(chooser.GetVersionListAsList().IsEmpty()) << "a failed choice keeps nothing";
        throw;
    }
}

std::vector<Call> Calls(const std::string& broker, const std::string& folder)
{
    using H = CaHarvest&;
    return {
        {"CaHarvest::Login", "login", false,
         [=](H h) { return h.Login(broker.c_str(), "dev1", "pw") == 0; }},
        {"CaHarvest::Logout", "logout", false, [](H h) { return h.Logout(), true; }},
        {"CaHarvest::GetProjectList", "projects", true,
         [](H h) { return Names(h.GetProjectList()) == 2; }},
        {"CaHarvest::GetActiveProjectList", "projects", true,
         [](H h) { return Names(h.GetActiveProjectList()) == 2; }},
        {"CaHarvest::GetInactiveProjectList", "projects", true,
         [](H h) { return Names(h.GetInactiveProjectList()) == 2; }},
        {"CaContext::GetStateList", "states", true,
         [](H h) { return Names(h.GetContext().GetStateList()) == 2; }},
        {"CaContext::GetItemList", "items", true,
         [](H h) { return h.GetContext().GetItemList(false, 0).GetSize() == 1; }},
        {"CaItem::GetItemPathList", "subItems", true,
         [](H h)
         { return h.GetContext().GetItemList(false, 0)[0].GetItemPathList(false).GetSize() == 1; }},
        {"CaContext::SetProject", "context", false,
         [](H h) { return h.GetContext().SetProject("QXP"); }},
        {"CaContext::SetState", "context", false,
         [](H h) { return h.GetContext().SetState("Development"); }},
        {"CaContext::SetPackage", "context", false,
         [](H h) { return h.GetContext().SetPackage("QXP-001"); }},
        {"CaContext::SetCheckout+SetCheckin", "processes", false,
         [](H h)
         {
             return h.GetContext().SetCheckout("P-checkout") +
                        h.GetContext().SetCheckin(CaString("P-checkin")) ==
                    2;
         }},
        {"CaContext::SetDeleteVersion", "processes", false,
         [](H h)
         {
             return h.GetContext().SetDeleteVersion(CaString("P-deleteversion")) &&
                    h.GetContext().GetDeleteVersionName() == "P-deleteversion";
         }},
        {"CaContext::SetRenameItem+SetRemoveItem", "processes", false,
         [](H h)
         {
             return h.GetContext().SetRenameItem("P-renameitem") &&
                    h.GetContext().SetRemoveItem("P-removeitem");
         }},
        {"CaVersionChooser::Execute", "chooseVersions", true,
         [](H h) { return ChooseOne(h.GetContext().GetVersionChooser()); }},
        {"CaPackageChooser::Execute", "packages", true,
         [](H h)
         {
             CaPackageChooser& packages = h.GetContext().GetPackageChooser();
             return packages.Execute(true) == 0 && Names(packages.GetPackageList()) == 2;
         }},
        {"CaSQL::Execute", "sql", true,
         [](H h)
         {
             CaSQL& sql = h.GetContext().GetSQL();
             sql.SetSQLStatement("select itemobjid, itemname from haritems");
             return sql.Execute() == 0 && sql.GetSQLResult().GetKeyElementCount("ITEMNAME") == 2;
         }},
        {"CaCheckout::Execute", "checkout", false,
         [=](H h)
         {
             CaCheckout& checkout = h.GetContext().GetCheckout();
             checkout.SetClientDir(folder.c_str());
             checkout.SetCallBack(ReadMessage);
             return checkout.Execute() == 0;
         }},
        {"CaCheckin::Execute", "checkin", false,
         [=](H h)
         {
             CaCheckin& checkin = h.GetContext().GetCheckin();
             CaStringList files;
             files.Add("a.xml");
             checkin.SetClientDir(folder.c_str());
             checkin.SetFileList(files);
             checkin.SetCallBack(ReadMessage);
             return checkin.Execute(true) == 0;
         }},
        {"CaCheckin::CreateItemPath", "createPath", false,
         [](H h) { return h.GetContext().GetCheckin().CreateItemPath("x\\y", "\\QXRepo") == 0; }},
        {"CaDeleteVersion::Execute", "deleteVersion", false,
         [](H h) { return h.GetContext().GetDeleteVersion().Execute() == 0; }},
        {"CaRenameItem::Execute", "renameItem", false,
         [](H h) { return h.GetContext().GetRenameItem().Execute() == 0; }},
        {"CaRemoveItem::Execute", "removeItem", false,
         [](H h) { return h.GetContext().GetRemoveItem().Execute() == 0; }},
    };
}

int Setting(const char* variable, int fallback)
{
    const char* value = std::getenv(variable);
    return value && *value ? std::atoi(value) : fallback;
}
} // namespace

TEST(HsdkFuzzTest, EveryCallSurvivesMalformedRepliesWithinItsDeadline)
{
    const int cases = Setting("HSDK_FUZZ_CASES", 2000);
    const unsigned seed = static_cast<unsigned>(Setting("HSDK_FUZZ_SEED", 18));
    std::mutex mutex;
    std::string fuzzedOp;
    FakeBroker::Answer fuzzed;
    FakeBroker broker(
        [&](const std::string& op, const std::string&) -> FakeBroker::Answer
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (op == fuzzedOp)
                return fuzzed;
            if (op == "logout" || op == "fileDone" || op == "file")
                return {"", false};
            const std::vector<Frame> good = GoodReply(op);
            return {Bytes(good, 0, good.size()), false};
        });
    _putenv_s("HSDK_REPLY_TIMEOUT_MS", kDeadlineMs);
    TempFolder folder;
    WriteFile(folder.PathOf("a.xml"), "to check in");

    CaHarvest harvest;
    ASSERT_EQ(0, harvest.Login(broker.Address().c_str(), "dev1", "pw"));
    const std::vector<Call> calls = Calls(broker.Address(), folder.Path());
    Mutator mutator(seed);
    const auto begin = Clock::now();
    for (int n = 0; n < cases; ++n)
    {
        const Call& call = calls[n % calls.size()];
        // Each call waits once for a reply that never comes; a deadline each is all they cost.
        const bool silent = n < static_cast<int>(calls.size());
        std::string kind = "reply never comes";
        {
            std::lock_guard<std::mutex> lock(mutex);
            fuzzedOp = call.op;
            fuzzed = silent ? Mutator::Silent(GoodReply(call.op))
                            : mutator.Mutate(GoodReply(call.op), kind);
        }
        const std::string what = "case " + std::to_string(n) + " (seed " + std::to_string(seed) +
                                 "): " + call.name + ", " + kind;
        bool done = false;
        const auto start = Clock::now();
        try
        {
            done = call.run(harvest);
        }
        catch (const CaException& e)
        {
            EXPECT_TRUE(call.mayThrow) << what << ": threw " << e.GetText();
        }
        catch (...)
        {
            ADD_FAILURE() << what << ": an exception other than CaException";
        }
        EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(std::atoi(kDeadlineMs)) + kSlack)
            << what;
        EXPECT_TRUE(done || kind != "none") << what << ": a well-formed reply failed";

        {
            std::lock_guard<std::mutex> lock(mutex);
            fuzzedOp.clear();
        }
        if (call.op == std::string("login") || call.op == std::string("logout"))
        {
            ASSERT_EQ(0, harvest.Login(broker.Address().c_str(), "dev1", "pw")) << what;
        }
    }
    _putenv_s("HSDK_REPLY_TIMEOUT_MS", "");
    std::printf("fuzz: %d cases, seed %u, %d connections, %.1f s\n", cases, seed,
                broker.Connections(), std::chrono::duration<double>(Clock::now() - begin).count());
}

#include "BrokerError.h"
#include "BrokerProcess.h"
#include "Database.h"
#include "ReadOnlyQuery.h"
#include "Repository.h"
#include "SampleRepository.h"

#include <gtest/gtest.h>

#include <set>

using nlohmann::json;

namespace
{

class SqlTest : public ::testing::Test
{
protected:
    SqlTest()
    {
        SampleRepository::create(m_repository);
        m_readOnly = std::make_unique<Database>(Repository::databasePath(m_dir.path), true);
    }

    json query(const std::string& sql, ReadOnlyQuery::Limits limits = {})
    {
        return ReadOnlyQuery(*m_readOnly, limits).run(sql);
    }

    // The refusal's text, or "" when the statement ran.
    std::string refusal(const std::string& sql, ReadOnlyQuery::Limits limits = {})
    {
        try
        {
            query(sql, limits);
            return "";
        }
        catch (const BrokerError& e)
        {
            EXPECT_EQ(e.code(), "sql") << sql;
            return e.what();
        }
    }

    std::string snapshot()
    {
        Statement s = m_repository.db().prepare(
            "SELECT (SELECT group_concat(id || name || removed) FROM items) || "
            "(SELECT group_concat(id || status) FROM versions) || (SELECT group_concat(name || "
            "hash) FROM users)");
        s.step();
        return s.text(0);
    }

    WorkFolder m_dir;
    Repository m_repository{m_dir.path};
    std::unique_ptr<Database> m_readOnly;
};

} // namespace

TEST_F(SqlTest, FileQueriesSpanBothRepositoriesKeepValueTypesAndLikeIsCaseSensitive)
{
    const std::string head =
        "select b.pathfullname, a.itemname from haritems a, harpathfullname b where "
        "a.parentobjid = b.itemobjid and ";
    const std::string repositories = " and (a.repositobjid=1 or a.repositobjid=2 )";
    const json screens = query(head + "a.itemname like '%.xml%'" + repositories);
    std::multiset<std::string> found;
    for (std::size_t i = 0; i < screens["rows"].get<std::size_t>(); ++i)
        found.insert(screens["data"]["PATHFULLNAME"][i].get<std::string>() + "\\" +
                     screens["data"]["ITEMNAME"][i].get<std::string>());
    EXPECT_EQ(found, (std::multiset<std::string>{
                         "\\QXRepo\\Proj1\\Screen1.xml", "\\QXRepo\\Proj1\\Screens\\Main.xml",
                         "\\QXRepo\\Proj2\\Order.xml", "\\QXRepo\\화면\\종합화면.xml",
                         "\\QXRepo\\Docs\\notes.xml.bak", "\\Common\\Lib\\Common.xml",
                         "\\Common\\Shared\\Screens\\Popup.xml"}));
    EXPECT_EQ(query(head + "a.itemname like '%.XML%'" + repositories)["rows"], 0);

    const json solutions = query(head + "a.itemname like '%qxsln%'" + repositories);
    EXPECT_EQ(solutions["rows"], 2);
    const json folders = query(head + "itemtype=0" + repositories);
    EXPECT_EQ(folders["rows"], 9) << "every folder but the two roots has a parent path";

    const json r = query("select null as Empty, 7 as n, '7' as t, 1.5 as r, itemname as ItemName, "
                         "itemname from haritems where itemobjid = 1");
    EXPECT_EQ(r["columns"], json({"EMPTY", "N", "T", "R", "ITEMNAME"}));
    EXPECT_EQ(r["data"], json::parse(R"({"EMPTY":[null],"N":[7],"T":["7"],"R":[1.5],
                                         "ITEMNAME":["QXRepo"]})"));
    EXPECT_EQ(query("select * from haritems where 1 = 0")["data"]["ITEMNAME"], json::array());
}

TEST_F(SqlTest, RefusesAnythingButOneBoundedSelectOverTheViews)
{
    const std::string before = snapshot();
    const char* refused[] = {
        "delete from haritems",
        "update items set name = 'x'",
        "insert into users(name, hash) values('x', 'y')",
        "drop table users",
        "attach database '/tmp/other.db' as other",
        "pragma writable_schema = 1",
        "select 1; delete from items",
        "select * from users",
        "select count(*) from main.users",
        "select * from haritems where itemname in (select name from users)",
        "with u as (select * from users) select * from u",
        "select * from items",
        "select * from sqlite_master",
        "select bytes from contents",
        "select randomblob(4)",
        "vacuum",
        "",
        "select * from nosuchtable",
    };
    for (const char* sql : refused)
        EXPECT_NE(refusal(sql), "") << sql;
    EXPECT_NE(refusal("select 1 " + std::string(70000, ' ')).find("too long"), std::string::npos);
    EXPECT_NE(refusal("select a.itemobjid from haritems a, haritems b, haritems c, haritems d")
                  .find("too many"),
              std::string::npos);
    ReadOnlyQuery::Limits quick;
    quick.maxTime = std::chrono::milliseconds(200);
    EXPECT_NE(refusal("with recursive c(x) as (select 1 union all select x + 1 from c) select "
                      "count(*) from c",
                      quick)
                  .find("too long"),
              std::string::npos);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(query("select 1 as one;  ")["data"]["ONE"][0], 1) << "a trailing semicolon is fine";
    EXPECT_EQ(query("select count(*) as n from haritems")["data"]["N"][0], 30)
        << "the guard is reusable";
}

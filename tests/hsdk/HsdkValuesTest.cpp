#include <windows.h>

#include <gtest/gtest.h>

#include "HSDK.h"

TEST(HsdkValuesTest, ContainersKeepKeyOrderAndGiveNullOutOfRange)
{
    CaContainer container;
    container.AddElement("_HEM_MsgKey", CaData("HSRV_I_CHECKIN"));
    container.AddElement("_HEM_MsgArg", CaData("C:\\Work\\화면.xml"));
    container.AddElement("_HEM_MsgArg", CaData(42L));
    container.AddElement("_HEM_MsgArg", CaData());

    const CaContainer copy = container;
    container.RemoveAll();
    const CaStringList keys = copy.GetKeyList();
    ASSERT_EQ(2, keys.GetSize());
    EXPECT_STREQ("_HEM_MsgKey", keys[0]);
    EXPECT_STREQ("_HEM_MsgArg", keys[1]);
    EXPECT_EQ(3, copy.GetKeyElementCount("_HEM_MsgArg"));

    EXPECT_STREQ("C:\\Work\\화면.xml", copy.Props("_HEM_MsgArg", 0));
    const CaData number = copy.Props("_HEM_MsgArg", 1);
    EXPECT_EQ(1, number.GetType());
    EXPECT_STREQ("42", number);
    EXPECT_TRUE(copy.Props("_HEM_MsgArg", 2).IsNull());
    EXPECT_TRUE(copy.Props("_HEM_MsgArg", 3).IsNull());
    EXPECT_TRUE(copy.Props("_HEM_MsgArg", -1).IsNull());
    EXPECT_STREQ("", copy.Props("missing", 0));

    CaContainer columnsOnly;
    columnsOnly.AddKey("ITEMNAME");
    EXPECT_TRUE(columnsOnly.IsEmpty()) << "a column without rows holds nothing";
}

TEST(HsdkValuesTest, ListsThrowOnABadIndexInsteadOfCrashing)
{
    CaStringList names;
    names.Add("a");
    EXPECT_THROW(names[1], CaException);
    EXPECT_THROW(CaVersionList()[0], CaException);
    EXPECT_THROW(CaItemList()[-1], CaException);
}

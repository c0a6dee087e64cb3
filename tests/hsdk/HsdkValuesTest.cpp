#include <windows.h>

#include <gtest/gtest.h>

#include "HSDK.h"

TEST(HsdkValuesTest, StringsCopyAndCompareByText)
{
    CaString text("화면");
    CaString copy = text;
    copy = "other";
    EXPECT_STREQ("화면", text);
    EXPECT_TRUE(text == "화면");
    EXPECT_TRUE(text != copy);
    EXPECT_FALSE(text != CaString("화면"));
    EXPECT_EQ(4, text.GetLength()) << "two code page 949 characters";
    EXPECT_TRUE(CaString(nullptr) == "");
    EXPECT_EQ(0, CaString().GetLength());
}

TEST(HsdkValuesTest, ContainersKeepKeyOrderAndGiveNullOutOfRange)
{
    CaContainer container;
    EXPECT_TRUE(container.IsEmpty());
    container.AddElement("_HEM_MsgKey", CaData("HSRV_I_CHECKIN"));
    container.AddElement("_HEM_MsgArg", CaData("C:\\Work\\a.xml"));
    container.AddElement("_HEM_MsgArg", CaData(42L));
    container.AddElement("_HEM_MsgArg", CaData());
    EXPECT_FALSE(container.IsEmpty());

    const CaContainer copy = container;
    container.RemoveAll();
    EXPECT_EQ(2, copy.GetKeyCount());
    const CaStringList keys = copy.GetKeyList();
    ASSERT_EQ(2, keys.GetSize());
    EXPECT_STREQ("_HEM_MsgKey", keys[0]);
    EXPECT_STREQ("_HEM_MsgArg", keys[1]);
    EXPECT_EQ(3, copy.GetKeyElementCount("_HEM_MsgArg"));
    EXPECT_EQ(0, copy.GetKeyElementCount("missing"));

    const CaData text = copy.Props("_HEM_MsgArg", 0);
    EXPECT_EQ(2, text.GetType());
    EXPECT_STREQ("C:\\Work\\a.xml", text);
    const CaData number = copy.Props("_HEM_MsgArg", 1);
    EXPECT_EQ(1, number.GetType());
    EXPECT_STREQ("42", number);
    EXPECT_EQ(42L, static_cast<long>(number));
    EXPECT_TRUE(copy.Props("_HEM_MsgArg", 2).IsNull());
    EXPECT_TRUE(copy.Props("_HEM_MsgArg", 3).IsNull());
    EXPECT_TRUE(copy.Props("_HEM_MsgArg", -1).IsNull());
    EXPECT_TRUE(copy.Props("missing", 0).IsNull());
    EXPECT_STREQ("", copy.Props("missing", 0));

    CaContainer columnsOnly;
    columnsOnly.AddKey("ITEMNAME");
    EXPECT_TRUE(columnsOnly.IsEmpty()) << "a column without rows holds nothing";
}

TEST(HsdkValuesTest, ListsThrowOnABadIndexInsteadOfCrashing)
{
    CaStringList names;
    names.Add("a");
    EXPECT_STREQ("a", names[0]);
    EXPECT_THROW(names[1], CaException);
    EXPECT_THROW(CaVersionList()[0], CaException);
    EXPECT_TRUE(CaVersionList().IsEmpty());
    EXPECT_THROW(CaItemList()[-1], CaException);
}

TEST(HsdkValuesTest, ExceptionsCrossTheDllByValue)
{
    try
    {
        CaHarvest harvest;
        harvest.GetContext().GetStateList();
        ADD_FAILURE() << "no exception without a login";
    }
    catch (CaException e)
    {
        CaException copy = e;
        EXPECT_STRNE("", copy.GetText());
        EXPECT_FALSE(copy.IsSevere());
    }
}

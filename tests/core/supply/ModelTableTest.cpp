#include "supply/ModelTable.h"

#include <gtest/gtest.h>

TEST(ModelTable, KnownCodesGiveTheirRows)
{
    const auto dunvael = ModelTable::find(5);
    ASSERT_TRUE(dunvael);
    EXPECT_EQ(dunvael->modelName, "Dunvael");
    EXPECT_EQ(dunvael->currentMax, 105.0);
    EXPECT_EQ(ModelTable::find(4)->voltageMax, 47.2);
    EXPECT_EQ(ModelTable::find(6)->modelName, "Halcet");
    EXPECT_FALSE(ModelTable::isFallback(6));
}

TEST(ModelTable, OtherCodesUpToTenGetTheFallbackRow)
{
    for (const int code : {0, 7, 8, 9, 10}) {
        const auto row = ModelTable::find(code);
        ASSERT_TRUE(row) << code;
        EXPECT_TRUE(ModelTable::isFallback(code));
        EXPECT_EQ(row->supplyName, "Неизвестный");
        EXPECT_EQ(row->modelName, "-");
        EXPECT_EQ(row->voltageMax, 10.0);
        EXPECT_EQ(row->code, code);
    }
    for (const int code : {-1, 11, 127, 129}) {
        EXPECT_FALSE(ModelTable::find(code)) << code;
    }
}

#include "settings/IniDocument.h"
#include "text/Cp1251.h"

#include <gtest/gtest.h>

TEST(IniDocument, ReadsWithoutRegardToCaseOrBlanks)
{
    const IniDocument document = IniDocument::parse("; comment\n[com-port]\n  usePORT =  COM3 \nLastPort=\"x y\"\n"
                                                    "[Other]\nUsePort=no\n[COM-Port]\nUsePort=later\n");
    EXPECT_EQ(document.value("COM-Port", "UsePort"), "COM3");
    EXPECT_EQ(document.value("COM-PORT", "lastport"), "x y");
    EXPECT_EQ(document.value("COM-Port", "Missing"), std::nullopt);
    EXPECT_EQ(document.value("Missing", "UsePort"), std::nullopt);
    EXPECT_EQ(document.entries("other").size(), 1U);
}

TEST(IniDocument, WritingKeepsEveryOtherLine)
{
    IniDocument document = IniDocument::parse("; kept\n[COM-Port]\nusePort=COM1\nodd line\n\n[HotValues]\nV9=1.0\n\n");
    document.setValue("COM-Port", "UsePort", "Auto"); // in place
    document.setValue("COM-Port", "LastPort", "COM2"); // at the end of its section, before the blank
    document.setValue("Debug", "Debug", "1"); // a new section at the end
    document.setValue("HotValues", "TotalZ", "0");
    EXPECT_EQ(document.serialise(),
        "; kept\n[COM-Port]\nUsePort=Auto\nodd line\nLastPort=COM2\n\n"
        "[HotValues]\nV9=1.0\nTotalZ=0\n\n[Debug]\nDebug=1\n");
}

TEST(IniDocument, KeepsWindowsLineEndings)
{
    IniDocument document = IniDocument::parse("[A]\r\nx=1\r\n");
    document.setValue("A", "y", "2");
    EXPECT_EQ(document.serialise(), "[A]\r\nx=1\r\ny=2\r\n");
    EXPECT_EQ(IniDocument::parse("").serialise(), "");
}

TEST(Cp1251, EveryByteSurvivesARoundTrip)
{
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    EXPECT_EQ(Cp1251::fromUtf8(Cp1251::toUtf8(all)), all);
    EXPECT_EQ(Cp1251::fromUtf8("В A"), "\xC2 A");
    EXPECT_EQ(Cp1251::toUtf8("\xCD\xE5\xF2"), "Нет");
    EXPECT_EQ(Cp1251::fromUtf8("€\xE2\x82"), "\x88?"); // a cut sequence does not read past the end
    EXPECT_EQ(Cp1251::fromUtf8("日本"), "??");
}

#include "config/LangText.h"

#include "support/SetupFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

TEST(LangText, MarkersBecomeLineBreaksOncePerMarker)
{
    SetupFolder folder;
    struct Case {
        const char* text;
        const char* shown;
    } cases[] = {
        {"one\\1two\\2three", "one\r\ntwo\r\nthree"},
        {"a\\3b\\2c\\1d", "a\r\nb\r\nc\r\nd"},
        {"first\\1second\\1third", "first\r\nsecond\\1third"},
        {"no markers", "no markers"},
        {"\\4 stays", "\\4 stays"},
        {"end\\1", "end\r\n"},
    };
    int n = 0;
    for (const Case& c : cases)
        folder.Set("language\\setup.ini", "Message", "K" + std::to_string(n++), c.text);
    n = 0;
    for (const Case& c : cases)
        EXPECT_EQ(g_langMsg.GetText(("K" + std::to_string(n++)).c_str()), c.shown) << c.text;
}

TEST(LangText, SectionIsFixedAtConstruction)
{
    SetupFolder folder;
    folder.Write("language\\setup.ini",
                 "[Setup]\r\nCaption=Printer Driver Setup\r\n[Message]\r\nCaption=not this one\r\n"
                 "[progress]\r\nwait=Please wait\r\n");
    EXPECT_EQ(CLangText("Setup").GetText("Caption"), "Printer Driver Setup");
    EXPECT_EQ(g_langMsg.GetText("Caption"), "not this one");
    // Names ignore case.
    EXPECT_EQ(CLangText("Progress").GetText("WAIT"), "Please wait");
}

TEST(LangText, MissingKeySectionOrFileGivesAnEmptyText)
{
    SetupFolder folder;
    EXPECT_EQ(g_langMsg.GetText("IDS_X64"), "");
    folder.Set("language\\setup.ini", "Message", "IDS_X32", "64-bit package");
    EXPECT_EQ(g_langMsg.GetText("IDS_X64"), "");
    EXPECT_EQ(CLangText("Nowhere").GetText("IDS_X32"), "");
    EXPECT_EQ(g_langMsg.GetText("IDS_X32"), "64-bit package");
}

TEST(LangText, LongTextsAreCutTo2047Characters)
{
    SetupFolder folder;
    folder.Set("language\\setup.ini", "Message", "IDS_LONG", std::string(3000, 'x') + "\\1");
    const std::string text = g_langMsg.GetText("IDS_LONG");
    EXPECT_EQ(text, std::string(2047, 'x'));
}

TEST(LangText, EachLookupKeepsItsOwnText)
{
    SetupFolder folder;
    folder.Set("language\\setup.ini", "Message", "IDS_ONE", "first text");
    folder.Set("language\\setup.ini", "Progress", "Wait", "second text");
    const std::string first = g_langMsg.GetText("IDS_ONE");
    const std::string second = CLangText("Progress").GetText("Wait");
    EXPECT_EQ(first, "first text");
    EXPECT_EQ(second, "second text");
}

TEST(LangText, TwoThreadsLookingUpAtOnceEachGetTheirOwnText)
{
    SetupFolder folder;
    folder.Set("language\\setup.ini", "Message", "IDS_ERR_COPYFIEL", "worker text");
    folder.Set("language\\setup.ini", "Progress", "Wait", "window text");
    std::atomic<bool> go{false};
    std::atomic<int> wrong{0};
    auto lookups = [&](const CLangText& lang, const char* key, const char* expected) {
        while (!go)
            std::this_thread::yield();
        for (int i = 0; i < 300; ++i) {
            if (lang.GetText(key) != expected)
                ++wrong;
        }
    };
    CLangText progress("Progress");
    std::thread worker(lookups, std::cref(g_langMsg), "IDS_ERR_COPYFIEL", "worker text");
    std::thread window(lookups, std::cref(progress), "Wait", "window text");
    go = true;
    worker.join();
    window.join();
    EXPECT_EQ(wrong, 0);
}

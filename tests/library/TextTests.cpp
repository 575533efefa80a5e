#include <string.h>

#include <string>

#include <gtest/gtest.h>

#include "Text.h"
#include "TestResources.h"
#include "Utility.h"

TEST(TextAllocation, KeepsBufferWhileTextFitsWithinSlack)
{
    CText text;
    EXPECT_EQ(0, text.GetCapacity());
    EXPECT_STREQ("", text.GetString());

    text.Assign("abc");
    EXPECT_EQ(13, text.GetCapacity());
    const char* first = text.GetString();
    text.Assign("xyz");
    EXPECT_EQ(first, text.GetString()) << "a text of the same length reuses the buffer";
    EXPECT_EQ(13, text.GetCapacity());

    text.Assign("ab");
    EXPECT_EQ(12, text.GetCapacity()) << "2 < 13 - 10 reallocates";
    EXPECT_STREQ("ab", text.GetString());

    text.Assign("abcdefghijk");
    EXPECT_EQ(12, text.GetCapacity()) << "11 < 12 fits and 11 >= 2: kept";
    text.Assign("abcdefghijkl");
    EXPECT_EQ(22, text.GetCapacity()) << "12 >= capacity reallocates";
}

TEST(TextAllocation, AssignFromTextUsesTwoBytesOfSlackAndAppendGrowsByTen)
{
    CText source("hello");
    CText copy;
    copy.Assign(source);
    EXPECT_EQ(7, copy.GetCapacity());
    copy.Append("!");
    EXPECT_EQ(7, copy.GetCapacity());
    copy.Append("?");
    EXPECT_EQ(17, copy.GetCapacity()) << "combined length 7 reaches the capacity";
    EXPECT_STREQ("hello!?", copy.GetString());

    CText empty;
    copy.Assign(empty);
    EXPECT_EQ(0, copy.GetCapacity());
    copy.AppendChar('x');
    EXPECT_EQ(11, copy.GetCapacity());
    EXPECT_STREQ("x", copy.GetString());

    copy.Append(copy);
    EXPECT_STREQ("xx", copy.GetString()) << "appending a text to itself";
}

TEST(TextAllocation, ConstructorsAndParts)
{
    EXPECT_STREQ("", CText(nullptr).GetString());
    EXPECT_EQ(0, CText(nullptr).GetCapacity());
    EXPECT_STREQ("ab", CText("abcdef", 2).GetString());
    EXPECT_STREQ("abc", CText("abc", 50).GetString()) << "stops at the terminator";
    EXPECT_EQ(0, CText("abc", 0).GetLength());

    CText original("copy me");
    CText copy(original);
    EXPECT_EQ(17, copy.GetCapacity());
    EXPECT_NE(original.GetString(), copy.GetString());

    CText text("abc");
    text.AssignPart(nullptr, 3);
    EXPECT_EQ(0, text.GetLength());
    text.Assign((const char*)nullptr);
    EXPECT_EQ(0, text.GetCapacity());
}

TEST(TextCompare, EmptyNullAndCase)
{
    CText empty;
    EXPECT_EQ(0, empty.Compare(""));
    EXPECT_EQ(0, empty.Compare(nullptr));
    EXPECT_EQ(-1, empty.Compare("a"));
    CText word("Word");
    EXPECT_EQ(1, word.Compare(nullptr));
    EXPECT_EQ(0, word.Compare("Word"));
    EXPECT_EQ(-1, word.Compare("word"));
    EXPECT_EQ(1, word.Compare("Wor"));
    EXPECT_EQ(0, word.CompareNoCase("wORD"));
    EXPECT_EQ(0, CompareNoCase("SETUP.INS", "setup.ins"));
    EXPECT_EQ(-1, CompareNoCase("a", "B"));
    EXPECT_EQ(1, CompareNoCase("b", "A"));
}

TEST(TextSearch, FindReverseFindRightDeleteAt)
{
    CText text("C:\\dir\\file.txt");
    EXPECT_EQ(2, text.Find('\\'));
    EXPECT_EQ(6, text.ReverseFind('\\'));
    EXPECT_EQ(-1, text.Find('#'));
    EXPECT_EQ(-1, CText().Find('a'));
    EXPECT_STREQ("file.txt", text.Right(8).GetString());
    text.DeleteAt(0);
    EXPECT_STREQ(":\\dir\\file.txt", text.GetString());
    EXPECT_EQ(14, text.GetLength());
    EXPECT_EQ(5, ReverseFindChar("a\\b\\c\\d", '\\'));
    EXPECT_EQ(-1, ReverseFindChar("abc", 'x'));
}

TEST(TextSearch, GetAtAndSetAtStayInsideTheBuffer)
{
    CText text("ab");
    EXPECT_EQ('b', text.GetAt(1));
    EXPECT_EQ(0, text.GetAt(2)) << "the terminator";
    EXPECT_EQ(0, text.GetAt(12)) << "beyond the capacity";
    EXPECT_EQ(0, CText().GetAt(0));
    EXPECT_EQ(0, text.SetAt(0, 'X'));
    EXPECT_STREQ("Xb", text.GetString());
    EXPECT_EQ(500, text.SetAt(500, 'Y')) << "outside the capacity nothing is written";
}

TEST(TextBuffer, GetBufferAndReleaseBuffer)
{
    CText text;
    char* empty = text.GetBuffer(-1, 0);
    ASSERT_NE(nullptr, empty);
    EXPECT_STREQ("", empty);
    EXPECT_EQ(2, text.GetCapacity());

    text.Assign("keep");
    char* buffer = text.GetBuffer(40, 1);
    EXPECT_EQ(50, text.GetCapacity());
    EXPECT_EQ(0, strncmp(buffer, "keep", 4)) << "keep carries the old text over";
    strcpy(buffer, "written through the buffer");
    text.ReleaseBuffer(-1);
    EXPECT_STREQ("written through the buffer", text.GetString());
    EXPECT_EQ(26, text.GetLength());
    EXPECT_EQ(27, text.GetCapacity());

    text.GetBuffer(10, 0);
    text.ReleaseBuffer(3);
    EXPECT_EQ(3, text.GetLength());
    EXPECT_EQ(4, text.GetCapacity());
    text.ReleaseBuffer(0);
    EXPECT_EQ(2, text.GetCapacity()) << "at least two bytes";

    CText fresh("old");
    char* started = fresh.GetBuffer(100, 0);
    EXPECT_EQ(0, started[0]) << "without keep a new buffer starts empty";
}

TEST(TextFormat, FormatsAndCutsAtTheLimit)
{
    CText text;
    text.Format("%s=%d", "answer", 42);
    EXPECT_STREQ("answer=42", text.GetString());
    EXPECT_EQ(19, text.GetCapacity());

    std::string big(20000, 'x');
    text.Format("%s", big.c_str());
    EXPECT_EQ(CText::kFormatLimit - 1, text.GetLength()) << "bounded, never overrun";

    text.FormatResource(IDS_TEST_FORMAT, "list", 3);
    EXPECT_STREQ("list has 3 items", text.GetString());
    EXPECT_EQ(1, text.LoadString(IDS_TEST_MESSAGE));
    EXPECT_STREQ("A message from the string table.", text.GetString());
    EXPECT_EQ(1, text.LoadString(9999));
    EXPECT_EQ(0, text.GetLength()) << "a missing resource gives an empty text";
}

TEST(WideText, AllocationRuleWithFiveCharactersOfSlack)
{
    CWideText text;
    text.Assign(L"abc");
    EXPECT_EQ(8, text.GetCapacity());
    const wchar_t* first = text.GetString();
    text.Assign(L"xyz");
    EXPECT_EQ(first, text.GetString());
    text.Assign(L"a");
    EXPECT_EQ(6, text.GetCapacity());
    EXPECT_STREQ(L"a", text.GetString());
    text.Assign(nullptr);
    EXPECT_EQ(0, text.GetLength());
    EXPECT_STREQ(L"", text.GetString());
}

TEST(SmallUtilities, BitValueAndItemIdListSize)
{
    EXPECT_EQ(1u, BitValue(0));
    EXPECT_EQ(0x80000000u, BitValue(31));
    EXPECT_EQ(2u, BitValue(33)) << "n mod 32";

    const BYTE list[] = {4, 0, 'a', 'b', 6, 0, 1, 2, 3, 4, 0, 0};
    EXPECT_EQ(12u, ItemIdListSize(list));
    const BYTE emptyList[] = {0, 0};
    EXPECT_EQ(2u, ItemIdListSize(emptyList));

    EXPECT_EQ(12u, ItemIdListSizeWithin(list, sizeof list));
    EXPECT_EQ(12u, ItemIdListSizeWithin(list, 100)) << "stops at the terminator";
    EXPECT_EQ(0u, ItemIdListSizeWithin(list, 11)) << "terminator cut off";
    EXPECT_EQ(0u, ItemIdListSizeWithin(list, 1));
    EXPECT_EQ(0u, ItemIdListSizeWithin(list, 0));
    const BYTE runaway[] = {0xFF, 0xFF, 1, 2, 0, 0};
    EXPECT_EQ(0u, ItemIdListSizeWithin(runaway, sizeof runaway)) << "an item larger than the block";
    const BYTE stuck[] = {1, 0, 0, 0};
    EXPECT_EQ(0u, ItemIdListSizeWithin(stuck, sizeof stuck)) << "an item smaller than its own size field";
}

namespace {
struct CCounted {
    explicit CCounted(int* deaths) : deaths(deaths) {}
    virtual ~CCounted() { ++*deaths; }
    int* deaths;
};
} // namespace

TEST(OwnedList, RemovingANodeDestroysItsObject)
{
    int deaths = 0;
    {
        COwnedList<CCounted> list;
        auto* first = list.AddHead(new CCounted(&deaths));
        list.AddHead(new CCounted(&deaths));
        auto* head = list.AddHead(new CCounted(&deaths));
        EXPECT_EQ(3, list.GetCount());
        EXPECT_EQ(head, list.GetHead());
        EXPECT_EQ(first, head->next->next);
        EXPECT_EQ(1, list.RemoveNode(head->next));
        EXPECT_EQ(1, deaths);
        EXPECT_EQ(first, list.GetHead()->next);
        EXPECT_EQ(list.GetHead(), first->previous);
        list.RemoveAll();
        EXPECT_EQ(3, deaths);
        EXPECT_EQ(0, list.GetCount());
        list.AddHead(new CCounted(&deaths));
    }
    EXPECT_EQ(4, deaths) << "the list's destructor removes what is left";
}

TEST(TimeValue, FileTimeAndSystemTimeAgreeOnWallClock)
{
    SYSTEMTIME local = {2024, 3, 0, 15, 13, 45, 30, 250};
    FILETIME localFile, utcFile;
    ASSERT_TRUE(SystemTimeToFileTime(&local, &localFile));
    ASSERT_TRUE(LocalFileTimeToFileTime(&localFile, &utcFile));

    CTimeValue value = CTimeValue::FromFileTime(utcFile, -1);
    EXPECT_NE(0, value.GetSeconds());
    EXPECT_EQ(250, value.GetMilliseconds());
    SYSTEMTIME back = {};
    ASSERT_TRUE(value.ToSystemTime(&back));
    EXPECT_EQ(2024, back.wYear);
    EXPECT_EQ(3, back.wMonth);
    EXPECT_EQ(15, back.wDay);
    EXPECT_EQ(13, back.wHour);
    EXPECT_EQ(45, back.wMinute);
    EXPECT_EQ(30, back.wSecond);
    EXPECT_EQ(250, back.wMilliseconds);
    EXPECT_EQ(5, back.wDayOfWeek) << "15 March 2024 was a Friday";
}

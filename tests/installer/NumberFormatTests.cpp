// The number format the wizard shows sizes in, taken from the user's locale.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "SetupScript.h"

namespace {

class NumberFormat : public testing::Test {
protected:
    void SetUp() override { GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SGROUPING, m_grouping, sizeof m_grouping); }
    void TearDown() override { SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SGROUPING, m_grouping); }

    std::string Format(const char* grouping, const char* number)
    {
        EXPECT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SGROUPING, grouping));
        CSetupScript script;
        script.FillNumberFormat();
        EXPECT_EQ(0u, script.m_numberFormat.NumDigits);
        m_separator = script.m_numberFormat.lpThousandSep;
        char formatted[64] = "";
        EXPECT_GT(GetNumberFormatA(LOCALE_USER_DEFAULT, 0, number, &script.m_numberFormat, formatted, sizeof formatted),
                  0);
        return formatted;
    }

    std::string Grouped(std::initializer_list<const char*> groups) const
    {
        std::string text;
        for (const char* group : groups)
            text += (text.empty() ? "" : m_separator) + group;
        return text;
    }

    char m_grouping[16] = "";
    std::string m_separator;
};

} // namespace

// Wine 8 formats with a null NUMBERFMT as if "3;0" were "3" (1234,567.00),
// so the expectations are written out instead of taken from that call.
TEST_F(NumberFormat, GroupsAsTheLocaleSaysWithoutDecimals)
{
    EXPECT_EQ(Grouped({"1", "234", "567"}), Format("3;0", "1234567")) << "threes throughout";
    EXPECT_FALSE(m_separator.empty());
    EXPECT_EQ(Grouped({"12", "34", "56", "789"}), Format("3;2;0", "123456789")) << "three, then twos";
    EXPECT_EQ(Grouped({"1234", "567"}), Format("3", "1234567")) << "one group of three only";
    EXPECT_EQ("999", Format("3;0", "999"));
}

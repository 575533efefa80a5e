// Splitting the command line and choosing files by their suffix.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CommandLine.h"

namespace {
std::vector<std::string> Arguments(const char* commandLine)
{
    std::vector<std::string> arguments;
    CText argument;
    const char* cursor = commandLine;
    while ((cursor = NextCommandArgument(cursor, argument)) != nullptr)
        arguments.push_back(argument.GetString());
    return arguments;
}

typedef std::vector<std::string> Strings;
} // namespace

TEST(CommandLine, SplitsAtRunsOfSpacesAndKeepsQuotedSpaces)
{
    EXPECT_EQ(Strings(), Arguments(""));
    EXPECT_EQ(Strings(), Arguments("     "));
    EXPECT_EQ(Strings(), Arguments(nullptr));
    EXPECT_EQ(Strings({"a.cbf"}), Arguments("a.cbf"));
    EXPECT_EQ(Strings({"a.cbf", "b.cpf"}), Arguments("  a.cbf    b.cpf  "));
    EXPECT_EQ(Strings({"C:\\My Books\\one.cbf", "two.cpf"}), Arguments("\"C:\\My Books\\one.cbf\" two.cpf"));
    EXPECT_EQ(Strings({"x", "C:\\open ended.cpf"}), Arguments("x \"C:\\open ended.cpf"))
        << "an unclosed quote runs to the end";
    EXPECT_EQ(Strings({"", "a"}), Arguments("\"\" a")) << "an empty quoted argument";
    EXPECT_EQ(Strings({"ab", "cd"}), Arguments("\"ab\"cd")) << "a closing quote ends the argument";
}

TEST(CommandLine, FilesAreChosenByTheirLastFourCharactersInAnyCase)
{
    EXPECT_EQ(kClipFileBook, ClassifyClipFile("C:\\books\\work.cbf"));
    EXPECT_EQ(kClipFileBook, ClassifyClipFile("WORK.CBF"));
    EXPECT_EQ(kClipFilePage, ClassifyClipFile("page.Cpf"));
    EXPECT_EQ(kClipFilePage, ClassifyClipFile(".cpf")) << "exactly four characters";
    EXPECT_EQ(kClipFileIgnored, ClassifyClipFile("notes.txt"));
    EXPECT_EQ(kClipFileIgnored, ClassifyClipFile("ab"));
    EXPECT_EQ(kClipFileIgnored, ClassifyClipFile(""));
    EXPECT_EQ(kClipFileIgnored, ClassifyClipFile("book.cbf.bak"));
    EXPECT_EQ(kClipFileIgnored, ClassifyClipFile("bookcbf"));
}

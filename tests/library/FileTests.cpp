#include <string.h>

#include <string>

#include <gtest/gtest.h>

#include "Files.h"
#include "DialogDriver.h"
#include "TestApp.h"
#include "TestResources.h"

namespace {
class DiskFileTest : public testing::Test {
protected:
    void SetUp() override { m_directory = MakeScratchDirectory("files"); }
    void TearDown() override { RemoveTree(m_directory); }

    std::string PathOf(const char* name) const { return m_directory + "\\" + name; }

    void WriteFile(const char* name, const char* contents)
    {
        CFileError error;
        CDiskFile file(PathOf(name).c_str(), kFileCreate | kFileWrite | kFileShareRead, &error);
        ASSERT_EQ(0, error.m_cause);
        ASSERT_TRUE(file.Write(contents, (DWORD)strlen(contents), &error));
    }

    std::string m_directory;
};

std::string MessageOf(CFileError& error, int capacity)
{
    char buffer[1200];
    memset(buffer, '#', sizeof buffer);
    if (!error.GetErrorMessage(buffer, capacity))
        return "<none>";
    return buffer;
}
} // namespace

TEST_F(DiskFileTest, MissingFileGivesFileNotFoundWithTheCallersName)
{
    CFileError error;
    std::string missing = PathOf("missing.cpf");
    CDiskFile file(missing.c_str(), kFileShareRead, &error);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(CFileError::kFileNotFound, error.m_cause);
    EXPECT_EQ(2, error.m_systemError);
    EXPECT_STREQ(missing.c_str(), error.m_fileName.GetString());
    EXPECT_EQ("File not found. File: " + missing, MessageOf(error, 1000));
}

TEST_F(DiskFileTest, MissingDirectoryGivesInvalidPath)
{
    CFileError error;
    CDiskFile file;
    EXPECT_EQ(0, file.Open(PathOf("nowhere\\x.cbf").c_str(), kFileCreate | kFileWrite, &error));
    EXPECT_EQ(CFileError::kInvalidPath, error.m_cause);
    EXPECT_EQ(3, error.m_systemError);
}

TEST_F(DiskFileTest, WritingADirectoryGivesAccessDenied)
{
    CreateDirectoryA(PathOf("folder").c_str(), nullptr);
    CFileError error;
    CDiskFile file(PathOf("folder").c_str(), kFileCreate | kFileWrite | kFileShareRead, &error);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(CFileError::kAccessDenied, error.m_cause);
    EXPECT_EQ(5, error.m_systemError);
}

TEST_F(DiskFileTest, ReadOnlyFileRefusesWritingWithAccessDenied)
{
    WriteFile("locked.txt", "data");
    ASSERT_TRUE(SetFileAttributesA(PathOf("locked.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    CFileError error;
    CDiskFile file(PathOf("locked.txt").c_str(), kFileCreate | kFileWrite | kFileShareRead, &error);
    // Wine keeps the read-only attribute in the Unix mode bits, which do not
    // stop a process running as root: there the file opens.
    if (file.IsOpen() && GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr)
        GTEST_SKIP() << "Wine running as root does not enforce the read-only attribute";
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(CFileError::kAccessDenied, error.m_cause);
    EXPECT_EQ(5, error.m_systemError);
}

TEST_F(DiskFileTest, OpenFileWithoutSharingGivesSharingViolation)
{
    WriteFile("shared.txt", "data");
    CFileError error;
    CDiskFile exclusive(PathOf("shared.txt").c_str(), kFileReadWrite, &error);
    ASSERT_TRUE(exclusive.IsOpen());
    CDiskFile second(PathOf("shared.txt").c_str(), kFileShareReadWrite, &error);
    EXPECT_FALSE(second.IsOpen());
    EXPECT_EQ(CFileError::kSharingViolation, error.m_cause);
}

TEST_F(DiskFileTest, ShortReadReturnsZeroAndAFullReadTheCount)
{
    WriteFile("six.bin", "123456");
    CFileError error;
    CDiskFile file(PathOf("six.bin").c_str(), kFileShareRead, &error);
    ASSERT_TRUE(file.IsOpen());
    EXPECT_EQ(6u, file.GetLength());
    char buffer[16] = "";
    EXPECT_EQ(0u, file.Read(buffer, 10, &error)) << "fewer bytes than asked for is a failure";
    EXPECT_STREQ(PathOf("six.bin").c_str(), error.m_fileName.GetString());
    EXPECT_EQ(0u, file.Read(buffer, 0, &error)) << "a read of nothing returns at once";

    EXPECT_EQ(0u, file.Seek(0, FILE_BEGIN, &error));
    EXPECT_EQ(4u, file.Read(buffer, 4, &error));
    EXPECT_EQ(0, memcmp(buffer, "1234", 4));
    EXPECT_EQ(4u, file.GetPosition());
}

TEST_F(DiskFileTest, WriteSeekAndLengthRoundTrip)
{
    CFileError error;
    CDiskFile file(PathOf("round.bin").c_str(), kFileCreate | kFileReadWrite, &error);
    ASSERT_TRUE(file.IsOpen());
    EXPECT_TRUE(file.Write("abcdef", 6, &error));
    EXPECT_TRUE(file.Write("", 0, &error)) << "writing nothing succeeds";
    EXPECT_EQ(6u, file.GetLength());
    EXPECT_TRUE(file.SetLength(3));
    EXPECT_EQ(3u, file.GetLength());
    EXPECT_TRUE(file.LockRange(0, 2));
    EXPECT_TRUE(file.UnlockRange(0, 2));
    EXPECT_TRUE(file.Flush());
    EXPECT_EQ(0, error.m_cause);

    CText path;
    file.GetFilePath(path);
    EXPECT_STREQ(PathOf("round.bin").c_str(), path.GetString());
    CText title;
    file.GetFileTitle(title);
    EXPECT_TRUE(title.Compare("round.bin") == 0 || title.Compare("round") == 0)
        << "the title may drop a known extension, as the shell shows it";

    EXPECT_EQ(0, file.Close());
    EXPECT_FALSE(file.IsOpen());
    file.GetFilePath(path);
    EXPECT_EQ(0, path.GetLength()) << "closing forgets the path";
    EXPECT_EQ(0, file.Close()) << "closing a closed file";

    CDiskFile keep;
    ASSERT_TRUE(keep.Open(PathOf("round.bin").c_str(), kFileCreate | kFileKeepContents | kFileReadWrite, &error));
    EXPECT_EQ(3u, keep.GetLength()) << "create with keep opens the existing contents";
    ASSERT_TRUE(keep.Open(PathOf("round.bin").c_str(), kFileCreate | kFileWrite, &error)) << "reopening closes first";
    EXPECT_EQ(0u, keep.GetLength()) << "create without keep truncates";
}

TEST(FileErrorMessages, CutsAtCapacityAndAppendsTheFileName)
{
    CFileError diskFull(CFileError::kDiskFull, 112, "C:\\x");
    EXPECT_EQ("Disk full", MessageOf(diskFull, 10));
    EXPECT_EQ("Disk full.", MessageOf(diskFull, 11)) << "no room for the name";

    CFileError denied(CFileError::kAccessDenied, 5, "C:\\book.cbf");
    EXPECT_EQ("Access denied. File: C:\\book.cbf", MessageOf(denied, 1000));

    CFileError none;
    EXPECT_EQ("No error. File: ", MessageOf(none, 1000));
    EXPECT_EQ(-1, none.m_systemError);

    CFileError lock(CFileError::kLockViolation, 33, nullptr);
    EXPECT_EQ("Lock violation File: ", MessageOf(lock, 1000));

    CFileError outside(23, 0, nullptr);
    EXPECT_EQ("<none>", MessageOf(outside, 1000));
    CError base;
    char buffer[5];
    EXPECT_EQ(1, base.GetErrorMessage(buffer, sizeof buffer));
    EXPECT_STREQ("No e", buffer);
}

TEST(FileErrorMessages, SystemErrorsMapToCauses)
{
    const struct {
        DWORD system;
        int cause;
    } rows[] = {
        {0, 0}, {2, 2}, {3, 3}, {267, 3}, {4, 4}, {5, 5}, {6, 6}, {16, 9}, {19, 15}, {29, 16}, {30, 17},
        {31, 1}, {32, 13}, {33, 14}, {38, 20}, {80, 8}, {82, 18}, {110, 21}, {112, 19}, {197, 12}, {996, 12},
        {997, 12}, {1111, 12}, {1117, 12}, {1392, 7}, {87, 22}, {12345, 22},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.cause, CFileError::CauseFromSystemError(row.system)) << "system error " << row.system;
}

TEST(FileErrorMessages, ReportErrorShowsAFileErrorBox)
{
    CFileError error(CFileError::kFileNotFound, 2, "C:\\gone.cpf");
    CDialogAnswer answer("File Error", IDOK);
    EXPECT_EQ(IDOK, error.ReportError(MB_OK | MB_ICONERROR, 0));
    ASSERT_TRUE(answer.Wait());
    EXPECT_EQ("File not found. File: C:\\gone.cpf", answer.Text());

    CFileError unknown(40, 0, nullptr);
    CDialogAnswer fallback("File Error", IDOK);
    unknown.ReportError(MB_OK, 0);
    ASSERT_TRUE(fallback.Wait());
    EXPECT_EQ("No error message is available.", fallback.Text());

    CDialogAnswer fromTable("File Error", IDOK);
    unknown.ReportError(MB_OK, IDS_TEST_MESSAGE);
    ASSERT_TRUE(fromTable.Wait());
    EXPECT_EQ("A message from the string table.", fromTable.Text());
}

TEST_F(DiskFileTest, FinderListsEntriesWithPathsAndAttributes)
{
    WriteFile("one.txt", "1");
    WriteFile("two.txt", "22");
    CreateDirectoryA(PathOf("sub").c_str(), nullptr);

    CFileFinder finder;
    ASSERT_TRUE(finder.FindFile(PathOf("*.txt").c_str()));
    int files = 0;
    do {
        CText name, path, url;
        finder.GetFileName(name);
        finder.GetFilePath(path);
        finder.GetFileUrl(url);
        EXPECT_EQ(m_directory + "\\" + name.GetString(), path.GetString());
        EXPECT_EQ("file://" + m_directory + "\\" + name.GetString(), url.GetString());
        EXPECT_FALSE(finder.IsDirectory());
        EXPECT_EQ(name.Compare("one.txt") == 0 ? 1u : 2u, finder.GetFileLength());
        FILETIME written;
        EXPECT_EQ(1, finder.GetLastWriteTime(&written));
        EXPECT_EQ(0, finder.GetLastWriteTime(nullptr));
        EXPECT_NE(0, finder.GetLastWriteTime().GetSeconds());
        files++;
    } while (finder.FindNext());
    EXPECT_EQ(2, files);

    EXPECT_TRUE(DirectoryExists(m_directory.c_str()));
    EXPECT_TRUE(DirectoryExists(PathOf("sub").c_str()));
    EXPECT_FALSE(DirectoryExists(PathOf("one.txt").c_str()));
    EXPECT_FALSE(DirectoryExists(PathOf("none").c_str()));
    EXPECT_FALSE(DirectoryExists("C:"));
    EXPECT_FALSE(DirectoryExists(""));
    EXPECT_TRUE(DirectoryExists("C:\\"));

    EXPECT_TRUE(AnyFileMatches(PathOf("*.txt").c_str()));
    EXPECT_FALSE(AnyFileMatches(PathOf("s*").c_str())) << "a plain directory does not count";
    EXPECT_FALSE(AnyFileMatches(PathOf("*.none").c_str()));
}

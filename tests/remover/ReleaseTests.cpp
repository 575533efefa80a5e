// The release folder: an Install.exe of each architecture, and everything
// it carries of that same architecture, down to the removal program inside
// Remove.exe.
#include <gtest/gtest.h>

#include <string>

#include "RemoverTestSupport.h"
#include "TestApp.h"

namespace {

// The machine of a program image; 0 when the bytes are none.
WORD ImageMachine(const std::string& image)
{
    if (image.size() < sizeof(IMAGE_DOS_HEADER))
        return 0;
    LONG offset = ((const IMAGE_DOS_HEADER*)image.data())->e_lfanew;
    if (offset < 0 || (size_t)offset + sizeof(IMAGE_NT_HEADERS32) > image.size())
        return 0;
    return ((const IMAGE_NT_HEADERS32*)(image.data() + offset))->FileHeader.Machine;
}

// The bytes of a resource of a program file, read without running it.
std::string CarriedBytes(const std::string& program, const char* name, const char* type)
{
    std::string bytes;
    HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC resource = module ? FindResourceA(module, name, type) : nullptr;
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    if (loaded != nullptr)
        bytes.assign((const char*)LockResource(loaded), SizeofResource(module, resource));
    if (module != nullptr)
        FreeLibrary(module);
    return bytes;
}

} // namespace

TEST(RemoverReleaseTest, EachInstallerCarriesItsOwnArchitecture)
{
    const struct {
        const char* folder;
        WORD machine;
    } builds[] = {{"i686", IMAGE_FILE_MACHINE_I386}, {"x86_64", IMAGE_FILE_MACHINE_AMD64}};
    std::string scratch = MakeScratchDirectory("release");
    for (const auto& build : builds) {
        SCOPED_TRACE(build.folder);
        std::string install = TestBinaryDirectory() + RELEASE_FOLDER + "\\" + build.folder + "\\Install.exe";
        ASSERT_TRUE(PathExists(install)) << install;
        EXPECT_EQ(build.machine, ImageMachine(ReadFileText(install)));
        EXPECT_EQ(build.machine, ImageMachine(CarriedBytes(install, "VELLMORA.EXE", "FILES")));
        std::string remove = scratch + "\\" + build.folder + "-Remove.exe";
        std::string removeBytes = CarriedBytes(install, "REMOVE.EXE", "FILES");
        WriteTextFile(remove, removeBytes);
        EXPECT_EQ(build.machine, ImageMachine(removeBytes));
        EXPECT_EQ(build.machine, ImageMachine(CarriedBytes(remove, "SWEEPER.EXE", "FILES")));
        EXPECT_FALSE(CarriedBytes(install, "README.TXT", "FILES").empty());
        EXPECT_FALSE(CarriedBytes(install, "SETUP.INS", "INSTALL").empty());
    }
    RemoveTree(scratch);
}

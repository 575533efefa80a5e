// LoadScript over the scripts and files the test executable carries as
// resources, the shipped script first.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "ScriptTestSupport.h"
#include "SetupScript.h"
#include "TestApp.h"

namespace {

// The carried test files of tests/installer/data.
const uint32_t kRemoveSize = 3000;
const uint32_t kReadMeSize = 74;
const uint32_t kVellmoraSize = 7000;

std::string StringData(const CRegItem& entry)
{
    EXPECT_EQ((uint32_t)REG_SZ, entry.m_type);
    EXPECT_TRUE(entry.HasData());
    EXPECT_EQ(0, entry.m_data.back()) << "the terminator is part of the data";
    return std::string(entry.m_data.begin(), entry.m_data.end() - 1);
}

const CRegItem* FindEntry(const CItemList<CRegItem>& entries, const char* keyPath, const char* valueName)
{
    for (const CRegItem* entry : entries)
        if (entry->m_keyPath == keyPath && entry->m_valueName == valueName && entry->HasData())
            return entry;
    return nullptr;
}

} // namespace

TEST(LoadScript, TheShippedScript)
{
    CRecordedProgress progress;
    CSetupScript script;
    script.m_preparingDialog = &progress;
    ASSERT_EQ(1, script.LoadScript("SETUP.INS"));
    EXPECT_EQ(1, progress.m_rangeCalls);
    EXPECT_EQ(7, progress.m_high) << "five headers plus 2";
    EXPECT_EQ(6, progress.m_steps) << "the first, three IF lines, one SELECTION line, the last";

    EXPECT_EQ("Vellmora v1.1", script.m_programName);
    EXPECT_EQ("Install Vellmora v1.1...", script.m_title);
    EXPECT_EQ(0x0000FFu, script.m_backColor) << "FF0000 is red";
    EXPECT_EQ(0u, script.m_fadeColor);
    EXPECT_EQ(0xFFFFFFu, script.m_textColor);
    EXPECT_EQ(0u, script.m_shadeColor);
    EXPECT_EQ("%p\\Vellmora", script.m_destination);
    EXPECT_EQ("Vellmora", script.m_programGroup);

    EXPECT_EQ(Names({"%d\\Remove.exe", "%d\\ReadMe.txt"}), Destinations(script.m_files))
        << "no system library is carried";
    EXPECT_EQ(3, script.m_registry.GetCount());
    EXPECT_EQ(1, script.m_shortcuts.GetCount());
    EXPECT_EQ(0, script.m_programs.GetCount());
    ASSERT_EQ(1, script.m_conditions.GetCount());
    EXPECT_EQ(1, script.m_conditions.GetHead()->m_programs.GetCount());

    ASSERT_EQ(3, script.GetOptionCount());
    const CCheckItem* icons = script.m_options.GetHead();
    EXPECT_EQ("DESKTOPICONS", icons->m_name);
    EXPECT_EQ("Create icons to desktop", icons->m_caption);
    EXPECT_EQ(1, icons->m_on);
    EXPECT_EQ("Open readme.txt file", icons->m_next->m_caption);
    EXPECT_EQ(0, icons->m_next->m_on);
    EXPECT_EQ(0, icons->m_next->m_next->m_on);

    ASSERT_EQ(1, script.GetComponentCount());
    const CSelection* viewer = script.m_components.GetHead();
    EXPECT_EQ("Vellmora", viewer->m_title);
    EXPECT_EQ(kStateOn, viewer->m_state);
    EXPECT_EQ(Names({"%d\\Vellmora.exe"}), Destinations(viewer->m_files));
    EXPECT_EQ(13, viewer->m_registry.GetCount());
    EXPECT_EQ(1, viewer->m_shortcuts.GetCount());
    EXPECT_EQ(2, viewer->m_conditions.GetCount());
    EXPECT_EQ(3, script.GetShortcutCount(false));

    EXPECT_EQ(kVellmoraSize, viewer->m_size);
    EXPECT_EQ(kRemoveSize + kReadMeSize + kVellmoraSize, script.m_requiredSize);

    EXPECT_EQ(8u, script.CountInstallSteps()) << "files 3, registry 2, shortcuts 3";
    script.m_programGroup.clear();
    EXPECT_EQ(5u, script.CountInstallSteps()) << "no shortcuts without a program group";
}

TEST(LoadScript, RegistryDataOfTheShippedScript)
{
    CSetupScript script;
    ASSERT_EQ(1, script.LoadScript("SETUP.INS"));
    const char* const uninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vellmora";
    const CRegItem* uninstall = FindEntry(script.m_registry, uninstallKey, "UninstallString");
    ASSERT_NE(nullptr, uninstall);
    EXPECT_EQ(HKEY_LOCAL_MACHINE, uninstall->m_root);
    std::string command = StringData(*uninstall);
    EXPECT_EQ("\"%d\\Remove.exe\"", command);
    script.m_destination = "C:\\Program Files\\Vellmora";
    script.ExpandMacros(command);
    EXPECT_EQ("\"C:\\Program Files\\Vellmora\\Remove.exe\"", command) << "a destination with spaces stays one path";

    const CSelection* viewer = script.m_components.GetHead();
    const CRegItem* open = FindEntry(viewer->m_registry, "VellmoraBook\\shell\\open\\command", "");
    ASSERT_NE(nullptr, open);
    EXPECT_EQ(HKEY_CLASSES_ROOT, open->m_root);
    EXPECT_EQ("\"%d\\Vellmora.exe\" \"%1\"", StringData(*open));
    const CRegItem* icon = FindEntry(viewer->m_registry, "VellmoraPage\\DefaultIcon", "");
    ASSERT_NE(nullptr, icon);
    EXPECT_EQ("%m\\Vellmora.exe,4", StringData(*icon));
    const CRegItem* settings = viewer->m_registry.GetHead();
    EXPECT_EQ(HKEY_CURRENT_USER, settings->m_root);
    EXPECT_FALSE(settings->HasData()) << "the settings key is made without a value";
}

TEST(LoadScript, VersionedLibraryKeepsItsVersionAndFunctions)
{
    CSetupScript script;
    ASSERT_EQ(1, script.LoadScript("VERSIONED.INS"));
    ASSERT_EQ(2, script.m_files.GetCount());
    const CFileItem* library = script.m_files.GetHead();
    EXPECT_EQ("VERSIONED.DLL", library->m_source);
    EXPECT_EQ("%s\\vlmtest.dll", library->m_destination);
    EXPECT_EQ("4.71.0.0", library->m_version);
    EXPECT_EQ("VlmFirst  VlmSecond", library->m_functions);
    EXPECT_EQ("%d\\README.TXT", library->m_next->m_destination);
    EXPECT_EQ("1.0", library->m_next->m_version);

    // The carried bytes are those of the library built beside the tests:
    // a real module with the named exports and a version above 4.71.
    std::string path = TestBinaryDirectory() + "VersionedLibrary.dll";
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes));
    EXPECT_EQ(attributes.nFileSizeLow, library->m_size);
    EXPECT_EQ(attributes.nFileSizeLow + kReadMeSize, script.m_requiredSize);
    HMODULE module = LoadLibraryA(path.c_str());
    ASSERT_NE(nullptr, module);
    EXPECT_NE(nullptr, (void*)GetProcAddress(module, "VlmFirst"));
    EXPECT_NE(nullptr, (void*)GetProcAddress(module, "VlmSecond"));
    FreeLibrary(module);
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::string block(size + 2, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, &block[0]));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(&block[0], "\\", (void**)&info, &length));
    EXPECT_EQ(MAKELONG(72, 4), info->dwFileVersionMS);
}

TEST(LoadScript, UnusableResourcesChangeNothing)
{
    CRecordedProgress progress;
    CSetupScript script;
    script.m_preparingDialog = &progress;
    script.m_title = "Install";
    script.m_destination = "kept";
    EXPECT_EQ(0, script.LoadScript("MISSING.INS"));
    EXPECT_EQ(0, script.LoadScript("TINY.INS")) << "one byte is too short";
    EXPECT_EQ(0, script.LoadScript(nullptr));
    EXPECT_EQ("Install", script.m_title);
    EXPECT_EQ("kept", script.m_destination);
    EXPECT_EQ(0, progress.m_rangeCalls);

    EXPECT_EQ(1, script.LoadScript("TWO.INS")) << "two bytes are read, though [MAIN] is missing";
    EXPECT_EQ(3, progress.m_high);
    EXPECT_EQ(2, progress.m_steps);
    EXPECT_EQ(0, script.m_files.GetCount());
    EXPECT_EQ("Install", script.m_title);
}

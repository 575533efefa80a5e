// Reading whole scripts: [MAIN], components, conditions, sizes, progress and
// scripts that are broken or hostile.
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "ScriptTestSupport.h"

TEST(ScriptRead, MainKeysWithTheirInitialValuesAndTheLastOneWinning)
{
    CScriptModel empty;
    EXPECT_EQ(0x00FF0000u, empty.m_backColor) << "blue";
    EXPECT_EQ(kNoColor, empty.m_fadeColor);
    EXPECT_EQ(0x00FFFFFFu, empty.m_textColor) << "white";
    EXPECT_EQ(kNoColor, empty.m_shadeColor);
    EXPECT_EQ(0, empty.m_installStatus);

    CScriptModel script;
    ReadText("[main]\n"
             "title=First\nTITLE=Second\nPROGRAM=Prog v1\nBACKCOLOR=00FF00\nFADECOLOR=FFFFFFF\n"
             "TEXTCOLOR=zz\nSHADECOLOR=000080\nDEFDIRECTORY=%p\\Dir\nDEFICONGROUP=Group\nUNKNOWN=1\n",
             script);
    EXPECT_EQ("Second", script.m_title);
    EXPECT_EQ("Prog v1", script.m_programName);
    EXPECT_EQ(0x00FF00u, script.m_backColor);
    EXPECT_EQ(kNoColor, script.m_fadeColor);
    EXPECT_EQ(0u, script.m_textColor);
    EXPECT_EQ(0x800000u, script.m_shadeColor);
    EXPECT_EQ("%p\\Dir", script.m_destination) << "macros stay until the wizard expands them";
    EXPECT_EQ("Group", script.m_programGroup);
}

TEST(ScriptRead, ItemsKeepTheirOrderAndOnlyFilesOfMainAndComponentsCount)
{
    CFixedSizes sizes({{"A.BIN", 100}, {"B.BIN", 20}, {"C.BIN", 3}, {"D.BIN", 4000}});
    CScriptModel script;
    ReadText("[MAIN]\nFILE=A.BIN\nDIRECTORY=%d\\Sub\nFILE=B.BIN,%d\\Sub\\b.bin\nFILE=MISSING.BIN\n"
             "SELECTION=PART\nIF X==,COND\nRUN=%d\\a.exe /x, y\nICON=%i\\A.lnk,%d\\A.bin\n"
             "[PART]\nFILE=C.BIN\nDIRECTORY=%d\\Part\n"
             "[COND]\nFILE=D.BIN\n",
             script, nullptr, &sizes);
    EXPECT_EQ(Names({"%d\\A.BIN", "%d\\Sub", "%d\\Sub\\b.bin", "%d\\MISSING.BIN"}), Destinations(script.m_files));
    EXPECT_EQ(100u, script.m_files.GetHead()->m_size);
    EXPECT_TRUE(script.m_files.GetHead()->m_next->IsDirectory());
    EXPECT_EQ(0u, script.m_files.GetHead()->m_next->m_next->m_next->m_size) << "no carried file, no bytes";
    EXPECT_EQ("%d\\a.exe /x, y", script.m_programs.GetHead()->m_command);
    ASSERT_EQ(1, script.GetComponentCount());
    EXPECT_EQ(3u, script.m_components.GetHead()->m_size);
    ASSERT_EQ(1, script.m_conditions.GetCount());
    EXPECT_EQ(4000u, script.m_conditions.GetHead()->m_files.GetHead()->m_size);
    EXPECT_EQ(123u, script.m_requiredSize) << "directories and files of conditions never count";
}

TEST(ScriptRead, EachKindOfSectionKnowsItsOwnKeys)
{
    CFixedSizes sizes({{"SUB.BIN", 7}, {"OWN.BIN", 5}});
    CScriptModel script;
    ReadText("[MAIN]\nSELECTION=PART\nSELECTION=FIXED,R\nIF A==B,COND\n"
             "[PART]\nTITLE=Part\nPROGRAM=ignored\nBACKCOLOR=000000\nCHECK=X,ignored\nDEFDIRECTORY=ignored\n"
             "FILE=OWN.BIN\nSELECTION=SUB\nREG=HKCU,Key\nICON=a,b\nRUN=r\nIF C==D,COND\n"
             "[SUB]\nTITLE=Sub\nFILE=SUB.BIN\n"
             "[FIXED]\nTITLE=Fixed\nSELECTION=SUB\nIF C==D,COND\nFILE=OWN.BIN\n"
             "[COND]\nTITLE=ignored\nSELECTION=SUB\nCHECK=Y,ignored\nFILE=OWN.BIN\nIF E==F,INNER\n"
             "[INNER]\nRUN=inner\n",
             script, nullptr, &sizes);
    EXPECT_EQ("", script.m_programName);
    EXPECT_EQ(0x00FF0000u, script.m_backColor);
    EXPECT_EQ("", script.m_destination);
    EXPECT_EQ(0, script.GetOptionCount());

    ASSERT_EQ(2, script.GetComponentCount());
    const CSelection* part = script.m_components.GetHead();
    EXPECT_EQ("Part", part->m_title);
    EXPECT_EQ(kStateOn, part->m_state);
    EXPECT_EQ(12u, part->m_size) << "own files and sub-components";
    ASSERT_EQ(1, part->m_components.GetCount());
    EXPECT_EQ("Sub", part->m_components.GetHead()->m_title);
    EXPECT_EQ(1, part->m_registry.GetCount());
    EXPECT_EQ(1, part->m_shortcuts.GetCount());
    EXPECT_EQ(1, part->m_programs.GetCount());
    ASSERT_EQ(1, part->m_conditions.GetCount());
    EXPECT_EQ(1, part->m_conditions.GetHead()->m_conditions.GetCount());

    const CSelection* fixed = part->m_next;
    EXPECT_EQ(kStateRequired, fixed->m_state);
    EXPECT_EQ(0, fixed->m_components.GetCount()) << "a required component has no sub-components";
    EXPECT_EQ(1, fixed->m_conditions.GetCount()) << "but keeps its conditions";
    EXPECT_EQ(5u, fixed->m_size);

    const CIfItem* condition = script.m_conditions.GetHead();
    EXPECT_EQ(1, condition->m_files.GetCount());
    ASSERT_EQ(1, condition->m_conditions.GetCount());
    EXPECT_EQ("inner", condition->m_conditions.GetHead()->m_programs.GetHead()->m_command);
    EXPECT_EQ(17u, script.m_requiredSize);
}

TEST(ScriptRead, ASectionNamedTwiceIsReadTwiceIntoIndependentItems)
{
    CScriptModel script;
    ReadText("[MAIN]\nSELECTION=PART\nSELECTION=part,r\n[PART]\nTITLE=Part\nRUN=x\n", script);
    ASSERT_EQ(2, script.GetComponentCount());
    CSelection* first = script.m_components.GetHead();
    CSelection* second = first->m_next;
    EXPECT_EQ("Part", second->m_title);
    first->m_programs.GetHead()->m_command = "changed";
    EXPECT_EQ("x", second->m_programs.GetHead()->m_command);
}

TEST(ScriptRead, MissingSectionsAndScriptsWithoutMain)
{
    CRecordedProgress progress;
    CScriptModel script;
    EXPECT_EQ(1, ReadText("[MAIN]\nSELECTION=NOWHERE\nIF A==B,NOWHERE\nIF A==B\nRUN=after\n", script, &progress));
    ASSERT_EQ(1, script.GetComponentCount());
    EXPECT_EQ("", script.m_components.GetHead()->m_title);
    EXPECT_EQ(kStateOn, script.m_components.GetHead()->m_state);
    EXPECT_EQ(2, script.m_conditions.GetCount());
    EXPECT_EQ(1, script.m_programs.GetCount());
    EXPECT_EQ(3, progress.m_high);
    EXPECT_EQ(4, progress.m_steps) << "first, the SELECTION, the IF that names a section, last";

    CRecordedProgress noMainProgress;
    CScriptModel noMain;
    EXPECT_EQ(1, ReadText("// [MAIN] is only named here\n[OTHER]\nTITLE=x\nSELECTION=OTHER\n", noMain, &noMainProgress));
    EXPECT_EQ(0, noMain.GetComponentCount());
    EXPECT_EQ("", noMain.m_title);
    EXPECT_EQ(4, noMainProgress.m_high) << "every [ counts, the one of the comment too";
    EXPECT_EQ(2, noMainProgress.m_steps);

    CScriptModel hidden;
    ReadText("[MAIN]\nSELECTION=LATE\nTITLE=kept\n[BROKEN\n[LATE]\nTITLE=Late\n", hidden);
    EXPECT_EQ("kept", hidden.m_title);
    EXPECT_EQ("", hidden.m_components.GetHead()->m_title) << "a header without ] hides what follows";

    CScriptModel nothing;
    EXPECT_EQ(1, ReadScript("", 0, nothing, nullptr, nullptr));
    EXPECT_EQ(0, nothing.m_files.GetCount());
}

TEST(ScriptRead, AZeroByteEndsTheText)
{
    std::string text("[MAIN]\nTITLE=Before\n", 20);
    text += std::string(1, '\0') + "RUN=hidden\n[X]\n";
    CRecordedProgress progress;
    CScriptModel script;
    ReadScript(text.data(), text.size(), script, nullptr, &progress);
    EXPECT_EQ("Before", script.m_title);
    EXPECT_EQ(0, script.m_programs.GetCount());
    EXPECT_EQ(3, progress.m_high);
}

TEST(ScriptRead, CyclicSectionsAreReadWithoutItemsAndTheRestStillLoads)
{
    CRecordedProgress progress;
    CScriptModel script;
    ReadText("[MAIN]\nSELECTION=A\nIF X==,LOOP\nSELECTION=main\nRUN=after\n"
             "[A]\nTITLE=A\nSELECTION=B\n"
             "[B]\nTITLE=B\nSELECTION=A\nRUN=b\n"
             "[LOOP]\nRUN=loop\nIF Y==,LOOP\n",
             script, &progress);
    ASSERT_EQ(2, script.GetComponentCount());
    const CSelection* a = script.m_components.GetHead();
    const CSelection* b = a->m_components.GetHead();
    ASSERT_NE(nullptr, b);
    EXPECT_EQ("B", b->m_title);
    EXPECT_EQ(1, b->m_programs.GetCount());
    ASSERT_EQ(1, b->m_components.GetCount()) << "the line that closes the cycle still makes its component";
    EXPECT_EQ("", b->m_components.GetHead()->m_title);
    EXPECT_EQ(0, b->m_components.GetHead()->m_components.GetCount());

    const CIfItem* loop = script.m_conditions.GetHead();
    EXPECT_EQ(1, loop->m_programs.GetCount());
    ASSERT_EQ(1, loop->m_conditions.GetCount());
    EXPECT_EQ(0, loop->m_conditions.GetHead()->m_programs.GetCount());

    EXPECT_EQ("", script.m_components.GetHead()->m_next->m_title) << "[MAIN] naming itself";
    EXPECT_EQ(1, script.m_programs.GetCount()) << "lines behind the cycles are read";
    EXPECT_EQ(2 + 6, progress.m_steps);
}

TEST(ScriptRead, FanOutAndDeepNestingStopAtTheirLimits)
{
    // Twenty levels that each name the next twice would be read a million
    // times over.
    std::string fanOut = "[MAIN]\nSELECTION=L0\n";
    for (int level = 0; level < 20; level++) {
        fanOut += "[L" + std::to_string(level) + "]\nRUN=x\n";
        fanOut += "SELECTION=L" + std::to_string(level + 1) + "\nSELECTION=L" + std::to_string(level + 1) + "\n";
    }
    CScriptModel wide;
    ReadText(fanOut, wide);
    EXPECT_EQ(kMaxSectionReads - 1, CountRuns(wide)) << "every read but [MAIN]'s brings one RUN";

    std::string chain = "[MAIN]\nSELECTION=C0\n";
    for (int level = 0; level < 100; level++)
        chain += "[C" + std::to_string(level) + "]\nTITLE=" + std::to_string(level) + "\nSELECTION=C" +
                 std::to_string(level + 1) + "\n";
    CScriptModel deep;
    ReadText(chain, deep);
    int depth = 0;
    for (const CSelection* component = deep.m_components.GetHead(); component != nullptr;
         component = component->m_components.GetHead())
        if (!component->m_title.empty())
            depth++;
    EXPECT_EQ(kMaxSectionNesting - 1, depth) << "[MAIN] is the first level";
}

TEST(ScriptRead, EveryCutOfTheShippedScriptReadsAPartOfIt)
{
    std::string text = ShippedScriptText();
    ASSERT_GT(text.size(), 1000u);
    CScriptModel full;
    ReadText(text, full);
    for (size_t length = 0; length <= text.size(); length++) {
        CRecordedProgress progress;
        CScriptModel cut;
        ASSERT_EQ(1, ReadScript(text.data(), length, cut, nullptr, &progress));
        EXPECT_LE(cut.m_registry.GetCount(), full.m_registry.GetCount());
        EXPECT_LE(cut.GetComponentCount(), full.GetComponentCount());
        EXPECT_LE(cut.GetOptionCount(), full.GetOptionCount());
        EXPECT_LE(cut.GetShortcutCount(false), full.GetShortcutCount(false));
        EXPECT_GE(progress.m_steps, 2) << length;
    }
}

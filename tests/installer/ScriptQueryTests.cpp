// Variables, conditions and the wizard's queries over parsed scripts.
#include <string>

#include <gtest/gtest.h>

#include "ScriptTestSupport.h"

namespace {

const char kOptionsScript[] = "[MAIN]\n"
                              "CHECK=DESKTOPICONS,Icons\n"
                              "CHECK=OPENREADME,Readme,FALSE\n"
                              "CHECK=openreadme,Second of the name\n"
                              "IF OPENREADME!=TRUE,X\n"
                              "IF UNKNOWN!=TRUE,X\n"
                              "IF UNKNOWN==,X\n"
                              "IF Restart==true,X\n"
                              "IF DestinationPath==c:\\Program Files\\V,X\n"
                              "IF ICONGROUP!=,X\n"
                              "IF DESKTOPICONS==TRUE,X\n"
                              "[X]\n";

const CIfItem* Condition(const CScriptModel& script, int index)
{
    const CIfItem* condition = script.m_conditions.GetHead();
    while (index-- > 0)
        condition = condition->m_next;
    return condition;
}

} // namespace

TEST(ScriptVariables, OptionsPathsAndTheRestartFlag)
{
    CScriptModel script;
    ReadText(kOptionsScript, script);
    script.m_destination = "C:\\Program Files\\V";
    EXPECT_EQ("C:\\Program Files\\V", script.GetVariable("destinationpath"));
    EXPECT_EQ("", script.GetVariable("ICONGROUP"));
    EXPECT_EQ("FALSE", script.GetVariable("RESTART"));
    EXPECT_EQ("TRUE", script.GetVariable("DesktopIcons"));
    EXPECT_EQ("FALSE", script.GetVariable("OPENREADME")) << "the first option of a name";
    EXPECT_EQ("", script.GetVariable("UNKNOWN"));
    EXPECT_EQ("", script.GetVariable(""));

    script.m_installStatus = 1;
    EXPECT_EQ("TRUE", script.GetVariable("RESTART"));
    script.m_installStatus = 11;
    EXPECT_EQ("TRUE", script.GetVariable("RESTART"));
}

TEST(ScriptConditions, HoldAsTheirVariablesStandNow)
{
    CScriptModel script;
    ReadText(kOptionsScript, script);
    script.m_destination = "C:\\Program Files\\V";
    EXPECT_TRUE(script.ConditionHolds(*Condition(script, 0))) << "!= TRUE with the option off";
    EXPECT_TRUE(script.ConditionHolds(*Condition(script, 1))) << "!= TRUE for a name that is no variable";
    EXPECT_TRUE(script.ConditionHolds(*Condition(script, 2))) << "an empty value for a name that is no variable";
    EXPECT_FALSE(script.ConditionHolds(*Condition(script, 3))) << "RESTART before any file waited";
    EXPECT_TRUE(script.ConditionHolds(*Condition(script, 4))) << "values compare without regard to case";
    EXPECT_FALSE(script.ConditionHolds(*Condition(script, 5))) << "the program group is empty";
    EXPECT_TRUE(script.ConditionHolds(*Condition(script, 6)));

    // What the file step and the wizard change later counts at once.
    script.m_installStatus = 1;
    EXPECT_TRUE(script.ConditionHolds(*Condition(script, 3)));
    script.m_options.GetHead()->m_next->m_on = 1;
    EXPECT_FALSE(script.ConditionHolds(*Condition(script, 0)));
    script.m_programGroup = "Group";
    EXPECT_TRUE(script.ConditionHolds(*Condition(script, 5)));
}

TEST(ScriptQueries, OptionsAreSetByTheirControlIds)
{
    CScriptModel script;
    ReadText(kOptionsScript, script);
    EXPECT_EQ(3, script.GetOptionCount());
    EXPECT_EQ(0, script.GetComponentCount());
    CCheckItem* first = script.m_options.GetHead();
    first->m_controlId = 2000;
    first->m_next->m_controlId = 2001;
    EXPECT_TRUE(script.SetOption(2001, true));
    EXPECT_EQ("TRUE", script.GetVariable("OPENREADME"));
    EXPECT_TRUE(script.SetOption(2000, false));
    EXPECT_EQ(0, first->m_on);
    EXPECT_FALSE(script.SetOption(2002, true));
    EXPECT_TRUE(script.SetOption(0, false)) << "the third option has no box yet: id 0 is its id";
    EXPECT_EQ(0, first->m_next->m_next->m_on);
}

namespace {

// Sizes: main 1000 (a directory besides), TOP 100 with SUB 10 (and SUBSUB 1)
// and FIXED 5 beneath it, OTHER 50; every file of a condition 9999.
const char kComponentsScript[] = "[MAIN]\n"
                                 "FILE=MAIN.BIN\nDIRECTORY=%d\\Dir\nICON=a,b\nIF A==B,C1\n"
                                 "SELECTION=TOP\nSELECTION=OTHER\n"
                                 "[TOP]\nFILE=TOP.BIN\nDIRECTORY=%d\\Top\nICON=t,t\nIF A==B,C2\n"
                                 "SELECTION=SUB\nSELECTION=FIXED,R\n"
                                 "[SUB]\nFILE=SUB.BIN\nICON=s,s\nSELECTION=SUBSUB\n"
                                 "[SUBSUB]\nFILE=SUBSUB.BIN\nIF A==B,C1\n"
                                 "[FIXED]\nFILE=FIXED.BIN\nICON=f,f\n"
                                 "[OTHER]\nFILE=OTHER.BIN\n"
                                 "[C1]\nFILE=COND.BIN\nICON=c,c\nIF X==Y,C2\n"
                                 "[C2]\nFILE=COND.BIN\nICON=c,c\n";

CFixedSizes ComponentSizes()
{
    return CFixedSizes({{"MAIN.BIN", 1000},
                        {"TOP.BIN", 100},
                        {"SUB.BIN", 10},
                        {"SUBSUB.BIN", 1},
                        {"FIXED.BIN", 5},
                        {"OTHER.BIN", 50},
                        {"COND.BIN", 9999}});
}

} // namespace

TEST(ScriptComponents, SizesAfterLoadingAndTheRequiredSize)
{
    CFixedSizes sizes = ComponentSizes();
    CScriptModel script;
    ReadText(kComponentsScript, script, nullptr, &sizes);
    CSelection* top = script.m_components.GetHead();
    EXPECT_EQ(116u, top->m_size);
    EXPECT_EQ(11u, top->m_components.GetHead()->m_size);
    EXPECT_EQ(1166u, script.m_requiredSize);
    EXPECT_EQ(1166u, script.RecomputeRequiredSize());
    EXPECT_EQ(116u, script.GetChosenSize(*top));
}

TEST(ScriptComponents, StatesReachEverySubComponentButLeaveRequiredOnes)
{
    CFixedSizes sizes = ComponentSizes();
    CScriptModel script;
    ReadText(kComponentsScript, script, nullptr, &sizes);
    CSelection* top = script.m_components.GetHead();
    CSelection* sub = top->m_components.GetHead();
    CSelection* subsub = sub->m_components.GetHead();
    CSelection* fixed = sub->m_next;

    EXPECT_EQ(0u, script.SetComponentState(*sub, kStateOff)) << "off: nothing of it counts";
    EXPECT_EQ(kStateOff, subsub->m_state);
    EXPECT_EQ(0u, subsub->m_size);
    EXPECT_EQ(105u, script.GetChosenSize(*top));
    EXPECT_EQ(1155u, script.RecomputeRequiredSize());
    EXPECT_EQ(1155u, script.m_requiredSize);

    EXPECT_EQ(5u, script.SetComponentState(*top, kStateOff)) << "the required component keeps its size";
    EXPECT_EQ(kStateRequired, fixed->m_state);
    EXPECT_EQ(0u, script.GetChosenSize(*top));
    EXPECT_EQ(1050u, script.RecomputeRequiredSize());

    EXPECT_EQ(116u, script.SetComponentState(*top, kStateOn)) << "back on restores the full size";
    EXPECT_EQ(kStateOn, sub->m_state);
    EXPECT_EQ(kStateOn, subsub->m_state);
    EXPECT_EQ(11u, sub->m_size);
    EXPECT_EQ(1166u, script.RecomputeRequiredSize());

    EXPECT_EQ(5u, script.SetComponentState(*fixed, kStateOff));
    EXPECT_EQ(kStateRequired, fixed->m_state);
    EXPECT_EQ(116u, script.SetComponentState(*top, kStatePartial));
    EXPECT_EQ(kStatePartial, sub->m_state);
}

TEST(ScriptComponents, ShortcutCountsWithAndWithoutChosenComponents)
{
    CScriptModel script;
    ReadText(kComponentsScript, script);
    // [MAIN] 1 and its condition 1 + nested 1; TOP 1 + its condition 1;
    // SUB 1; SUBSUB's condition 1 + nested 1; FIXED 1.
    EXPECT_EQ(9, script.GetShortcutCount(false));
    EXPECT_EQ(9, script.GetShortcutCount(true));
    CSelection* top = script.m_components.GetHead();
    script.SetComponentState(*top->m_components.GetHead(), kStateOff);
    EXPECT_EQ(9, script.GetShortcutCount(false));
    EXPECT_EQ(6, script.GetShortcutCount(true));
    script.SetComponentState(*top, kStateOff);
    EXPECT_EQ(3, script.GetShortcutCount(true)) << "an unchosen component hides its required one";
}

TEST(ScriptComponents, InstallStepsCountEveryConditionButNoUnchosenComponent)
{
    CScriptModel held;
    ReadText("[MAIN]\nIF A==B,C\n[C]\nFILE=1\nFILE=2\nDIRECTORY=3\n", held);
    EXPECT_EQ(3u, held.CountInstallSteps()) << "a condition that does not hold counts in full";
    EXPECT_FALSE(held.ConditionHolds(*held.m_conditions.GetHead()));

    CScriptModel script;
    ReadText(kComponentsScript, script);
    // Files: [MAIN] 2, C1 1 + C2 1 (twice: [MAIN] and SUBSUB), TOP 2, C2 1,
    // SUB 1, SUBSUB 1, FIXED 1, OTHER 1.
    EXPECT_EQ(13u, script.CountInstallSteps()) << "no program group: shortcuts take no step";
    script.m_programGroup = "C:\\Menu\\Group";
    // One step for each of the nine lists with shortcuts.
    EXPECT_EQ(22u, script.CountInstallSteps());
    script.SetComponentState(*script.m_components.GetHead(), kStateOff);
    EXPECT_EQ(8u, script.CountInstallSteps()) << "the required component goes with its parent";

    CScriptModel registry;
    ReadText("[MAIN]\nREG=HKCU,a\nREG=HKCU,b\nSELECTION=S\n[S]\nREG=HKCU,c\nIF X==,T\n[T]\nREG=HKCU,d\n", registry);
    EXPECT_EQ(3u, registry.CountInstallSteps()) << "one step for each list of entries";
}

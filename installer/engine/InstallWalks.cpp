#include "InstallWalks.h"

#include "SetupScript.h"

namespace {

// One kind of item, applied list by list; a condition that does not hold
// takes one progress step when stepWhenSkipped is set.
template <class Item>
class CWalk {
public:
    typedef CItemList<Item> CItemLists::*List;
    typedef int (CSetupScript::*Operation)(Item&);

    CWalk(CSetupScript& script, List list, Operation operation, bool stepAfterList, bool stepWhenSkipped)
        : m_script(script), m_list(list), m_operation(operation), m_stepAfterList(stepAfterList),
          m_stepWhenSkipped(stepWhenSkipped)
    {
    }

    int Run()
    {
        if (!ApplyList(m_script))
            return 0;
        for (CSelection* component : m_script.m_components)
            if (!WalkComponent(*component))
                return 0;
        return WalkConditions(m_script);
    }

private:
    // Each item is a boundary where a paused installation waits and a
    // cancelled one stops.
    int ApplyList(CItemLists& lists)
    {
        CInstallProgress& progress = m_script.GetProgress();
        CItemList<Item>& items = lists.*m_list;
        for (Item* item : items)
            if (!progress.AtItemBoundary() || !(m_script.*m_operation)(*item))
                return 0;
        if (m_stepAfterList && !items.IsEmpty())
            progress.Step();
        return 1;
    }

    int WalkComponent(CSelection& component)
    {
        if (component.m_state == kStateOff)
            return 1;
        if (!ApplyList(component))
            return 0;
        for (CSelection* sub : component.m_components)
            if (!WalkComponent(*sub))
                return 0;
        return WalkConditions(component);
    }

    int WalkConditions(CItemLists& lists)
    {
        for (CIfItem* condition : lists.m_conditions) {
            if (!m_script.ConditionHolds(*condition)) {
                if (m_stepWhenSkipped)
                    m_script.GetProgress().Step();
            } else if (!ApplyList(*condition) || !WalkConditions(*condition)) {
                return 0;
            }
        }
        return 1;
    }

    CSetupScript& m_script;
    List m_list;
    Operation m_operation;
    bool m_stepAfterList;
    bool m_stepWhenSkipped;
};

} // namespace

int WalkFiles(CSetupScript& script)
{
    return CWalk<CFileItem>(script, &CItemLists::m_files, &CSetupScript::InstallFile, false, true).Run();
}

int WalkRegistry(CSetupScript& script)
{
    return CWalk<CRegItem>(script, &CItemLists::m_registry, &CSetupScript::ApplyRegItem, true, false).Run();
}

int WalkShortcuts(CSetupScript& script)
{
    if (script.m_programGroup.empty())
        return 1;
    if (!script.CreateFolder(script.m_programGroup))
        return 0;
    return CWalk<CIconItem>(script, &CItemLists::m_shortcuts, &CSetupScript::InstallShortcut, true, false).Run();
}

int WalkPrograms(CSetupScript& script)
{
    return CWalk<CRunItem>(script, &CItemLists::m_programs, &CSetupScript::RunProgram, false, false).Run();
}

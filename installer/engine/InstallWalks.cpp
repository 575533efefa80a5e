#include "InstallWalks.h"

#include "SetupScript.h"

namespace {

class CWalk {
public:
    explicit CWalk(CSetupScript& script) : m_script(script) {}
    virtual ~CWalk() {}

    int Run()
    {
        if (!ApplyList(m_script))
            return 0;
        for (CSelection* component : m_script.m_components)
            if (!WalkComponent(*component))
                return 0;
        return WalkConditions(m_script);
    }

protected:
    virtual int ApplyList(CItemLists& lists) = 0;
    virtual void OnConditionFails() {}

    // Each item is a boundary where a paused installation waits and a
    // cancelled one stops.
    template <class Item, class Operation>
    int ApplyEach(CItemList<Item>& items, Operation operation, bool stepAfter)
    {
        CInstallProgress& progress = m_script.GetProgress();
        for (Item* item : items)
            if (!progress.AtItemBoundary() || !(m_script.*operation)(*item))
                return 0;
        if (stepAfter && !items.IsEmpty())
            progress.Step();
        return 1;
    }

    CSetupScript& m_script;

private:
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
            if (!m_script.ConditionHolds(*condition))
                OnConditionFails();
            else if (!ApplyList(*condition) || !WalkConditions(*condition))
                return 0;
        }
        return 1;
    }
};

class CFileWalk : public CWalk {
public:
    using CWalk::CWalk;

protected:
    int ApplyList(CItemLists& lists) override { return ApplyEach(lists.m_files, &CSetupScript::InstallFile, false); }
    void OnConditionFails() override { m_script.GetProgress().Step(); }
};

class CRegistryWalk : public CWalk {
public:
    using CWalk::CWalk;

protected:
    int ApplyList(CItemLists& lists) override
    {
        return ApplyEach(lists.m_registry, &CSetupScript::ApplyRegItem, true);
    }
};

class CShortcutWalk : public CWalk {
public:
    using CWalk::CWalk;

protected:
    int ApplyList(CItemLists& lists) override
    {
        return ApplyEach(lists.m_shortcuts, &CSetupScript::InstallShortcut, true);
    }
};

class CProgramWalk : public CWalk {
public:
    using CWalk::CWalk;

protected:
    int ApplyList(CItemLists& lists) override { return ApplyEach(lists.m_programs, &CSetupScript::RunProgram, false); }
};

} // namespace

int WalkFiles(CSetupScript& script)
{
    return CFileWalk(script).Run();
}

int WalkRegistry(CSetupScript& script)
{
    return CRegistryWalk(script).Run();
}

int WalkShortcuts(CSetupScript& script)
{
    if (script.m_programGroup.empty())
        return 1;
    CreateDirectoryA(script.m_programGroup.c_str(), nullptr);
    return CShortcutWalk(script).Run();
}

int WalkPrograms(CSetupScript& script)
{
    return CProgramWalk(script).Run();
}

// The owner-drawn component list that the components page and the
// components dialog share, and the dialog that lists the sub-components of
// one component.
#pragma once

#include <stdint.h>

#include "Controls.h"
#include "Dialogs.h"
#include "Drawing.h"
#include "ScriptModel.h"

class CSetupScript;

// One item per component: a check box with the mark of its state, the
// title, and the size on the right. A first click makes an item the
// current one; a further click on the current item toggles its state.
class CComponentList {
public:
    explicit CComponentList(CSetupScript& script);

    // Lists the components in the dialog's list box and makes the first
    // current. When none has sub-components, Details goes and the list
    // takes its room.
    void Fill(HWND dialog, const CItemList<CSelection>& components);
    void Release() { m_list.Attach(nullptr); }
    // Owner-drawn items of the list; those of other controls are left alone.
    void OnMeasureItem(WPARAM id, MEASUREITEMSTRUCT* item);
    void OnDrawItem(WPARAM id, const DRAWITEMSTRUCT* item);
    // A command of the list or of Details, whose dialog is shown while
    // `hidden` is out of sight. Answers 1 when it changed a component, with
    // the change of that component's size.
    int OnCommand(UINT id, UINT code, HWND hidden, int64_t& sizeChange);
    // A selection change or double click of the list. Answers 1 when it
    // toggled the current component, with the change of its size.
    int OnClick(UINT code, int64_t& sizeChange);
    // Runs the components dialog for the current component while `hidden`
    // is out of sight, then gives the component the state its
    // sub-components share, or partly chosen. Answers 1 when it ran, with
    // the change of the component's size.
    int ShowDetails(HWND hidden, int64_t& sizeChange);

    CSelection* GetComponent(int index) const;
    int GetCurrentIndex() const { return m_current; }

private:
    void EnableDetails(int index);
    HBITMAP GetMark(uint8_t state) const;

    CSetupScript& m_script;
    HWND m_dialog;
    CListBox m_list;
    int m_current;
    CBitmap m_chosenMark;
    CBitmap m_partlyMark;
    CBitmap m_requiredMark;
};

class CComponentsDialog : public CDialogBox {
public:
    CComponentsDialog(CSetupScript& script, CSelection& component);

    LRESULT OnInitDialog(HWND focus) override;
    LRESULT OnCommand(WPARAM wParam, UINT code, HWND control) override;
    LRESULT OnMeasureItem(WPARAM id, MEASUREITEMSTRUCT* item) override
    {
        m_list.OnMeasureItem(id, item);
        return 1;
    }
    LRESULT OnDrawItem(WPARAM id, DRAWITEMSTRUCT* item) override
    {
        m_list.OnDrawItem(id, item);
        return 1;
    }

private:
    void ShowTexts(uint32_t size);

    CSetupScript& m_script;
    CSelection& m_component;
    CComponentList m_list;
};

// Peers of the fields the user types into: number fields with their arrows, text fields,
// the hot-key field and the combo box.
#pragma once

#include <string>
#include <vector>

#include "toolkit/win32/ChildPeer.h"

namespace kivra::ui::win32 {

// An EDIT with an UPDOWN beside it. The arrows step by the field's step within its range; the
// typed text is reported as it stands and clamped when the field loses the focus.
class SpinEditPeer : public ChildPeer {
public:
    SpinEditPeer(FormWindow& form, SpinEdit& spin, HWND container, Rect at);
    void sync() override;
    void command(UINT code) override;
    bool notify(const NMHDR& header, LRESULT& result) override;

private:
    SpinEdit& spin_;
    HWND arrows_ = nullptr;
};

// An EDIT whose typed characters are first offered to the control's key filter.
class EditPeer : public ChildPeer {
public:
    EditPeer(FormWindow& form, Edit& edit, HWND container, Rect at);
    ~EditPeer() override;
    void sync() override;
    void command(UINT code) override;

private:
    static LRESULT CALLBACK filterKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self);
    Edit& edit_;
};

// The hot-key field reads the control back after every key it sees as well as on EN_CHANGE,
// so the value is current whether or not the control notifies its parent.
class HotKeyPeer : public ChildPeer {
public:
    HotKeyPeer(FormWindow& form, HotKeyField& field, HWND container, Rect at);
    ~HotKeyPeer() override;
    void sync() override;
    void command(UINT code) override;

private:
    static LRESULT CALLBACK watchKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self);
    void readBack();
    HotKeyField& field_;
};

// A memo that is shown: a read-only multi-line EDIT with a vertical scroll bar. A hidden memo
// is only a line buffer and gets no peer.
class MemoPeer : public ChildPeer {
public:
    MemoPeer(FormWindow& form, Memo& memo, HWND container, Rect at);
    void sync() override;

private:
    Memo& memo_;
};

// A drop-down combo box: the user picks an entry or types a text.
class ComboBoxPeer : public ChildPeer {
public:
    ComboBoxPeer(FormWindow& form, ComboBox& box, HWND container, Rect at);
    void sync() override;
    void command(UINT code) override;

private:
    ComboBox& box_;
    std::vector<std::string> shownItems_;
};

}  // namespace kivra::ui::win32

// Peers of the static and button-like controls: labels, group boxes, buttons (the big speed
// buttons drawn by the toolkit) and check boxes.
#pragma once

#include "toolkit/win32/ChildPeer.h"
#include "toolkit/win32/GuiResources.h"

namespace kivra::ui::win32 {

class LabelPeer : public ChildPeer {
public:
    LabelPeer(FormWindow& form, Label& label, HWND container, Rect at);
    void sync() override;
};

// In a colour scheme the toolkit draws the frame itself: not every system lets the caption of
// a group box take the scheme's text colour.
class GroupBoxPeer : public ChildPeer {
public:
    GroupBoxPeer(FormWindow& form, GroupBox& box, HWND container, Rect at);
    ~GroupBoxPeer() override;
    void sync() override;
    void schemeChanged() override;

private:
    static LRESULT CALLBACK paintInScheme(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR self);
    void paint();
};

// A push button, or a big speed button that the toolkit draws itself so that it can wear the
// scheme's accent colours and a caption font of its own height.
class ButtonPeer : public ChildPeer {
public:
    ButtonPeer(FormWindow& form, Button& button, HWND container, Rect at);
    void sync() override;
    void command(UINT code) override;
    bool drawItem(const DRAWITEMSTRUCT& item) override;

private:
    Button& button_;
};

class CheckBoxPeer : public ChildPeer {
public:
    CheckBoxPeer(FormWindow& form, CheckBox& box, HWND container, Rect at);
    void sync() override;
    void command(UINT code) override;
    void schemeChanged() override;

private:
    CheckBox& box_;
};

}  // namespace kivra::ui::win32

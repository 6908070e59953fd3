#include "toolkit/win32/FormWindow.h"

#include <set>

#include "platform/win32/MessageBoundary.h"
#include "platform/win32/WideText.h"
#include "toolkit/win32/ButtonPeers.h"
#include "toolkit/win32/Dialogs.h"
#include "toolkit/win32/FieldPeers.h"
#include "toolkit/win32/GridPeer.h"
#include "toolkit/win32/ListPeers.h"
#include "toolkit/win32/Win32Menu.h"

namespace kivra::ui::win32 {

using kivra::win32::Guarded;
using kivra::win32::Wide;

namespace {

constexpr wchar_t kFormClass[] = L"KivraForm";
// Posted by the first show: the form's first activation is handled after its onShow.
constexpr UINT kDeferredActivation = WM_APP + 1;

bool SameScheme(const std::optional<ColorScheme>& a, const std::optional<ColorScheme>& b) {
    if (a.has_value() != b.has_value()) return false;
    if (!a) return true;
    return a->face == b->face && a->text == b->text && a->field == b->field && a->fieldText == b->fieldText &&
           a->accent == b->accent && a->accentText == b->accentText;
}

DWORD FormWindowStyle(const FormStyle& style) {
    DWORD result = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;
    if (style.minimizeBox) result |= WS_MINIMIZEBOX;
    if (style.maximizeBox) result |= WS_MAXIMIZEBOX;
    if (style.sizeable) result |= WS_THICKFRAME;
    return result;
}

void ForEachControl(Control& control, const std::function<void(Control&)>& visit) {
    visit(control);
    for (Control* child : control.children()) ForEachControl(*child, visit);
}

template <typename PeerType, typename ControlType>
void Attach(FormWindow& form, Control& control, HWND container, Rect at) {
    control.attachPeer(std::make_unique<PeerType>(form, static_cast<ControlType&>(control), container, at));
}

}  // namespace

FormWindow::FormWindow(Form& form, HWND owner, FormRole role) : form_(form), role_(role) {
    RegisterWindowClass(kFormClass, &FormWindow::procedure, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    const DWORD style = FormWindowStyle(form.style());
    RECT frame{0, 0, form.style().clientWidth, form.style().clientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = work.left + std::max(0L, (work.right - work.left - width) / 2);
    const int y = work.top + std::max(0L, (work.bottom - work.top - height) / 2);
    CreateWindowExW(0, kFormClass, Wide(form.title()).c_str(), style, x, y, width, height, owner, nullptr,
                    GetModuleHandleW(nullptr), this);
}

FormWindow::~FormWindow() {
    if (!window_) return;
    // The form is going: the window goes without calling any of its handlers.
    HWND window = window_;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    window_ = nullptr;
    DestroyWindow(window);
}

void FormWindow::realizeControls() {
    realizeChildren(form_, window_, POINT{0, 0});
}

void FormWindow::realizeChildren(Control& parent, HWND container, POINT offset) {
    for (Control* child : parent.children()) {
        Control& control = *child;
        Rect at = control.bounds();
        at.x += offset.x;
        at.y += offset.y;
        switch (control.kind()) {
            case ControlKind::Label: Attach<LabelPeer, Label>(*this, control, container, at); break;
            case ControlKind::Button:
            case ControlKind::SpeedButton: Attach<ButtonPeer, Button>(*this, control, container, at); break;
            case ControlKind::CheckBox: Attach<CheckBoxPeer, CheckBox>(*this, control, container, at); break;
            case ControlKind::SpinEdit: Attach<SpinEditPeer, SpinEdit>(*this, control, container, at); break;
            case ControlKind::Edit: Attach<EditPeer, Edit>(*this, control, container, at); break;
            case ControlKind::HotKey: Attach<HotKeyPeer, HotKeyField>(*this, control, container, at); break;
            case ControlKind::Grid: Attach<GridPeer, Grid>(*this, control, container, at); break;
            case ControlKind::TreeView: Attach<TreeViewPeer, TreeView>(*this, control, container, at); break;
            case ControlKind::ComboBox: Attach<ComboBoxPeer, ComboBox>(*this, control, container, at); break;
            case ControlKind::StatusBar:
                control.attachPeer(std::make_unique<StatusBarPeer>(*this, static_cast<StatusBar&>(control), container));
                break;
            case ControlKind::GroupBox: {
                // The frame's contents are siblings of the frame, so that their notifications
                // reach the container; the frame stays beneath them.
                Attach<GroupBoxPeer, GroupBox>(*this, control, container, at);
                realizeChildren(control, container, POINT{at.x, at.y});
                SetWindowPos(reinterpret_cast<HWND>(control.handle()), HWND_BOTTOM, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                break;
            }
            case ControlKind::PageControl: {
                auto& pages = static_cast<PageControl&>(control);
                auto tabs = std::make_unique<PageControlPeer>(*this, pages, container, at);
                PageControlPeer& tabsPeer = *tabs;
                pages.attachPeer(std::move(tabs));
                const Rect area = tabsPeer.pageArea();
                for (Page* page : pages.pages()) {
                    page->attachPeer(std::make_unique<PagePeer>(*this, *page, container, area));
                    realizeChildren(*page, reinterpret_cast<HWND>(page->handle()), POINT{0, 0});
                }
                tabsPeer.sync();
                break;
            }
            case ControlKind::Memo:
                if (control.visible()) Attach<MemoPeer, Memo>(*this, control, container, at);
                break;
            case ControlKind::Page:  // laid out by its page control
            case ControlKind::Form: break;
        }
    }
}

void FormWindow::hookComponents() {
    for (std::size_t i = 0; i < form_.timers.size(); ++i) {
        form_.timers[i]->onReconfigure = [this, i](Timer&) { armTimer(i); };
        armTimer(i);
    }
    auto popup = [this](PopupMenu& menu, Point at) -> MenuItem* {
        return window_ ? TrackPopup(window_, menu, at) : nullptr;
    };
    for (PopupMenu* menu : form_.popupMenus) menu->runModal = popup;
    ForEachControl(form_, [&](Control& control) {
        if (control.kind() != ControlKind::Grid) return;
        PopupMenu* menu = static_cast<Grid&>(control).contextMenu;
        if (menu && !menu->runModal) menu->runModal = popup;
    });
    // A dialog without an owner is owned by this form, so it stays in front of it.
    for (OpenDialog* dialog : form_.openDialogs)
        dialog->runModal = [this](OpenDialog& chosen, WindowHandle owner) {
            return RunOpenDialog(chosen, owner ? owner : handle());
        };
    for (FolderDialog* dialog : form_.folderDialogs)
        dialog->runModal = [this](WindowHandle owner) { return RunFolderDialog(owner ? owner : handle()); };
    ready_ = true;
}

void FormWindow::armTimer(std::size_t index) {
    if (!window_ || index >= form_.timers.size()) return;
    const Timer& timer = *form_.timers[index];
    const UINT_PTR id = index + 1;
    if (timer.enabled() && timer.interval() > 0)
        SetTimer(window_, id, timer.interval(), nullptr);  // re-arming restarts the period
    else
        KillTimer(window_, id);
}

void FormWindow::enroll(HWND window, ChildPeer* peer) {
    peers_[window] = peer;
}

void FormWindow::withdraw(HWND window) {
    peers_.erase(window);
}

ChildPeer* FormWindow::peerOf(HWND window) const {
    auto found = peers_.find(window);
    return found == peers_.end() ? nullptr : found->second;
}

void FormWindow::sync() {
    if (!window_) return;
    std::wstring title = Wide(form_.title());
    wchar_t shown[512] = {};
    GetWindowTextW(window_, shown, 512);
    if (title != shown) SetWindowTextW(window_, title.c_str());
    if (!SameScheme(applied_, form_.colorScheme())) applyScheme();
}

void FormWindow::applyScheme() {
    applied_ = form_.colorScheme();
    faceBrush_.reset(applied_ ? CreateSolidBrush(AsColorRef(applied_->face)) : nullptr);
    fieldBrush_.reset(applied_ ? CreateSolidBrush(AsColorRef(applied_->field)) : nullptr);
    std::set<ChildPeer*> peers;
    for (const auto& [window, peer] : peers_) peers.insert(peer);
    for (ChildPeer* peer : peers) peer->schemeChanged();
    RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME);
}

HBRUSH FormWindow::schemeColors(UINT message, HDC dc) const {
    if (!applied_) return nullptr;
    if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX) {
        SetTextColor(dc, AsColorRef(applied_->fieldText));
        SetBkColor(dc, AsColorRef(applied_->field));
        return fieldBrush();
    }
    SetTextColor(dc, AsColorRef(applied_->text));
    SetBkColor(dc, AsColorRef(applied_->face));
    return faceBrush();
}

void FormWindow::paintBackground(HWND container, HDC dc) {
    RECT area{};
    GetClientRect(container, &area);
    FillRect(dc, &area, applied_ ? faceBrush() : GetSysColorBrush(COLOR_BTNFACE));
}

void FormWindow::show(int showCommand) {
    if (!window_) return;
    const bool first = !form_.shown() && showCommand != SW_HIDE;
    deferActivation_ = first;
    ShowWindow(window_, showCommand);
    deferActivation_ = false;
    if (first && activationDeferred_) {
        activationDeferred_ = false;
        PostMessageW(window_, kDeferredActivation, 0, 0);
    }
}

void FormWindow::close() {
    if (window_) SendMessageW(window_, WM_CLOSE, 0, 0);
}

bool FormWindow::childMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_COMMAND: {
            ChildPeer* peer = lParam ? peerOf(reinterpret_cast<HWND>(lParam)) : nullptr;
            if (!peer) return false;
            peer->command(HIWORD(wParam));
            result = 0;
            return true;
        }
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            ChildPeer* peer = header ? peerOf(header->hwndFrom) : nullptr;
            return peer && peer->notify(*header, result);
        }
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            ChildPeer* peer = item ? peerOf(item->hwndItem) : nullptr;
            if (!peer || !peer->drawItem(*item)) return false;
            result = TRUE;
            return true;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX: {
            ChildPeer* peer = peerOf(reinterpret_cast<HWND>(lParam));
            const HDC dc = reinterpret_cast<HDC>(wParam);
            HBRUSH brush = peer ? peer->controlColors(message, dc) : schemeColors(message, dc);
            if (!brush) return false;
            result = reinterpret_cast<LRESULT>(brush);
            return true;
        }
        default: return false;
    }
}

LRESULT FormWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE: {
            bool allowed = false;
            // A failing close query keeps the window, as a refusal does.
            Guarded([&] { allowed = !form_.onCloseQuery || form_.onCloseQuery(); });
            if (allowed) DestroyWindow(window_);
            return 0;
        }
        case WM_DESTROY:
            Guarded([&] {
                if (form_.onDestroy) form_.onDestroy();
            });
            if (role_ == FormRole::Main) PostQuitMessage(0);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && ready_) {
                if (deferActivation_)
                    activationDeferred_ = true;
                else
                    Guarded([&] {
                        if (form_.onActivate) form_.onActivate();
                    });
            }
            return DefWindowProcW(window_, message, wParam, lParam);
        case kDeferredActivation:
            if (GetActiveWindow() == window_)
                Guarded([&] {
                    if (form_.onActivate) form_.onActivate();
                });
            return 0;
        default: break;
    }

    if (ready_ && form_.onMessage) {
        bool handled = false;
        // A handler that fails has taken the message: the default action must not follow.
        if (!Guarded([&] { handled = form_.onMessage(message, wParam, lParam); })) return 0;
        if (handled) return 0;
    }

    LRESULT result = 0;
    switch (message) {
        case WM_MEASUREITEM:
        case WM_DRAWITEM:
        case WM_MENUCHAR:
            // The owner-drawn items of a pop-up menu that this form owns.
            if (HandleOwnerDrawMessage(window_, message, wParam, lParam, result)) return result;
            break;
        case WM_TIMER:
            if (wParam >= 1 && wParam <= form_.timers.size()) {
                form_.timers[wParam - 1]->tick();
                return 0;
            }
            break;
        case WM_ERASEBKGND:
            if (!applied_) break;
            paintBackground(window_, reinterpret_cast<HDC>(wParam));
            return 1;
        default: break;
    }
    if (childMessage(message, wParam, lParam, result)) return result;
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK FormWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<FormWindow*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    LRESULT result = 0;
    if (!Guarded([&] { result = self->handleMessage(message, wParam, lParam); })) return 0;
    return result;
}

}  // namespace kivra::ui::win32

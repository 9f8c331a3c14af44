// The ribbon's accessible object (Microsoft Active Accessibility): the ribbon draws its tabs and
// buttons itself, so it answers WM_GETOBJECT for OBJID_CLIENT with an IAccessible whose simple
// children (child ids 1 to 5 the tabs, then the buttons in order) carry each one's name, role,
// state, description, keyboard shortcut and default action, all read from ribbon_access_item. The
// banner's live region is here too.
#include <windows.h>
#include <commctrl.h>
#include <initguid.h>
#include <oleacc.h>

#include <new>

#include "core/messages.h"
#include "ui/ribbon.h"
#include "ui/ribbon_win.h"

namespace {

// LiveSetting_Property_GUID, the UI Automation "LiveSetting" property that marks a live region
// (uiautomationclient.h; MinGW's headers lack it).
const GUID kLiveSettingProperty = {
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
const LONG kLivePolite = 1; // LiveSetting Polite: announced when the reader is idle

HRESULT bstr_out(const wchar_t* text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!text || !*text) return S_FALSE;
    *out = SysAllocString(text);
    return *out ? S_OK : E_OUTOFMEMORY;
}

class RibbonAccessible final : public IAccessible {
  public:
    explicit RibbonAccessible(HWND window) : window_(window) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return (ULONG)InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return (ULONG)left;
    }

    // IDispatch: clients call IAccessible directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count) *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent) return E_POINTER;
        *parent = nullptr;
        return alive() ? AccessibleObjectFromWindow(window_, (DWORD)OBJID_WINDOW, IID_IDispatch,
                                                    reinterpret_cast<void**>(parent))
                       : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count) return E_POINTER;
        RibbonView v = ribbon_view();
        *count = alive() ? ribbon_access_count(v.layout) : 0;
        return S_OK;
    }
    // Every child is a simple element: no object of its own.
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        return item_of(child) >= 0 ? S_FALSE : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (is_self(child)) return bstr_out(L"Ribbon", name);
        RibbonAccessItem item;
        return read(child, &item) ? bstr_out(item.name, name) : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* value) override {
        if (value) *value = nullptr;
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        if (is_self(child)) return bstr_out(nullptr, text);
        RibbonAccessItem item;
        return read(child, &item) ? bstr_out(item.description, text) : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role) return E_POINTER;
        VariantInit(role);
        role->vt = VT_I4;
        if (is_self(child)) {
            role->lVal = ROLE_SYSTEM_TOOLBAR;
            return S_OK;
        }
        RibbonAccessItem item;
        if (!read(child, &item)) return E_INVALIDARG;
        // A collapsed group's button drops down a menu: ROLE_SYSTEM_BUTTONMENU.
        role->lVal = item.kind == AccessTab          ? ROLE_SYSTEM_PAGETAB
                     : item.kind == AccessMenuButton ? ROLE_SYSTEM_BUTTONMENU
                                                     : ROLE_SYSTEM_PUSHBUTTON;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!state) return E_POINTER;
        VariantInit(state);
        state->vt = VT_I4;
        RibbonView v = ribbon_view();
        if (is_self(child)) {
            state->lVal = STATE_SYSTEM_FOCUSABLE | (v.hasFocus ? STATE_SYSTEM_FOCUSED : 0);
            return S_OK;
        }
        RibbonAccessItem item;
        if (!read(child, &item)) return E_INVALIDARG;
        long s = STATE_SYSTEM_FOCUSABLE;
        if (item.kind == AccessTab) s |= STATE_SYSTEM_SELECTABLE;
        if (item.kind == AccessMenuButton) s |= STATE_SYSTEM_HASPOPUP;
        if (item.selected) s |= STATE_SYSTEM_SELECTED;
        if (item.focused) s |= STATE_SYSTEM_FOCUSED;
        if (item.pressed) s |= STATE_SYSTEM_PRESSED;
        // A button past the ribbon's right edge cannot be seen or clicked.
        RECT client;
        GetClientRect(window_, &client);
        if (item.rect.left >= client.right)
            s |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN | STATE_SYSTEM_UNAVAILABLE;
        state->lVal = s;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override { return bstr_out(nullptr, help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (file) *file = nullptr;
        if (topic) *topic = 0;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        if (is_self(child)) return bstr_out(nullptr, keys);
        RibbonAccessItem item;
        return read(child, &item) ? bstr_out(item.shortcut, keys) : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (!focus) return E_POINTER;
        VariantInit(focus);
        RibbonView v = ribbon_view();
        if (!alive() || !v.hasFocus) return S_FALSE; // VT_EMPTY: not ours
        focus->vt = VT_I4;
        const int32_t b = v.state->focus;
        focus->lVal = b >= 0 && b < v.layout->buttonCount ? kRibbonTabCount + b + 1 : v.state->tab + 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (!selection) return E_POINTER;
        VariantInit(selection);
        if (!alive()) return S_FALSE;
        selection->vt = VT_I4;
        selection->lVal = ribbon_view().state->tab + 1; // the open tab
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (is_self(child)) return bstr_out(nullptr, action);
        RibbonAccessItem item;
        return read(child, &item) ? bstr_out(item.defaultAction, action) : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        int32_t index = item_of(child);
        if (index < 0) return E_INVALIDARG;
        if (flags & SELFLAG_TAKEFOCUS) SetFocus(window_);
        if ((flags & SELFLAG_TAKESELECTION) && index < kRibbonTabCount)
            PostMessageW(window_, MsgRibbonAccessAction, (WPARAM)index, 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        if (!left || !top || !width || !height) return E_POINTER;
        RECT r;
        if (is_self(child)) {
            GetClientRect(window_, &r);
        } else {
            RibbonAccessItem item;
            if (!read(child, &item)) return E_INVALIDARG;
            r = {item.rect.left, item.rect.top, item.rect.right, item.rect.bottom};
        }
        MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&r), 2);
        *left = r.left;
        *top = r.top;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (!end) return E_POINTER;
        VariantInit(end);
        const long count = ribbon_access_count(ribbon_view().layout);
        long id = 0;
        if (is_self(start)) {
            if (direction == NAVDIR_FIRSTCHILD) id = 1;
            if (direction == NAVDIR_LASTCHILD) id = count;
        } else {
            int32_t index = item_of(start);
            if (index < 0) return E_INVALIDARG;
            if (direction == NAVDIR_NEXT || direction == NAVDIR_RIGHT) id = index + 2;
            if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_LEFT) id = index;
        }
        if (id < 1 || id > count) return S_FALSE;
        end->vt = VT_I4;
        end->lVal = id;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
        if (!hit) return E_POINTER;
        VariantInit(hit);
        POINT pt = {x, y};
        ScreenToClient(window_, &pt);
        RECT client;
        GetClientRect(window_, &client);
        if (!PtInRect(&client, pt)) return S_FALSE;
        RibbonView v = ribbon_view();
        hit->vt = VT_I4;
        hit->lVal = CHILDID_SELF;
        int32_t tab = ribbon_tab_at(v.layout, pt.x, pt.y), button = ribbon_button_at(v.layout, pt.x, pt.y);
        if (tab >= 0) hit->lVal = tab + 1;
        if (button >= 0) hit->lVal = kRibbonTabCount + button + 1;
        return S_OK;
    }
    // Done later, from the ribbon's own queue: a client must not wait on a command's message box.
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        int32_t index = item_of(child);
        if (index < 0) return is_self(child) ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
        PostMessageW(window_, MsgRibbonAccessAction, (WPARAM)index, 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  private:
    // The window may go while a client still holds the object.
    bool alive() const { return IsWindow(window_) && ribbon_view().window == window_; }
    static bool is_self(const VARIANT& v) { return v.vt == VT_I4 && v.lVal == CHILDID_SELF; }
    int32_t item_of(const VARIANT& v) const {
        if (v.vt != VT_I4 || !alive()) return -1;
        return v.lVal >= 1 && v.lVal <= ribbon_access_count(ribbon_view().layout) ? v.lVal - 1 : -1;
    }
    bool read(const VARIANT& v, RibbonAccessItem* item) const {
        int32_t index = item_of(v);
        RibbonView view = ribbon_view();
        return index >= 0 &&
               ribbon_access_item(view.layout, view.state, &view.flags, view.hasFocus, index, item);
    }

    HWND window_;
    LONG refs_ = 1;
};

} // namespace

// A new object each time, released after LresultFromObject took its own reference (as Microsoft's
// "How to Handle WM_GETOBJECT" describes); anything but OBJID_CLIENT gets the system's answer.
LRESULT ribbon_get_object(HWND window, WPARAM wparam, LPARAM lparam) {
    if ((LONG)lparam != OBJID_CLIENT) return DefWindowProcW(window, WM_GETOBJECT, wparam, lparam);
    RibbonAccessible* object = new (std::nothrow) RibbonAccessible(window);
    if (!object) return 0;
    LRESULT result = LresultFromObject(IID_IAccessible, wparam, static_cast<IAccessible*>(object));
    object->Release();
    return result;
}

// The banner is a live region: annotated once through IAccPropServices (Dynamic Annotation), and
// EVENT_OBJECT_LIVEREGIONCHANGED after each changed verdict. Without COM or the service (older
// Windows, Wine) the event still goes out.
static void annotate_live(HWND banner) {
    IAccPropServices* services = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                reinterpret_cast<void**>(&services))) ||
        !services)
        return;
    VARIANT live;
    VariantInit(&live);
    live.vt = VT_I4;
    live.lVal = kLivePolite;
    services->SetHwndProp(banner, (DWORD)OBJID_CLIENT, CHILDID_SELF, kLiveSettingProperty, live);
    services->Release();
}

// The annotation loads oleacc and oleaut32 (about 750 KB under Wine) into a window that most
// often nobody reads aloud, so it waits for the first accessibility client that asks the banner
// for an object (WM_GETOBJECT), and is in place before that request is answered.
static LRESULT CALLBACK banner_subclass(HWND banner, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                        DWORD_PTR) {
    if (message != WM_GETOBJECT) return DefSubclassProc(banner, message, wparam, lparam);
    annotate_live(banner);
    LRESULT result = DefSubclassProc(banner, message, wparam, lparam);
    RemoveWindowSubclass(banner, banner_subclass, id);
    return result;
}

void banner_mark_live(HWND banner) {
    // SPI_GETSCREENREADER: TRUE while a screen reviewer utility runs (Narrator does not set it,
    // hence the wait for WM_GETOBJECT otherwise).
    BOOL reader = FALSE;
    if ((SystemParametersInfoW(SPI_GETSCREENREADER, 0, &reader, 0) && reader) ||
        !SetWindowSubclass(banner, banner_subclass, 1, 0))
        annotate_live(banner);
}

void banner_announce(HWND banner) {
    NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, banner, OBJID_CLIENT, CHILDID_SELF);
}

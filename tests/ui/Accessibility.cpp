#include "Accessibility.h"

namespace {
WinEventLog* Log = nullptr;
} // namespace

VARIANT Child(long id) {
    VARIANT child;
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

IAccessible* ClientObject(HWND window) {
    IAccessible* object = nullptr;
    if (AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&object)) != S_OK)
        return nullptr;
    return object;
}

std::string Name(IAccessible& object, long child) {
    BSTR name = nullptr;
    if (object.get_accName(Child(child), &name) != S_OK || !name)
        return "(none)";
    char text[256] = "";
    WideCharToMultiByte(CP_ACP, 0, name, -1, text, sizeof text, nullptr, nullptr);
    SysFreeString(name);
    return text;
}

std::string ClientName(HWND window) {
    IAccessible* object = ClientObject(window);
    if (!object)
        return "(no object)";
    const std::string name = Name(*object, CHILDID_SELF);
    object->Release();
    return name;
}

IAccessible* Row(IAccessible& table, long row) {
    IDispatch* child = nullptr;
    if (table.get_accChild(Child(row + 1), &child) != S_OK || !child)
        return nullptr;
    IAccessible* accessible = nullptr;
    child->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&accessible));
    child->Release();
    return accessible;
}

WinEventLog::WinEventLog(DWORD first, DWORD last) {
    Log = this;
    Hook = SetWinEventHook(first, last, nullptr, &Note, GetCurrentProcessId(), 0,
                           WINEVENT_OUTOFCONTEXT);
}

WinEventLog::~WinEventLog() {
    UnhookWinEvent(Hook);
    Log = nullptr;
}

std::vector<WinEventLog::Event> WinEventLog::Of(DWORD kind, HWND window, long child) const {
    std::vector<Event> found;
    for (const Event& e : Events) {
        if (e.Kind == kind && e.Window == window && e.Object == OBJID_CLIENT && e.Child == child)
            found.push_back(e);
    }
    return found;
}

void CALLBACK WinEventLog::Note(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child,
                                DWORD, DWORD) {
    if (!Log)
        return;
    // As a screen reader does: the object the event is about, asked for its name (a client
    // object's or its child's).
    std::string name = "(no object)";
    IAccessible* accessible = nullptr;
    VARIANT about{};
    if (object == OBJID_CLIENT &&
        AccessibleObjectFromEvent(window, object, child, &accessible, &about) == S_OK) {
        name = Name(*accessible, about.lVal);
        accessible->Release();
        VariantClear(&about);
    }
    Log->Events.push_back({event, window, object, child, name});
}

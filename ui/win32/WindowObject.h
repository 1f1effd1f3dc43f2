#pragma once
// Windows whose messages go to a C++ object: the object kept in the window's user data handles
// them in its HandleMessage. A window is created with DefWindowProc and routed once its object is
// ready for messages.

#include <windows.h>

template <class Owner>
LRESULT CALLBACK RouteToOwner(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    return owner->HandleMessage(msg, wParam, lParam);
}

template <class Owner> void RouteMessagesTo(HWND window, Owner& owner) {
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&owner));
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RouteToOwner<Owner>));
}

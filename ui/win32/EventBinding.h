#pragma once
// The dispatch table of the program's windows: each control's event, by control id and
// notification code, bound to a handler method of its window.

#include "ui/win32/ErrorDisplay.h"

#include <windows.h>

#include <exception>
#include <functional>
#include <span>

template <class Form> struct TEventBinding {
    int Id;
    UINT Code;
    void (Form::*Handler)();
};

// Runs a handler; an error escaping it is shown by the general error display, in front of the
// handler's own window.
template <class Form, class Handler> void RunHandler(Form& form, Handler handler) {
    try {
        std::invoke(handler, form);
    } catch (const std::exception& error) {
        ShowError(error, form.Handle);
    }
}

// Runs the handler bound to the event; false when the table binds none.
template <class Form>
bool DispatchEvent(Form& form, std::span<const TEventBinding<Form>> bindings, int id, UINT code) {
    for (const TEventBinding<Form>& b : bindings) {
        if (b.Id == id && b.Code == code) {
            RunHandler(form, b.Handler);
            return true;
        }
    }
    return false;
}

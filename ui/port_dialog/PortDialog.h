#pragma once
// The port selection dialog "communication": created hidden at start, shown by Connect, not
// modal. TEST opens the chosen port and starts the identification; OK starts the poll.

#include "ui/controls/RadioGroup.h"
#include "ui/win32/ActivationFocus.h"

#include <windows.h>

#include <string>

class TForm2 {
  public:
    TForm2();
    ~TForm2();
    TForm2(const TForm2&) = delete;
    TForm2& operator=(const TForm2&) = delete;

    // Brings the dialog up as Connect shows it: FormShow runs whether or not it was hidden.
    void Show();

    // Handlers.
    void FormShow();
    void COMM_selectClick();
    void btTestCommClick();
    void btOKClick();
    void FollowThePorts();
    // The meter has named itself on the tested port.
    void MeterIdentified();
    // The port was closed (Disconnect, or the line hung up): OK has nothing left to read.
    void PortClosed();

    HWND Handle = nullptr;
    TRadioGroup COMM_select;
    HWND COMM = nullptr;
    HWND btOK = nullptr;
    HWND btTestComm = nullptr;

  private:
    template <class Owner>
    friend LRESULT CALLBACK RouteToOwner(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void SelectEntry(int index);
    void FillList();
    void DrawOkButton(const DRAWITEMSTRUCT& item) const;
    HFONT Font = nullptr;
    TActivationFocus Focus;
    // Whether the user has chosen an entry since the dialog was last shown.
    bool ChosenSinceShown = false;
};

extern TForm2* Form2;

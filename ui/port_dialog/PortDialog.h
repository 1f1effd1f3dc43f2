#pragma once
// The port dialog "communication" (the design's TForm2): made at the first Connect and shown by
// every Connect, not modal, owned by the main window. TEST opens the chosen port and starts the
// identification of the meter session; Find tries it on every listed port in turn; OK, once the
// meter has named itself, starts its poll. A line under the buttons says how TEST and Find go.

#include "ui/controls/RadioGroup.h"
#include "ui/meter_session/MeterSession.h"
#include "ui/win32/ActivationFocus.h"

#include <windows.h>

#include <string>

class TForm2 : private MeterSessionListener {
  public:
    TForm2(HWND owner, MeterSession& session);
    ~TForm2();
    TForm2(const TForm2&) = delete;
    TForm2& operator=(const TForm2&) = delete;

    // Brings the dialog up as Connect shows it: FormShow runs whether or not it was hidden.
    void Show();

    // Handlers.
    void FormShow();
    void COMM_selectClick();
    void btTestCommClick();
    void btFindClick();
    void btOKClick();
    void FollowThePorts();

    HWND Handle = nullptr;
    TRadioGroup COMM_select;
    HWND COMM = nullptr;
    HWND btOK = nullptr;
    HWND btTestComm = nullptr;
    HWND btFind = nullptr;
    HWND Hint = nullptr;

  private:
    // The meter has named itself on the tested port: OK may read it.
    void MeterIdentified(const std::string& port) override;
    // The port was closed (Disconnect, or the line lost): OK has nothing left to read, and TEST
    // and Find wait for the next Connect.
    void PortClosed() override;
    void IdentificationStarted() override;
    void IdentificationUnanswered(const std::string& port) override;
    void FindTrying(const std::string& text) override;
    void FindEnded(const FindOutcome& outcome) override;
    // Escape and the close box hide the dialog, stopping Find.
    void Hide();

    template <class Owner>
    friend LRESULT CALLBACK RouteToOwner(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void SelectEntry(int index);
    void FillList();
    void DrawOkButton(const DRAWITEMSTRUCT& item) const;
    MeterSession& Session;
    HFONT Font = nullptr;
    TActivationFocus Focus;
    // Whether the user has chosen an entry since the dialog was last shown.
    bool ChosenSinceShown = false;
};

extern TForm2* Form2;

#pragma once
// Drives the real main window and port dialog as a user would, for the benchmarks that read the
// virtual meter through them.
#include "MessagePump.h"
#include "StepWatch.h"
#include "ui/main_window/MainWindow.h"
#include "ui/port_dialog/PortDialog.h"

#include <windows.h>

// The benchmarks' generous limit for one step of the link.
constexpr DWORD StepLimitMs = 10000;
// A left click on a control, handled before the call returns.
void Click(HWND control);
// Connect (after Disconnect when connected), the port's entry, TEST and the identification;
// false when the meter did not identify itself in time.
bool Identify(MainWindowParts& form, TForm2& dialog, const char* port);

// The windows keep their recovery copy of the readings in the benchmark's working folder, where
// no later start of the program finds it.
void KeepAppDataInWorkingFolder();

// Answers the dialog boxes this thread's windows open, each once its own loop runs: the question
// about unsaved changes No, since a benchmark keeps no readings; any other box stops the
// benchmark, naming the box.
class BoxAnswers {
  public:
    explicit BoxAnswers(StepWatch& watch);
    ~BoxAnswers();
    BoxAnswers(const BoxAnswers&) = delete;
    BoxAnswers& operator=(const BoxAnswers&) = delete;
    // The questions about unsaved changes answered so far.
    int SaveQuestions = 0;

  private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK RelayProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    StepWatch& Watch;
    HWND Relay = nullptr;
    HHOOK HookHandle = nullptr;
};

// The messages that carry data, hang-up requests and ready notices between the component and
// its threads. Every data message carries a LocalAlloc'd block that its receiver releases.
#pragma once
#include <windows.h>

constexpr UINT WM_COMM_DATA = WM_USER + 1;
constexpr UINT WM_COMM_HANGUP = WM_USER + 2;
constexpr UINT WM_COMM_THREAD_READY = WM_USER + 3;

// wParam of WM_COMM_THREAD_READY.
constexpr WPARAM ReadThreadMark = 0;
constexpr WPARAM WriteThreadMark = 1;

// The messages that carry data, hang-up requests and ready notices between the component and
// its threads. Every data message carries a LocalAlloc'd block that its receiver releases.
#pragma once
#include <windows.h>

constexpr UINT WM_COMM_DATA = WM_USER + 1;
constexpr UINT WM_COMM_HANGUP = WM_USER + 2;
constexpr UINT WM_COMM_THREAD_READY = WM_USER + 3;
// Sent (not posted) by the write thread as it ends, with its thread id as wParam: once it has been
// handled, QueueSend posts nothing more to that thread, so its last look at its queue finds every
// request it will ever get.
constexpr UINT WM_COMM_WRITE_ENDING = WM_USER + 4;

// wParam of WM_COMM_THREAD_READY.
constexpr WPARAM ReadThreadMark = 0;
constexpr WPARAM WriteThreadMark = 1;

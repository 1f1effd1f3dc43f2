// A wait of the main thread for the component's workers that keeps the thread's windows alive
// without letting anything the user does act.
#pragma once
#include <windows.h>

#include <vector>

// Waits until every thread in Threads has ended or Deadline (a GetTickCount value) has passed;
// the ended ones are taken out of Threads. Meanwhile the windows paint and sent messages are
// handled (the write thread reports its end that way), the cursor shows the wait, and input and
// timer messages are dropped: none acts now, none is left to act afterwards. Other posted
// messages wait for the owner's loop, and a quit is posted again after the wait for it. True when
// all have ended.
bool WaitForThreadsResponsively(std::vector<HANDLE>& Threads, DWORD Deadline);

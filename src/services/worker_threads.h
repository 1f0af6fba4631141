#pragma once

#include <functional>

namespace card {

// Runs job(0), ..., job(count - 1) side by side: each on a thread of its own where one can be
// started, job(0) on the calling thread. When the system refuses more threads (a process limit),
// the calling thread runs the jobs whose threads did not start after its own, so the work is done
// either way, only later. Returns the number of threads that ran jobs, the caller's included.
int RunOnThreads(int count, const std::function<void(int)>& job);

// Called once in the life of the process, the first time fewer threads could be started than a
// caller of RunOnThreads asked for; by default nothing is said.
using ThreadShortfallHandler = void (*)(int asked, int started);
void SetThreadShortfallHandler(ThreadShortfallHandler handler);

}  // namespace card

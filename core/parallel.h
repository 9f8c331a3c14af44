// Bounded fan-out for work that mostly waits: the network tests of a check's printers, the parts
// of one printer's test, the sweep's passes and the search's responders run side by side instead
// of one after another. Plain C++ threads, so it builds and is race-checked natively too.
#pragma once

// How many printers' network tests, or search responders, are worked on at once. Sixteen covers
// every network printer of an ordinary office PC in one round (a print server with more takes a
// round per sixteen), while one test holds at most eight sockets and four helper threads, so a
// check never has more than 128 sockets open or 80 threads waiting.
enum { kNetworkWorkers = 16, kMaxParallelWorkers = 64 };

typedef void (*ParallelJob)(void* arg, int index);

// Runs job(arg, i) once for every i from 0 to count - 1 on at most `workers` threads at a time,
// the calling thread being one of them, and returns when every job has ended. Jobs are taken in
// index order. When the system refuses another thread, the threads already running share the
// remaining jobs; workers of 1 or less run every job on the calling thread, in order.
void run_parallel(int count, int workers, ParallelJob job, void* arg);

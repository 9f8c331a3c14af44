#include "core/parallel.h"

#include <atomic>
#include <system_error>
#include <thread>

namespace {
struct Queue {
    std::atomic<int> next{0};
    int count;
    ParallelJob job;
    void* arg;
};

void drain(Queue* queue) {
    for (;;) {
        int index = queue->next.fetch_add(1);
        if (index >= queue->count) return;
        queue->job(queue->arg, index);
    }
}
} // namespace

void run_parallel(int count, int workers, ParallelJob job, void* arg) {
    if (count <= 0 || !job) return;
    if (workers > count) workers = count;
    if (workers > kMaxParallelWorkers) workers = kMaxParallelWorkers;
    Queue queue;
    queue.count = count;
    queue.job = job;
    queue.arg = arg;
    std::thread helpers[kMaxParallelWorkers - 1];
    int started = 0;
    for (int k = 1; k < workers; ++k) {
        try {
            helpers[started] = std::thread(drain, &queue);
            ++started;
        } catch (const std::system_error&) {
            break; // the threads already going take the rest
        }
    }
    drain(&queue);
    for (int k = 0; k < started; ++k)
        helpers[k].join();
}

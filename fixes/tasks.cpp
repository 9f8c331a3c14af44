// Task dispatch. The verbs are added one by one as their routines are written; a verb this build
// does not know answers 87, exactly as an unknown verb always will.
#include "tasks.h"

uint32_t run_task(const wchar_t* verb, const wchar_t* argument) {
    (void)verb;
    (void)argument;
    return TaskBadVerb;
}

uint32_t cycle_spooler(int stop_first, int clear_folder) {
    (void)stop_first;
    (void)clear_folder;
    return TaskBadVerb;
}

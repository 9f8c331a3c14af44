// The road of one change: refused in demonstration mode or without the rights this run may use,
// carried out by the action runner, recorded in the change history, and told back as an outcome.
#include "fixes/actions.h"

#include "core/text.h"

void action_outcome_of(uint32_t result, const wchar_t* description, int32_t auto_net_test,
                       ActionOutcome* out) {
    *out = ActionOutcome{};
    out->result = result;
    if (!description) description = L"";
    if (result == TaskCanceled) {
        out->status = ActionCanceled;
        text_copy(out->statusText, _countof(out->statusText), L"Canceled \x2014 nothing was changed.");
        return;
    }
    if (result != TaskOk) {
        out->status = ActionFailed;
        wchar_t said[300];
        windows_error_text(result, said, _countof(said));
        build_failure_message(out->failureText, _countof(out->failureText), description, said, result);
        text_format(out->statusText, _countof(out->statusText), L"Did not work: %ls (error %lu)", description,
                    (unsigned long)result);
        // What did change is shown by a quick check; a network test would only delay it.
        out->checkAgain = 1;
        return;
    }
    out->status = ActionDone;
    text_format(out->statusText, _countof(out->statusText), L"Done: %ls", description);
    out->checkAgain = 1;
    out->checkWithNetwork = auto_net_test ? 1 : 0;
}

ActionOutcome run_change(const ChangePlan* plan, const RunnerEnv* env) {
    ActionOutcome out = {};
    if (!plan || !env) {
        action_outcome_of(TaskBadVerb, L"", 0, &out);
        return out;
    }
    if (env->demo) {
        out.status = ActionRefusedInDemo;
        return out;
    }
    if (plan->needsAdmin && !env->elevated && !env->mayElevate) {
        out.status = ActionNeedsAdmin;
        out.result = 5; // ERROR_ACCESS_DENIED
        text_format(out.statusText, _countof(out.statusText), L"Needs administrator: %ls", plan->description);
        return out;
    }
    const uint32_t result = run_action(plan->verb, plan->argument, env);
    action_outcome_of(result, plan->description, env->autoNetTest, &out);
    if (out.status == ActionDone) {
        if (env->record)
            env->record(env->ctx, plan->changeKind, plan->detail, plan->description);
        else
            record_change(plan->changeKind, plan->detail, plan->description);
        out.recorded = 1;
    }
    return out;
}

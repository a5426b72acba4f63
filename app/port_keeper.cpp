#include "app/port_keeper.h"

void StartPortRetries(PortKeeper& k, uint64_t nowMs) {
    if (k.retrying) return;
    k.retrying = true;
    k.nextTryMs = nowMs + PortRetryMs;
}

void StopPortRetries(PortKeeper& k) {
    k.retrying = false;
    k.attemptRunning = false;
    ++k.attempt;  // whatever is still under way is stale now
}

void PortsArrived(PortKeeper& k, uint64_t nowMs) {
    if (k.retrying) k.nextTryMs = nowMs;
}

bool PortRetryDue(PortKeeper& k, uint64_t nowMs) {
    if (!k.retrying || k.attemptRunning || nowMs < k.nextTryMs) return false;
    k.attemptRunning = true;
    ++k.attempt;
    return true;
}

bool PortAttemptEnded(PortKeeper& k, uint32_t attempt, bool opened, uint64_t nowMs) {
    if (!k.retrying || !k.attemptRunning || attempt != k.attempt) return false;
    k.attemptRunning = false;
    if (!opened) {
        k.nextTryMs = nowMs + PortRetryMs;
        return false;
    }
    k.retrying = false;
    return true;
}

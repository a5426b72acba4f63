// Keeping the chosen port open: after a port that could not be opened (the
// message was shown once) or one that vanished (a USB adapter pulled out),
// the program tries to open the same port again, quietly, about once a
// second and at once when the system announces new devices. Each attempt
// runs off the user-interface thread; its result may come after the user
// chose another port or the program began to close, and such a result is
// thrown away. Portable, so that the rules are tested without Windows;
// user-interface thread only.
#pragma once

#include <cstdint>

inline constexpr uint64_t PortRetryMs = 1000;

struct PortKeeper {
    bool retrying = false;
    bool attemptRunning = false;  // an open is under way off the thread
    uint32_t attempt = 0;         // number of the latest attempt started
    uint64_t nextTryMs = 0;       // when the next attempt is due
};

// The port failed to open or vanished: retries begin, the first after
// PortRetryMs.
void StartPortRetries(PortKeeper& k, uint64_t nowMs);

// Another port was chosen, the port is open again, or the program closes:
// no more attempts, and a result still under way is thrown away.
void StopPortRetries(PortKeeper& k);

// The system announced new devices: the next attempt is due at once.
void PortsArrived(PortKeeper& k, uint64_t nowMs);

// On every timer tick: true when an attempt is to start now; it is then
// counted as running, with the number `k.attempt`.
bool PortRetryDue(PortKeeper& k, uint64_t nowMs);

// An attempt has ended. True when its open port is to be used; false when
// it failed (the next attempt follows PortRetryMs later) or is stale (its
// port, if any, is to be closed).
bool PortAttemptEnded(PortKeeper& k, uint32_t attempt, bool opened, uint64_t nowMs);

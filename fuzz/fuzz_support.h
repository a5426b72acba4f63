// Shared by the fuzz targets: a fresh program state per input, and the
// invariants that must hold whatever arrived.
#pragma once

#include <cstddef>
#include <cstdint>

// Start-up tables and link state, nothing else.
void FuzzResetTables();

// Start-up tables and link state; the first bytes of the input (consumed)
// set up pending user changes and requests so the answer path is exercised.
void FuzzFreshStart(const uint8_t*& data, size_t& size);

// Aborts when the receiver or the link variables left their ranges.
void FuzzCheckInvariants();

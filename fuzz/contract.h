// Stopping a fuzz run when a result breaks its contract: the message names
// the contract, and abort() makes libFuzzer print the stack and keep the
// input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>

inline void require(bool holds, const char* contract) {
    if (!holds) {
        std::fprintf(stderr, "contract broken: %s\n", contract);
        std::abort();
    }
}

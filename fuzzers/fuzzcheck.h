// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <cstdlib>

// Stops the run when a property of the engine under test does not hold. libFuzzer takes the
// abort for a crash and keeps the input that caused it, like any sanitizer report.
#define KELSA_FUZZ_CHECK(condition)                                                                \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "==ERROR: Kelsa fuzz check failed at %s:%d: %s\n", __FILE__,      \
                __LINE__, #condition);                                                             \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// A check that stops a fuzz run with the failed condition, like a crash.
#pragma once

#include <cstdio>
#include <cstdlib>

#define check(cond)                                                                 \
    do {                                                                            \
        if (!(cond)) {                                                              \
            std::fprintf(stderr, "check failed at line %d: %s\n", __LINE__, #cond);  \
            std::abort();                                                           \
        }                                                                           \
    } while (0)

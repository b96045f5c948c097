#pragma once
// The shared corpora beside the project (../shared). A developer without
// them skips the tests that read them; under CI (CI=true) they must be there,
// so a missing corpus fails instead of passing silently.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace corvan::test {

inline std::string SharedDir() {
    return CORVAN_SHARED_DIR;
}

inline bool CorpusRequired() {
    const char* ci = std::getenv("CI");
    return ci && std::strcmp(ci, "true") == 0;
}

}  // namespace corvan::test

// Use in a test body: ends the test (skipped, or failed under CI) when
// `present` is false.
#define CORVAN_REQUIRE_CORPUS(present, what)                                    \
    do {                                                                        \
        if (!(present)) {                                                       \
            if (::corvan::test::CorpusRequired()) FAIL() << "missing " << what; \
            GTEST_SKIP() << "no " << what;                                      \
        }                                                                       \
    } while (0)

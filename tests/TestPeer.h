#pragma once

#include <QTest>

// Skips the test where a server it needs cannot run because its package is missing. Where
// the build found the package, as in CI, a server that cannot run is a failure instead.
#define REQUIRE_PEER(unavailableReason, required)                                                  \
    do {                                                                                           \
        if (const QString reason = (unavailableReason); !reason.isEmpty()) {                       \
            if (required)                                                                          \
                QFAIL(qPrintable(reason));                                                         \
            QSKIP(qPrintable(reason));                                                             \
        }                                                                                          \
    } while (false)

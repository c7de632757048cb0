#pragma once

#include "imaging/BatchObserver.h"

// Hears every report of a run and keeps none; override what a test wants to see.
class QuietObserver : public BatchObserver
{
public:
    void status(const QString&) override {}
    void message(const QString&) override {}
    void progressRange(int) override {}
    void progressStep() override {}
    void progressReset() override {}
    void transferProgress(const TransferProgress&) override {}
    void renamed(int, const QString&) override {}
    void notRenamed(int, const QString&, std::error_code) override {}
    void unreadable(int, const QString&, DecodeFailure) override {}
    void notWritten(int, const QString&, const OutputFailure&) override {}
};

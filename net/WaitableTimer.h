#pragma once

#include "net/Wait.h"

#include <chrono>

// A periodic timer over a timerfd on the monotonic clock. Auto-reset: a successful wait
// consumes the signal, and ticks that were missed meanwhile do not pile up.
class CWaitableTimer final : public IWaitable
{
public:
    // Starts the timer at once when the period is not zero.
    explicit CWaitableTimer(std::chrono::milliseconds period = std::chrono::milliseconds{0});
    ~CWaitableTimer();
    CWaitableTimer(const CWaitableTimer&) = delete;
    CWaitableTimer& operator=(const CWaitableTimer&) = delete;

    // The first tick is due at once, then one every period.
    void Start(std::chrono::milliseconds period);
    void Stop();

    int WaitDescriptor() const override { return m_fd; }
    bool Acquire() override;

private:
    int m_fd = -1;
};

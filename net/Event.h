#pragma once

#include "net/Wait.h"

#include <chrono>
#include <optional>

// An event object over an eventfd. Auto-reset by default: a successful wait consumes the
// signal, so one Set releases exactly one wait. A manual-reset event stays signalled until
// Reset. Set may be called from any thread.
class CEvent final : public IWaitable
{
public:
    explicit CEvent(bool initiallySignalled = false, bool manualReset = false);
    ~CEvent();
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;

    void Set();
    void Reset();
    // Waits for the signal (for ever without a time-out); true when it was signalled.
    bool Wait(std::optional<std::chrono::milliseconds> timeout = std::nullopt);
    bool IsManualReset() const { return m_manualReset; }

    int WaitDescriptor() const override { return m_fd; }
    bool Acquire() override;

private:
    int m_fd = -1;
    bool m_manualReset = false;
};

#pragma once

#include "query/QueryEngine.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

// Records what scans report, for tests. Thread-safe.
class CRecordingListener : public IScanListener
{
public:
    struct Report
    {
        CServer* record;
        CSockAddr address;
        std::int32_t tries;
        std::int32_t ping;
    };

    // Called on the worker before a report is recorded; may block or throw.
    std::function<void(CServer&)> beforeReport;

    void OnServerQueried(CServer& server, unsigned /*scan*/) override
    {
        if (beforeReport)
            beforeReport(server);
        std::lock_guard lock(m_mutex);
        m_reports.push_back(Report{&server, server.address, server.tries, server.ping});
        m_calls.push_back("queried");
    }
    void OnScanError(const std::string& text, unsigned scan) override
    {
        std::lock_guard lock(m_mutex);
        m_calls.push_back("error " + std::to_string(scan) + ": " + text);
    }
    void OnScanEnded(unsigned scan) override
    {
        std::lock_guard lock(m_mutex);
        m_calls.push_back("ended " + std::to_string(scan));
        ++m_ended;
        m_changed.notify_all();
    }

    bool WaitEnded(std::size_t count, std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, timeout, [&] { return m_ended >= count; });
    }
    std::size_t Ended() const { return Locked(m_ended); }
    std::vector<Report> Reports() const { return Locked(m_reports); }
    // Every call in order: "queried", "error <scan>: <text>", "ended <scan>".
    std::vector<std::string> Calls() const { return Locked(m_calls); }

private:
    template <typename T>
    T Locked(const T& value) const
    {
        std::lock_guard lock(m_mutex);
        return value;
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Report> m_reports;
    std::vector<std::string> m_calls;
    std::size_t m_ended = 0;
};

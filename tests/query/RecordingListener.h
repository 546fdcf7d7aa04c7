#pragma once

#include "query/QueryEngine.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

// Records what a scan reports, for tests. Thread-safe.
class CRecordingListener : public IScanListener
{
public:
    struct Report
    {
        CServer* record = nullptr;
        CSockAddr address;
        unsigned scan = 0;
        std::int32_t tries = 0;
        std::int32_t ping = 0;
        std::int32_t gameType = 0;
        std::size_t vars = 0;
        std::size_t players = 0;
    };

    // Called (on the worker) before a report is recorded; may block or throw.
    std::function<void(CServer&)> beforeReport;

    void OnServerQueried(CServer& server, unsigned scan) override
    {
        if (beforeReport)
            beforeReport(server);
        std::lock_guard lock(m_mutex);
        m_reports.push_back(Report{&server, server.address, scan, server.tries, server.ping,
                                   server.gameType, server.vars.size(), server.players.size()});
        m_calls.push_back("queried");
    }
    void OnScanError(const std::string& text, unsigned scan) override
    {
        std::lock_guard lock(m_mutex);
        m_errors.push_back(text);
        m_calls.push_back("error " + std::to_string(scan));
    }
    void OnScanEnded(unsigned scan) override
    {
        {
            std::lock_guard lock(m_mutex);
            m_ended.push_back(scan);
            m_calls.push_back("ended " + std::to_string(scan));
        }
        m_changed.notify_all();
    }

    // Waits until `count` scans have ended.
    bool WaitEnded(std::size_t count, std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, timeout, [&] { return m_ended.size() >= count; });
    }

    std::vector<Report> Reports() const
    {
        std::lock_guard lock(m_mutex);
        return m_reports;
    }
    std::vector<std::string> Errors() const
    {
        std::lock_guard lock(m_mutex);
        return m_errors;
    }
    std::vector<unsigned> Ended() const
    {
        std::lock_guard lock(m_mutex);
        return m_ended;
    }
    std::vector<std::string> Calls() const
    {
        std::lock_guard lock(m_mutex);
        return m_calls;
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Report> m_reports;
    std::vector<std::string> m_errors;
    std::vector<unsigned> m_ended;
    std::vector<std::string> m_calls;
};

#pragma once

#include <windows.h>

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

// Watches a long run from its own thread. Every half minute it prints how many calls the stand-in's journal
// holds; once the journal has stood still for two minutes it prints what this process shows and the
// programs it has started and theirs, so that a run that stalls on a build machine says where it stands.
class RunWatch
{
  public:
    explicit RunWatch(std::filesystem::path journal);
    RunWatch(const RunWatch&) = delete;
    RunWatch& operator=(const RunWatch&) = delete;
    ~RunWatch();

    // Runs measure while the watch is between two looks, holding no file or window of its own, so that a
    // count of the process's handles and objects sees nothing of the watch's.
    template <typename Measure> auto WhileIdle(Measure measure)
    {
        std::lock_guard lock(m_mutex);
        return measure();
    }

  private:
    void Watch();

    const std::filesystem::path m_journal;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::thread m_thread;
};

#include "settings/settings_saver.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace vexa {
namespace {

class TSaver {
public:
    ~TSaver() {
        // The program ends only after its last result is on disk.
        {
            std::lock_guard lock(Mutex_);
            Stopping_ = true;
        }
        Wake_.notify_all();
        if (Worker_.joinable()) Worker_.join();
    }

    void Post(std::function<bool()> save) {
        {
            std::lock_guard lock(Mutex_);
            Queue_.push_back(std::move(save));
            if (!Worker_.joinable()) Worker_ = std::thread([this] { Run(); });
        }
        Wake_.notify_all();
    }

    void Wait() {
        std::unique_lock lock(Mutex_);
        Idle_.wait(lock, [this] { return Queue_.empty() && !Busy_; });
    }

private:
    void Run() {
        std::unique_lock lock(Mutex_);
        for (;;) {
            Wake_.wait(lock, [this] { return Stopping_ || !Queue_.empty(); });
            if (Queue_.empty()) return;  // stopping, and nothing left
            std::function<bool()> save = std::move(Queue_.front());
            Queue_.pop_front();
            Busy_ = true;
            lock.unlock();
            (void)save();  // a failed save is not reported, as a direct one is not
            lock.lock();
            Busy_ = false;
            if (Queue_.empty()) Idle_.notify_all();
        }
    }

    std::mutex Mutex_;
    std::condition_variable Wake_;
    std::condition_variable Idle_;
    std::deque<std::function<bool()>> Queue_;
    bool Busy_ = false;
    bool Stopping_ = false;
    std::thread Worker_;
};

std::atomic<bool> gInBackground{false};

TSaver& Saver() {
    static TSaver saver;
    return saver;
}

}  // namespace

void SetSettingsSavesInBackground(bool on) {
    if (!on) WaitForSettingsSaves();
    gInBackground.store(on);
}

bool RunSettingsSave(std::function<bool()> save) {
    if (!gInBackground.load()) return save();
    Saver().Post(std::move(save));
    return true;
}

void WaitForSettingsSaves() {
    if (gInBackground.load()) Saver().Wait();
}

}  // namespace vexa

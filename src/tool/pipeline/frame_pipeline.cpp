#include "tool/pipeline/frame_pipeline.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <limits>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace velmire::cli {
namespace {

constexpr std::int64_t kNoEnd = std::numeric_limits<std::int64_t>::max();

class Pipeline {
 public:
  Pipeline(int threads, const FrameStages& stages, std::int64_t frames_in_flight)
      : stages_(stages),
        threads_(std::max(threads, 1)),
        window_(frames_in_flight > 0 ? frames_in_flight : 2 * std::int64_t(threads_)) {}

  std::int64_t Run() {
    std::vector<std::thread> workers;
    for (int i = 0; i < threads_; ++i) workers.emplace_back([this] { Work(); });
    try {
      Drain();
    } catch (...) {
      Stop();
      for (std::thread& t : workers) t.join();
      throw;
    }
    for (std::thread& t : workers) t.join();
    if (error_) std::rethrow_exception(error_);
    return next_to_consume_;
  }

 private:
  // Worker: takes the next frame number while the window has room, and produces it.
  void Work() {
    while (true) {
      std::int64_t n;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] {
          return stopped_ || next_to_issue_ >= end_ || next_to_issue_ < next_to_consume_ + window_;
        });
        if (stopped_ || next_to_issue_ >= end_) return;
        n = next_to_issue_++;
      }
      try {
        if (!stages_.frame_exists(n)) {
          Finish(n, nullptr);
          continue;
        }
        Y4mFrame frame = stages_.produce(n);
        std::lock_guard lock(mutex_);
        ready_.emplace(n, std::move(frame));
      } catch (...) {
        Finish(n, std::current_exception());
      }
      changed_.notify_all();
    }
  }

  // The clip ends before frame n, because it has no frame n or frame n failed.
  void Finish(std::int64_t n, std::exception_ptr error) {
    std::lock_guard lock(mutex_);
    if (n < end_) {
      end_ = n;
      error_ = error;
    }
    changed_.notify_all();
  }

  // Caller's thread: hands the frames on in order until the end.
  void Drain() {
    while (true) {
      Y4mFrame frame;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] {
          return ready_.count(next_to_consume_) != 0 || next_to_consume_ >= end_;
        });
        const auto it = ready_.find(next_to_consume_);
        if (it == ready_.end()) return;
        frame = std::move(it->second);
        ready_.erase(it);
      }
      stages_.consume(next_to_consume_, frame);
      {
        std::lock_guard lock(mutex_);
        ++next_to_consume_;
      }
      changed_.notify_all();
    }
  }

  void Stop() {
    {
      std::lock_guard lock(mutex_);
      stopped_ = true;
    }
    changed_.notify_all();
  }

  const FrameStages& stages_;
  const int threads_;
  // Frames issued but not yet consumed: two per thread, so that every thread can start its
  // next frame while its last one waits to be handed on in order (frames finish out of
  // order); more would only hold memory without keeping the threads busier.
  const std::int64_t window_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::int64_t next_to_issue_ = 0;
  std::int64_t next_to_consume_ = 0;
  std::int64_t end_ = kNoEnd;
  std::exception_ptr error_;
  std::map<std::int64_t, Y4mFrame> ready_;
  bool stopped_ = false;
};

}  // namespace

std::int64_t RunFramePipeline(int threads, const FrameStages& stages,
                              std::int64_t frames_in_flight) {
  return Pipeline(threads, stages, frames_in_flight).Run();
}

}  // namespace velmire::cli

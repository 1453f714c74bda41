#pragma once
// One worker thread that runs file jobs in the order they were posted, so the window never
// waits for a disk. Destroying it runs the jobs still queued, then ends the thread.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace kl {

class TBackgroundWriter {
 public:
  TBackgroundWriter();
  ~TBackgroundWriter();
  TBackgroundWriter(const TBackgroundWriter&) = delete;
  TBackgroundWriter& operator=(const TBackgroundWriter&) = delete;

  void Post(std::function<void()> job);
  // Returns when every job posted before the call has run.
  void WaitUntilIdle();

 private:
  void Run();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::deque<std::function<void()>> jobs_;
  bool busy_ = false;
  bool stopping_ = false;
  std::thread thread_;  // last: started once the members it uses exist
};

}  // namespace kl

#pragma once
// Search across the journal as the window uses it. The window's searches read the index on the
// window's own thread (in WAL mode a reader never waits for a writer); every write goes to
// worker threads with connections of their own: the writer, which records saved and renamed
// entries in the order they happen, and the start-up check, which brings the index in line
// with the journal's files. Their news reaches the window through its event loop.

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kl {

class TSearchIndex;

class TJournalSearch : public QObject {
 public:
  TJournalSearch();
  ~TJournalSearch() override;

  // Opens the index file at indexPath (setting aside one that cannot serve) and starts the
  // check of the journal at AppFolder, both on worker threads: returns at once.
  void Start(const std::string& indexPath);
  // Finishes the writes handed over so far, stops the check, and waits for both.
  void Stop();

  // Handed to the writer; the caller never waits.
  void EntrySaved(int number, const std::string& title, const std::string& path);
  void EntryRenamed(int number, const std::string& title);

  // Every matching entry's number, best first, from what is indexed so far; empty while the
  // index is not open or cannot serve.
  std::vector<int> RankedMatches(const std::string& query);
  // One entry's snippet, the matched words between «guillemets».
  std::string Snippet(const std::string& query, int number);

  bool Indexing() const { return indexing_; }
  int EntriesChecked() const { return checked_; }
  int EntriesToCheck() const { return toCheck_; }
  // Waits until the writer has recorded everything handed to it so far (tests, closing).
  void WaitForWrites();

  // Raised on the window's thread: the check moved on or finished.
  std::function<void()> OnProgress;
  // Raised on the window's thread: rows changed, so results may have changed.
  std::function<void()> OnIndexChange;
  // Raised on the window's thread, once, when the index file was set aside and is rebuilt.
  std::function<void(const std::string& message)> OnMessage;

 private:
  using Job = std::function<void(TSearchIndex&)>;

  void RunCheck();
  void RunWriter();
  void Post(std::function<void()> step);
  void Hand(Job job);
  TSearchIndex* Reader();

  std::string path_;
  std::unique_ptr<TSearchIndex> reader_;  // the window's connection

  std::thread check_;
  std::thread writer_;
  std::atomic<bool> stopCheck_{false};

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::deque<Job> jobs_;
  bool opened_ = false;   // the check has opened (or made) the index file
  bool finish_ = false;   // the writer ends once its queue is empty
  bool writing_ = false;  // a job is running

  bool indexing_ = false;
  int checked_ = 0;
  int toCheck_ = 0;
};

}  // namespace kl

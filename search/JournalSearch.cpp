#include "search/JournalSearch.h"

#include <QMetaObject>

#include "search/JournalCheck.h"
#include "search/SearchIndex.h"

namespace kl {
namespace {

// The window's own connection waits only a moment for a lock: a search that cannot read now
// answers nothing, and the next keystroke tries again.
constexpr int kWindowWaitMs = 100;

}  // namespace

TJournalSearch::TJournalSearch() = default;

TJournalSearch::~TJournalSearch() {
  Stop();
}

void TJournalSearch::Start(const std::string& indexPath) {
  Stop();
  path_ = indexPath;
  stopCheck_ = false;
  finish_ = false;
  opened_ = false;
  indexing_ = true;
  checked_ = 0;
  toCheck_ = 0;
  check_ = std::thread([this] { RunCheck(); });
  writer_ = std::thread([this] { RunWriter(); });
}

void TJournalSearch::Stop() {
  stopCheck_ = true;
  if (check_.joinable()) check_.join();
  {
    std::lock_guard lock(mutex_);
    finish_ = true;
    opened_ = true;  // a writer still waiting for the file gives up on it
  }
  wake_.notify_all();
  if (writer_.joinable()) writer_.join();
  reader_.reset();
  indexing_ = false;
}

void TJournalSearch::Post(std::function<void()> step) {
  QMetaObject::invokeMethod(this, std::move(step), Qt::QueuedConnection);
}

void TJournalSearch::RunCheck() {
  std::unique_ptr<TSearchIndex> index;
  try {
    std::string message;
    index = OpenSearchIndex(path_, message);
    if (!message.empty())
      Post([this, message] {
        if (OnMessage) OnMessage(message);
      });
  } catch (const std::exception&) {
    // No index can be made (the folder refuses files): searching finds nothing.
  }
  {
    std::lock_guard lock(mutex_);
    opened_ = true;
  }
  wake_.notify_all();
  if (index) {
    const auto progress = [this](int done, int total) {
      Post([this, done, total] {
        checked_ = done;
        toCheck_ = total;
        if (OnProgress) OnProgress();
        if (OnIndexChange) OnIndexChange();
      });
    };
    try {
      CheckJournal(*index, progress, &stopCheck_);
    } catch (const TSearchIndexUnusable&) {
      // Damaged while it was checked: set aside and built again from nothing.
      try {
        index.reset();
        std::string message;
        index = OpenSearchIndex(path_, message);
        CheckJournal(*index, progress, &stopCheck_);
      } catch (const std::exception&) {
      }
    } catch (const std::exception&) {
      // The journal's index cannot be read now; the next start checks again.
    }
  }
  Post([this] {
    indexing_ = false;
    if (OnProgress) OnProgress();
    if (OnIndexChange) OnIndexChange();
  });
}

void TJournalSearch::RunWriter() {
  {
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return opened_; });
  }
  std::unique_ptr<TSearchIndex> index;
  for (;;) {
    Job job;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return finish_ || !jobs_.empty(); });
      if (jobs_.empty()) break;
      job = std::move(jobs_.front());
      jobs_.pop_front();
      writing_ = true;
    }
    // One try on the open file, one on a fresh one: a row that cannot be written is read
    // again by the next start's check.
    for (int attempt = 0; attempt < 2; ++attempt) {
      try {
        if (!index) {
          std::string message;
          index = OpenSearchIndex(path_, message);
        }
        job(*index);
        break;
      } catch (const std::exception&) {
        index.reset();
      }
    }
    {
      std::lock_guard lock(mutex_);
      writing_ = false;
    }
    idle_.notify_all();
    Post([this] {
      if (OnIndexChange) OnIndexChange();
    });
  }
  idle_.notify_all();
}

void TJournalSearch::Hand(Job job) {
  {
    std::lock_guard lock(mutex_);
    if (!writer_.joinable()) return;
    jobs_.push_back(std::move(job));
  }
  wake_.notify_all();
}

void TJournalSearch::WaitForWrites() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return (jobs_.empty() && !writing_) || !writer_.joinable(); });
}

void TJournalSearch::EntrySaved(int number, const std::string& title, const std::string& path) {
  Hand([number, title, path](TSearchIndex& index) { IndexEntryFile(index, number, title, path); });
}

void TJournalSearch::EntryRenamed(int number, const std::string& title) {
  Hand([number, title](TSearchIndex& index) {
    TSearchIndex::Batch batch(index);
    index.Rename(number, title);
    batch.Commit();
  });
}

TSearchIndex* TJournalSearch::Reader() {
  if (reader_) return reader_.get();
  {
    std::lock_guard lock(mutex_);
    if (!opened_) return nullptr;
  }
  try {
    reader_ = std::make_unique<TSearchIndex>(path_, kWindowWaitMs);
  } catch (const std::exception&) {
    return nullptr;
  }
  return reader_.get();
}

std::vector<int> TJournalSearch::RankedMatches(const std::string& query) {
  TSearchIndex* index = Reader();
  if (!index) return {};
  try {
    return index->RankedMatches(query);
  } catch (const std::exception&) {
    reader_.reset();  // opened again by the next search
    return {};
  }
}

std::string TJournalSearch::Snippet(const std::string& query, int number) {
  TSearchIndex* index = Reader();
  if (!index) return {};
  try {
    return index->Snippet(query, number);
  } catch (const std::exception&) {
    reader_.reset();
    return {};
  }
}

}  // namespace kl

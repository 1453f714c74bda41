#pragma once
// The system calls by which files reach the disk. The durable writer makes them through this
// table, so that a test can make one of them fail (a disk that refuses to flush, a full disk)
// and see the writer's answer, with everything else real.

#include <sys/types.h>

namespace files {

struct SystemCalls {
  ssize_t (*write)(int fd, const void* data, size_t size);
  int (*fdatasync)(int fd);
  int (*fsync)(int fd);
  int (*close)(int fd);
  int (*rename)(const char* from, const char* to);
};

// The calls in force: the system's own unless a test installed others.
const SystemCalls& Calls();

// Puts other calls in force for its lifetime (tests), then the previous ones back.
class ScopedSystemCalls {
 public:
  explicit ScopedSystemCalls(const SystemCalls& calls);
  ~ScopedSystemCalls();
  ScopedSystemCalls(const ScopedSystemCalls&) = delete;
  ScopedSystemCalls& operator=(const ScopedSystemCalls&) = delete;

 private:
  SystemCalls previous_;
};

// The system's calls, for a test to start from and change one.
SystemCalls RealSystemCalls();

}  // namespace files

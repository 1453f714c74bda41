#pragma once
// Byte streams: the abstract stream with a position, and the memory, file and string streams
// the editor loads from and saves to.

#include <cstdint>

namespace kl {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
 public:
  virtual ~TStream() = default;
  // Reads up to count bytes; answers how many were read (0 at the end, -1 on a read failure).
  virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
  // Writes count bytes; answers how many were written (fewer, or -1, on a failure).
  virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
  // Moves the position; answers the new position from the beginning (-1 on a failure).
  virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

  std::int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(std::int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
  virtual std::int64_t Size();

  // Reads or writes exactly count bytes, raising kl::Exception when that is not possible.
  void ReadBuffer(void* buffer, std::int64_t count);
  void WriteBuffer(const void* buffer, std::int64_t count);
};

}  // namespace kl

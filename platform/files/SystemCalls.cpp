#include "platform/files/SystemCalls.h"

#include <unistd.h>

#include <cstdio>

namespace files {
namespace {

SystemCalls& InForce() {
  static SystemCalls calls = RealSystemCalls();
  return calls;
}

}  // namespace

SystemCalls RealSystemCalls() {
  return SystemCalls{&::write, &::fdatasync, &::fsync, &::close, &::rename};
}

const SystemCalls& Calls() {
  return InForce();
}

ScopedSystemCalls::ScopedSystemCalls(const SystemCalls& calls) : previous_(InForce()) {
  InForce() = calls;
}

ScopedSystemCalls::~ScopedSystemCalls() {
  InForce() = previous_;
}

}  // namespace files

// This test program carries a version record of its own, so that the store reads a version
// from the running program's file as it does in the real program.
#include "platform/version/VersionRecord.h"

KL_DEFINE_VERSION_RECORD(2, 5, 7, 9);

#pragma once
#include "storage/Status.h"

namespace versilla::song {

/// Outcome of writing a song: success, or a failure with a readable text (what
/// and, for files, which path). Nothing in this library throws or prints; every
/// failure comes back as one of these. The same type the table layer returns.
using SongStatus = storage::Status;

} // namespace versilla::song

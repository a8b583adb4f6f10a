#pragma once

#include <QString>

// File replacement that never leaves a half-written or missing target: the
// new content goes to a temporary file beside the target, which is renamed
// over it only once it is complete.
namespace FileOps {

// Copies source over target. Returns false, leaving target untouched, when
// source cannot be read or the new file cannot be written. source and target
// may name the same file.
bool replaceFile(const QString &source, const QString &target);

// Copies source to target only when target does not exist yet; an existing
// target is never changed. Returns true when the copy was made.
bool copyNewFile(const QString &source, const QString &target);

// Gives an existing file a fresh modification time, so that cached copies
// of an INI file formerly at that path are not taken for its content.
void touch(const QString &path);

// Why a file could not be written, as far as a probe beside it tells: the
// file or its folder refuses writing, or the folder's volume takes no more
// data (full, or a size limit reached).
enum class WriteProblem { ReadOnly, DiskFull, Other };
WriteProblem writeProblem(const QString &path);

} // namespace FileOps

// Replacing a file's whole content so that a crash at any moment leaves either the old file or
// the new one, never a mixture: the bytes go to a temporary file in the same folder, which is
// flushed to the disk and then renamed over the target.
#pragma once

#include <QByteArray>
#include <QString>

namespace sw::platform {

// Writes `bytes` as the new content of `path`. Refuses (returns false, leaves the file as it
// was) when the folder is missing or not writable, or when the file exists and is read-only.
// An existing file keeps its permissions; a symbolic link keeps pointing at its target, whose
// content is replaced.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes);

// Fault injection for tests of the crash guarantee: the hook runs at two moments of every
// write. A test process may end itself there (as a crash would) and its parent then inspects
// the file.
enum class AtomicWriteStage {
    TemporaryHalfWritten,  // half of the new content is in the temporary file
    BeforeRename,          // the temporary file is complete and flushed; the target is untouched
};
using AtomicWriteHook = void (*)(AtomicWriteStage);
void SetAtomicWriteHook(AtomicWriteHook hook);

}  // namespace sw::platform

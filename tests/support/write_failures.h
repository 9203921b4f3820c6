#pragma once
// Writes that fail as on a full disk or a folder the user may not write: the
// operation runs in a child process with a small limit or without root rights.
#include <QByteArray>
#include <functional>

namespace testing_support {

// op runs in a child whose files are limited to limitBytes (writes past it
// fail with EFBIG); returns what op returned there, false when the child died.
bool underFileSizeLimit(long long limitBytes, const std::function<bool()>& op);
// The same with at most maxFiles files open at once (EMFILE past it).
bool underOpenFileLimit(long long maxFiles, const std::function<bool()>& op);
// The same for an op returning a small number (0 to 255); -1 when the child died.
int codeUnderFileSizeLimit(long long limitBytes, const std::function<int()>& op);
// op runs in a child with no more rights than an ordinary user (root gives
// its rights up), so that permissions stop its writes.
int codeWithoutRootRights(const std::function<int()>& op);

}  // namespace testing_support

#pragma once
// Writes that fail as on a full disk: the operation runs in a child process
// whose file-size limit is small (writes past it fail with EFBIG).
#include <QByteArray>
#include <functional>

namespace testing_support {

// Runs op in a child process with files limited to limitBytes; returns what op
// returned there (false also when the child died).
bool underFileSizeLimit(long long limitBytes, const std::function<bool()>& op);
// The same with at most maxFiles files open at once (EMFILE past it).
bool underOpenFileLimit(long long maxFiles, const std::function<bool()>& op);

// The same for an op that returns a small number (0 to 255); -1 when the
// child died.
int codeUnderFileSizeLimit(long long limitBytes, const std::function<int()>& op);

// Runs op in a child process that has no more rights than an ordinary user
// (root gives its rights up), so that permissions stop its writes; returns
// what op returned there, -1 when the child died.
int codeWithoutRootRights(const std::function<int()>& op);

}  // namespace testing_support

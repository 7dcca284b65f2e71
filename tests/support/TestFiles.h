#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <functional>

namespace zelkora {

// File helpers that more than one test file needs.

// The bytes of a file; fails the running test when it cannot be opened.
QByteArray readBytes(const QString& path);
// A file made of bytes, replacing any file of that name; fails the running test when it cannot.
void writeBytes(const QString& path, const QByteArray& bytes);

// Runs body with files limited to maxBytes: writes beyond it fail with EFBIG ("File too large")
// instead of killing the process. The limit is lifted again afterwards.
void withFileSizeLimit(std::size_t maxBytes, const std::function<void()>& body);

// Runs body while another thread rewrites the file in place, cut to a third and whole again in
// turns, as another program saving it would.
void whileRewritten(const QString& path, const std::function<void()>& body);

// Runs body in a child process; a failure, an exception or the death of the child fails the
// calling test. Whatever body changes in the process (a limit, the user) ends with the child.
void inChildProcess(const std::function<void()>& body);

// Runs body in a child process and fails the calling test when the child's resident memory grew
// by extraBytes or more at its peak. A sanitizer's own bookkeeping counts too, so tests that use
// it are left out of the sanitizer run.
void expectPeakMemoryBelow(std::size_t extraBytes, const std::function<void()>& body);

// Runs body in a child process for which file permissions hold: as root, CI's user, the child
// drops to the user "nobody"; any other user keeps itself. body gets a folder of its own that
// this user may write, removed afterwards. Failures inside body fail the calling test.
void asUnprivilegedUser(const std::function<void(const QString& dir)>& body);

}  // namespace zelkora

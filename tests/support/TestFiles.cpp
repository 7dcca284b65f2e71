#include "tests/support/TestFiles.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <cstdio>
#include <exception>

QByteArray readBytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size()) << path.toStdString();
}

void withFileSizeLimit(std::size_t maxBytes, const std::function<void()>& body) {
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = saved;
    tight.rlim_cur = static_cast<rlim_t>(maxBytes);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
    body();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
}

void asUnprivilegedUser(const std::function<void(const QString& dir)>& body) {
    QTemporaryDir top;
    ASSERT_TRUE(top.isValid());
    const QString dir = top.filePath(QStringLiteral("unprivileged"));
    ASSERT_TRUE(QDir().mkdir(dir));
    const bool root = ::geteuid() == 0;
    uid_t uid = 0;
    gid_t gid = 0;
    if (root) {
        const passwd* nobody = ::getpwnam("nobody");
        ASSERT_NE(nobody, nullptr) << "no user nobody to drop to";
        uid = nobody->pw_uid;
        gid = nobody->pw_gid;
        ASSERT_EQ(::chmod(QFile::encodeName(top.path()).constData(), 0755), 0);
        ASSERT_EQ(::chown(QFile::encodeName(dir).constData(), uid, gid), 0);
    }
    std::fflush(nullptr);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::alarm(60);  // a child that hangs is ended, and fails the test
        if (root && (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)) {
            std::fputs("cannot drop to the user nobody\n", stderr);
            ::_exit(2);
        }
        int status = 0;
        try {
            body(dir);
            status = testing::Test::HasFailure() ? 1 : 0;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "unexpected exception: %s\n", e.what());
            status = 3;
        } catch (...) {
            std::fputs("unexpected exception\n", stderr);
            status = 3;
        }
        std::fflush(nullptr);
        ::_exit(status);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the unprivileged part failed (wait status " << status << ")";
}

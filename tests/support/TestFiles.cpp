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
#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <thread>

namespace zelkora {

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

void whileRewritten(const QString& path, const std::function<void()>& body) {
    const QByteArray whole = readBytes(path);
    std::atomic<bool> done = false;
    std::thread writer([&] {
        for (int i = 0; !done; ++i) {
            QFile file(path);
            if (file.open(QIODevice::ReadWrite)) {
                file.resize(i % 2 ? whole.size() / 3 : 0);
                if (i % 2 == 0) {
                    file.write(whole);
                }
            }
        }
    });
    body();
    done = true;
    writer.join();
}

void inChildProcess(const std::function<void()>& body) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::alarm(60);  // a child that hangs is ended, and fails the test
        int status = 0;
        try {
            body();
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
        << "the part in the child process failed (wait status " << status << ")";
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
    inChildProcess([&] {
        if (root && (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)) {
            FAIL() << "cannot drop to the user nobody";
        }
        body(dir);
    });
}

namespace {

// A "Vm..." figure of /proc/self/status in bytes.
std::size_t statusBytes(const char* field) {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) {
        return 0;
    }
    char line[256];
    std::size_t kib = 0;
    const std::size_t fieldLength = std::strlen(field);
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, field, fieldLength) == 0 && line[fieldLength] == ':') {
            kib = std::strtoull(line + fieldLength + 1, nullptr, 10);
            break;
        }
    }
    std::fclose(status);
    return kib * 1024;
}

}  // namespace

void expectPeakMemoryBelow(std::size_t extraBytes, const std::function<void()>& body) {
    inChildProcess([&] {
        // Resets the peak to what is resident now.
        std::FILE* clearRefs = std::fopen("/proc/self/clear_refs", "w");
        ASSERT_NE(clearRefs, nullptr);
        ASSERT_EQ(std::fputs("5", clearRefs), 1);
        ASSERT_EQ(std::fclose(clearRefs), 0);
        const std::size_t before = statusBytes("VmRSS");
        ASSERT_GT(before, 0u);
        body();
        const std::size_t peak = statusBytes("VmHWM");
        EXPECT_LT(peak - std::min(peak, before), extraBytes)
            << "peak resident memory " << peak / 1024 << " KiB, " << before / 1024 << " KiB before";
    });
}

}  // namespace zelkora

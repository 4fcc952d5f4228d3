#include "app/single_instance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QUuid>
#include <gtest/gtest.h>

#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace lavodc {
namespace {

QString uniqueKey()
{
    return QStringLiteral("lavodc-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

TEST(SingleInstanceTest, SecondCopyIsRefusedAndTheFirstComesForward)
{
    const QString key = uniqueKey();
    SingleInstance first(key);
    QSignalSpy comeForward(&first, &SingleInstance::comeForwardRequested);
    int firstTold = 0;
    ASSERT_TRUE(StartOrHandOver(first, [&] { ++firstTold; }));
    EXPECT_EQ(firstTold, 0);

    SingleInstance second(key);
    int secondTold = 0;
    EXPECT_FALSE(StartOrHandOver(second, [&] { ++secondTold; }));
    EXPECT_EQ(secondTold, 1);
    EXPECT_FALSE(second.isPrimary());
    EXPECT_TRUE(comeForward.wait(2000));
    EXPECT_EQ(comeForward.count(), 1);
}

TEST(SingleInstanceTest, ASecondCopyStartedOnAFileHandsItOverWithoutItsMessage)
{
    const QString key = uniqueKey();
    SingleInstance first(key);
    ASSERT_TRUE(first.tryBecomePrimary());
    QSignalSpy opened(&first, &SingleInstance::openRequested);
    QSignalSpy comeForward(&first, &SingleInstance::comeForwardRequested);

    // Any byte of a file name gets through, a line break included.
    const QStringList paths = {QStringLiteral("/home/사용자/자료/3월 현장.Lvo"),
                               QStringLiteral("/tmp/odd\nname.LVO")};
    for (const QString& path : paths) {
        SingleInstance later(key);
        int told = 0;
        EXPECT_FALSE(StartOrHandOver(later, [&] { ++told; }, path));
        EXPECT_EQ(told, 0);
    }
    while (opened.count() < paths.size() && opened.wait(2000)) {
    }
    ASSERT_EQ(opened.count(), paths.size());
    EXPECT_EQ(opened.at(0).at(0).toString(), paths[0]);
    EXPECT_EQ(opened.at(1).at(0).toString(), paths[1]);
    EXPECT_EQ(comeForward.count(), 0);
}

TEST(SingleInstanceTest, AFileWithNobodyToTakeItStillEndsWithTheMessage)
{
    const QString key = uniqueKey();
    SingleInstance later(key);
    // A lock held without a listening copy: the running copy hangs or is just starting.
    QLockFile lock(later.lockPath());
    ASSERT_TRUE(lock.tryLock(0));
    int told = 0;
    EXPECT_FALSE(StartOrHandOver(later, [&] { ++told; }, QStringLiteral("/tmp/a.Lvo")));
    EXPECT_EQ(told, 1);
}

TEST(SingleInstanceTest, TheLockIsFreeAgainWhenTheFirstCopyEnds)
{
    const QString key = uniqueKey();
    {
        SingleInstance first(key);
        ASSERT_TRUE(first.tryBecomePrimary());
    }
    SingleInstance next(key);
    EXPECT_TRUE(next.tryBecomePrimary());
}

TEST(SingleInstanceTest, AskingWithoutARunningCopyReportsNoAnswer)
{
    SingleInstance lonely(uniqueKey());
    EXPECT_FALSE(lonely.askPrimaryToComeForward(200));
}

// Sets (or, with nothing, unsets) an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<QString>& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name))
    {
        if (value)
            qputenv(name, QFile::encodeName(*value));
        else
            qunsetenv(name);
    }
    ~ScopedEnv()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

struct PlaceCase {
    const char* label;
    std::optional<const char*> user;
    enum Runtime { Scratch, Unset, Empty, Missing } runtime;
};

void PrintTo(const PlaceCase& c, std::ostream* out) { *out << c.label; }

class LockPlaceTest : public ::testing::TestWithParam<PlaceCase> {};

// Keyed by the numeric user id in the user's runtime folder: an unset or borrowed USER (su,
// sudo, a service) neither shares another account's lock nor blocks it.
TEST_P(LockPlaceTest, TheLockIsTheNumericUsersInTheRuntimeFolder)
{
    const PlaceCase& c = GetParam();
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    std::optional<QString> runtime;
    QString folder = QDir::tempPath();
    switch (c.runtime) {
    case PlaceCase::Scratch:
        runtime = folder = scratch.path();
        break;
    case PlaceCase::Unset:
        break;
    case PlaceCase::Empty:
        runtime = QString();
        break;
    case PlaceCase::Missing:
        runtime = scratch.path() + QStringLiteral("/gone");
        break;
    }
    ScopedEnv user("USER", c.user ? std::optional<QString>(QString::fromUtf8(*c.user)) : std::nullopt);
    ScopedEnv xdg("XDG_RUNTIME_DIR", runtime);

    const QString key = SingleInstance::defaultKey();
    EXPECT_EQ(key, QStringLiteral("lavodc-%1").arg(::geteuid()));
    EXPECT_EQ(SingleInstance::RuntimeFolder(), folder);
    if (c.runtime != PlaceCase::Scratch)
        return;   // nothing is locked outside a scratch folder
    SingleInstance first(key);
    EXPECT_EQ(first.lockPath(), folder + QStringLiteral("/lavodc-%1.lock").arg(::geteuid()));
    ASSERT_TRUE(first.tryBecomePrimary());
    EXPECT_TRUE(QFile::exists(first.lockPath()));
    // The socket lies beside the lock: a later copy finds the first one there.
    SingleInstance later(key);
    EXPECT_FALSE(StartOrHandOver(later, [] {}));
}

INSTANTIATE_TEST_SUITE_P(
    Environments, LockPlaceTest,
    ::testing::Values(PlaceCase{"UserSet", "kim", PlaceCase::Scratch},
                      PlaceCase{"UserUnset", std::nullopt, PlaceCase::Scratch},
                      PlaceCase{"UserOfAnotherAccount", "root", PlaceCase::Scratch},
                      PlaceCase{"NoRuntimeFolder", "kim", PlaceCase::Unset},
                      PlaceCase{"EmptyRuntimeFolder", "kim", PlaceCase::Empty},
                      PlaceCase{"RuntimeFolderMissing", "kim", PlaceCase::Missing}),
    [](const ::testing::TestParamInfo<PlaceCase>& info) { return std::string(info.param.label); });

struct LeftoverCase {
    const char* label;
    QByteArray contents;
    bool otherOwner;   // the file belongs to another account (root only can set that up)
};

void PrintTo(const LeftoverCase& c, std::ostream* out) { *out << c.label; }

class LeftoverLockTest : public ::testing::TestWithParam<LeftoverCase> {};

TEST_P(LeftoverLockTest, ALockFileWhoseProcessIsGoneNeverBlocksAStart)
{
    const LeftoverCase& c = GetParam();
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    ScopedEnv xdg("XDG_RUNTIME_DIR", runtime.path());
    SingleInstance next(uniqueKey());
    {
        QFile leftover(next.lockPath());
        ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
        leftover.write(c.contents);
    }
    if (c.otherOwner) {
        if (::geteuid() != 0)
            GTEST_SKIP() << "only root can give a file to another user";
        ASSERT_EQ(::chown(QFile::encodeName(next.lockPath()).constData(), 65534, 65534), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(next.lockPath()).constData(), 0644), 0);
    }
    EXPECT_TRUE(next.tryBecomePrimary());
}

// What a copy that crashed or was killed leaves: a pid that no longer runs (pid_max is at most
// 4194304), possibly from before the machine was renamed, or a file cut short.
INSTANTIATE_TEST_SUITE_P(
    Leftovers, LeftoverLockTest,
    ::testing::Values(LeftoverCase{"Empty", QByteArray(), false},
                      LeftoverCase{"GonePidOnThisMachine", QByteArray("4194305\nlavodc\n") + QSysInfo::machineHostName().toUtf8() + "\n", false},
                      LeftoverCase{"GonePidUnderAnotherMachineName", "4194305\nlavodc\nold-name\n", false},
                      LeftoverCase{"Garbage", "\x01\x02 not a lock", false},
                      LeftoverCase{"OfAnotherAccount", "4194305\nlavodc\nold-name\n", true}),
    [](const ::testing::TestParamInfo<LeftoverCase>& info) { return std::string(info.param.label); });

TEST(SingleInstanceTest, ALockHeldByAnotherProcessRefusesUntilThatProcessIsGone)
{
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    ScopedEnv xdg("XDG_RUNTIME_DIR", runtime.path());
    const QString key = uniqueKey();
    SingleInstance probe(key);

    // Another process takes the lock the system's way and keeps it while it runs.
    QProcess holder;
    // Without a fork, so that the process killed below is the one holding the lock.
    holder.start(QStringLiteral("flock"), {QStringLiteral("--exclusive"), QStringLiteral("--no-fork"), probe.lockPath(),
                                           QStringLiteral("sleep"), QStringLiteral("60")});
    if (!holder.waitForStarted(5000))
        GTEST_SKIP() << "flock(1) is not there to hold a lock from another process";
    bool held = false;
    for (int i = 0; i < 100 && !held; ++i) {
        SingleInstance attempt(key);
        held = !attempt.tryBecomePrimary();
        if (!held)
            QThread::msleep(50);   // flock has not taken it yet
    }
    ASSERT_TRUE(held);

    holder.kill();   // gone without any chance to tidy up
    ASSERT_TRUE(holder.waitForFinished(5000));
    EXPECT_TRUE(QFile::exists(probe.lockPath()));
    SingleInstance next(key);
    EXPECT_TRUE(next.tryBecomePrimary());
}

} // namespace
} // namespace lavodc

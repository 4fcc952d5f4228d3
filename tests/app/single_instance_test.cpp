#include "app/single_instance.h"

#include <QCoreApplication>
#include <QDir>
#include <QLockFile>
#include <QSignalSpy>
#include <QUuid>
#include <gtest/gtest.h>

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
    // A lock held without a listening copy: the running copy hangs or is just starting.
    QLockFile lock(QDir::temp().filePath(key + QStringLiteral(".lock")));
    ASSERT_TRUE(lock.tryLock(0));
    SingleInstance later(key);
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

} // namespace
} // namespace lavodc

#include "app/single_instance.h"

#include <QCoreApplication>
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

// The per-user lock that keeps a second start out.
#include "app/single_instance.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(SingleInstance, HeldLockKeepsTheNextOneOutUntilItsOwnerEnds)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto first = std::make_unique<zw::SingleInstance>(dir.path());
    ASSERT_TRUE(first->acquire());
    zw::SingleInstance second(dir.path());
    EXPECT_FALSE(second.acquire());

    first.reset();
    zw::SingleInstance third(dir.path());
    EXPECT_TRUE(third.acquire());
}

TEST(SingleInstance, DirectoryWhereNoLockCanBeMadeDoesNotKeepTheProgramFromStarting)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("a-file"));
    QFile plain(file);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();

    zw::SingleInstance instance(QDir(file).filePath(QStringLiteral("below-a-file")));
    EXPECT_TRUE(instance.acquire());
}

} // namespace

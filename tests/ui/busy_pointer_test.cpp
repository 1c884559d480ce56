#include "ui/busy_pointer.h"

#include <QCursor>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

bool busy()
{
    const QCursor *pointer = QGuiApplication::overrideCursor();
    return pointer && pointer->shape() == Qt::WaitCursor;
}

} // namespace

TEST(BusyPointer, ShowsWhileItLivesEvenNestedAndGoesOnEveryWayOut)
{
    ASSERT_FALSE(busy());
    {
        const BusyPointer outer;
        EXPECT_TRUE(busy());
        {
            const BusyPointer inner; // a long action inside another
        }
        EXPECT_TRUE(busy());
    }
    EXPECT_FALSE(busy());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    try {
        const BusyPointer duringFailure;
        throw std::runtime_error("the work failed");
    } catch (const std::runtime_error &) {
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

#include "FailureText.h"
#include "FileSystemError.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace plimbo;

TEST(FailureTextTest, EveryFailureBecomesText) {
    EXPECT_EQ(describeFailure(std::make_exception_ptr(FileSystemError("/x", "The disk is full."))),
              "The disk is full.");
    // A library's own exception keeps its message, read as UTF-8.
    EXPECT_EQ(describeFailure(std::make_exception_ptr(std::runtime_error("Größe überschritten"))),
              QString::fromUtf8("Größe überschritten"));
    EXPECT_EQ(describeFailure(std::make_exception_ptr(7)), "Unknown error");
}

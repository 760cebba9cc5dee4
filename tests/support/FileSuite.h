#pragma once
// The base of test suites that make their files once, in a private temporary folder: the
// suite's own SetUpTestSuite makes folder_ and its files and sets ready_; every test stops
// at once when they could not be made, and the folder goes with the suite.
#include <gtest/gtest.h>

#include <string>

#include "support/ImageTestFiles.h"

namespace testing_support {

template <class Suite>
class FileSuite : public ::testing::Test {
protected:
    static void TearDownTestSuite() { image_test_files::RemoveTempFolder(folder_); }
    void SetUp() override { ASSERT_TRUE(ready_) << "a tool failed to make the files in " << folder_; }

    static inline std::string folder_;
    static inline bool ready_ = false;
};

}  // namespace testing_support

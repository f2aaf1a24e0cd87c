// Include in exactly one source file of a test program that needs widgets: a QApplication
// lives from before the first test until after the last, and is gone before the program exits.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace sw::testing {

class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "stripewright-tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

  private:
    std::unique_ptr<QApplication> app_;
};

inline ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace sw::testing

// The application object reports an exception escaping an event handler and goes on.
#include <gtest/gtest.h>

#include <QEvent>
#include <stdexcept>

#include "platform/handlers.h"
#include "support/fake_desktop.h"

namespace sw::platform {
namespace {

testing::FakeDesktop g_desktop;
int g_argc = 1;
char g_name[] = "stripewright";
char* g_argv[] = {g_name, nullptr};

class ApplicationEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { app_ = std::make_unique<Application>(g_argc, g_argv, g_desktop); }
    void TearDown() override { app_.reset(); }

  private:
    std::unique_ptr<Application> app_;
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

class Thrower : public QObject {
  public:
    int handled = 0;
    bool event(QEvent* e) override {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        if (++handled == 1)
            throw std::runtime_error("'abc' is not a valid integer value");
        return true;
    }
};

TEST(Application, ShowsTheErrorOfAnEventHandlerAndCarriesOn) {
    Thrower thrower;
    QEvent first(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&thrower, &first));
    ASSERT_EQ(g_desktop.errors.size(), 1);
    EXPECT_EQ(g_desktop.errors[0], "'abc' is not a valid integer value");
    QEvent second(QEvent::User);
    EXPECT_TRUE(QCoreApplication::sendEvent(&thrower, &second));
    EXPECT_EQ(thrower.handled, 2);
    EXPECT_EQ(g_desktop.errors.size(), 1);
}

}  // namespace
}  // namespace sw::platform

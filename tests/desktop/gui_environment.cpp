// One application object for every window test, made by the program's own
// class so the exception handler is the one under test.
#include "shell/ui/application.h"

#include <gtest/gtest.h>

namespace {

class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_desktop";
        static char* argv[] = {name, nullptr};
        app_ = new corvan::CorvanApplication(argc, argv);
    }
    void TearDown() override {
        delete app_;
        app_ = nullptr;
    }

private:
    corvan::CorvanApplication* app_ = nullptr;
};

[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

}  // namespace

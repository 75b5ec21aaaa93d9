#pragma once

#include <QObject>

#include <functional>
#include <vector>

// Every test class of a folder registers itself here; the folder's main makes the application object its tests
// need and runs them in turn.
namespace testing {

using TestFactory = std::function<QObject*()>;

std::vector<TestFactory>& registeredTests();

inline int registerTest(TestFactory factory)
{
    registeredTests().push_back(std::move(factory));
    return 0;
}

// Windows are tried on the smallest screen the program is made for: under the offscreen platform its screen is
// set to 1024x768 (its own default is 800x800). Called before the application object is made.
void preparaTelaDeTeste();

// Runs every registered test class with the command line's options, once the application object exists. Options
// (such as -v2 or -o file,txt) go to each class; test functions named on the command line ("navegacao",
// "TestTraco::navegacao", "renomear:nome livre") go only to the class that has them, and a name no class has is
// an error. Returns the process's exit status.
int runRegisteredTests(int argc, char** argv);

} // namespace testing

#define QUENVAR_TEST(Class)                                                                                            \
    namespace {                                                                                                        \
    const int registered##Class = testing::registerTest([] { return new Class; });                                     \
    }

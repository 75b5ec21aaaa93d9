#pragma once

#include <QObject>

#include <functional>
#include <vector>

// Every test class of a folder registers itself here; the shared main runs them in turn.
namespace testing {

using TestFactory = std::function<QObject*()>;

std::vector<TestFactory>& registeredTests();

inline int registerTest(TestFactory factory)
{
    registeredTests().push_back(std::move(factory));
    return 0;
}

} // namespace testing

#define QUENVAR_TEST(Class)                                                                                            \
    namespace {                                                                                                        \
    const int registered##Class = testing::registerTest([] { return new Class; });                                     \
    }

#include "testregistry.h"

#include <QApplication>
#include <QLocale>
#include <QTest>

#include <memory>

namespace testing {

std::vector<TestFactory>& registeredTests()
{
    static std::vector<TestFactory> tests;
    return tests;
}

} // namespace testing

// Runs every registered test class; arguments (such as -v2 or a function name) go to each of them.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    int failures = 0;
    for (const auto& factory : testing::registeredTests()) {
        std::unique_ptr<QObject> test(factory());
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}

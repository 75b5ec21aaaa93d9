#include "testregistry.h"

#include <QCoreApplication>

// The main of the test folders whose code needs neither windows nor painting.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return testing::runRegisteredTests(argc, argv);
}

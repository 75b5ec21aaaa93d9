#include "testregistry.h"

#include <QApplication>

// The main of the test folders whose tests open windows.
int main(int argc, char** argv)
{
    testing::preparaTelaDeTeste();
    QApplication app(argc, argv);
    return testing::runRegisteredTests(argc, argv);
}

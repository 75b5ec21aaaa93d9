#include "testregistry.h"

#include <QGuiApplication>

// The main of the test folders whose tests paint (fonts, pictures, PDF) but open no window.
int main(int argc, char** argv)
{
    testing::preparaTelaDeTeste();
    QGuiApplication app(argc, argv);
    return testing::runRegisteredTests(argc, argv);
}

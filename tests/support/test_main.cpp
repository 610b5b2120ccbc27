#include <QApplication>
#include <gtest/gtest.h>

// Every test program runs with an application object (widgets under the offscreen platform).
// The regional settings are the machine's (CTest runs the book and report tests under both the
// Brazilian and the C locale): the program must not depend on them.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

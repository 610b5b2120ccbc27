#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

// Every test program runs with an application object (widgets under the offscreen platform)
// and the Brazilian regional settings, unless a test pins others itself.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

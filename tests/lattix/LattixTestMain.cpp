#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

// Widget tests need one QApplication for the whole run; without a screen they use the
// offscreen platform.
int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

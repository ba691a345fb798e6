// The tests of the editor's windows run inside one application object, on
// Qt's offscreen platform unless another one is asked for.
#include <QApplication>
#include <QByteArray>
#include <QStandardPaths>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    testing::InitGoogleTest(&argc, argv);
    // Qt's own settings (file dialogs keep some) go to a test location.
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}

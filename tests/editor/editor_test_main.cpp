// The editor's tests run inside one application object, on Qt's offscreen
// platform unless another one is asked for.
#include "editor/editor_application.h"

#include <QByteArray>
#include <QStandardPaths>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    testing::InitGoogleTest(&argc, argv);
    // Qt's own settings (file dialogs keep some) go to a test location.
    QStandardPaths::setTestModeEnabled(true);
    pagora::PagoraApplication application(argc, argv);
    pagora::installJapaneseTranslations(application);
    // An error box would wait for a click that never comes.
    application.setErrorHandler([](const QString& text) {
        ADD_FAILURE() << "an error escaped to the application: " << text.toStdString();
    });
    return RUN_ALL_TESTS();
}

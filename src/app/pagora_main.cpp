#include "editor/editor_application.h"

int main(int argc, char** argv) {
    pagora::PagoraApplication application(argc, argv);
    return pagora::runEditor(application);
}

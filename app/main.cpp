#include <QApplication>

#include "ui/qt/app_identity.h"
#include "ui/qt/file_save.h"
#include "ui/qt/main_window.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    tarvel::ui::applyApplicationIdentity();
    tarvel::ui::keepFileDialogsFromSavingState();
    tarvel::ui::MainWindow window;
    window.show();
    return QApplication::exec();
}

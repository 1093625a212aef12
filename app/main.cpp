#include <QApplication>

#include "ui/qt/main_window.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tarvel");
    tarvel::ui::MainWindow window;
    window.show();
    return QApplication::exec();
}

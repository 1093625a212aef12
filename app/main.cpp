#include <QApplication>
#include <QTextStream>

#include "ui/qt/app_identity.h"
#include "ui/qt/lab_launch.h"
#include "ui/qt/main_window.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    tarvel::ui::applyApplicationIdentity();
    // The one argument is a study file (*.tarvel), which opens the lab.
    const QStringList arguments = QApplication::arguments().mid(1);
    if (arguments.size() > 1) {
        QTextStream(stderr) << "Usage: tarvel [STUDY.tarvel]\n";
        return 2;
    }
    tarvel::ui::MainWindow window;
    window.show();
    if (!arguments.isEmpty())
        if (const std::optional<QString> why =
                tarvel::ui::openLabWithStudy(window, arguments.front()))
            QTextStream(stderr) << *why << "\n";
    return QApplication::exec();
}

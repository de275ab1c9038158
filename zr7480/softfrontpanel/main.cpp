#include <QApplication>
#include <QSplashScreen>

#include "app/zr6200fp_app.h"
#include "zr7480fp/zr7480_fc.h"
#include "zr7480fp/zr7480fp_App.h"
#include "zr7480fp/zr7480fp_splash.h"
#include "zr7480fp/zr7480fp_version.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zr7480sfp"));
    QApplication::setApplicationVersion(QStringLiteral(ZR_VERSION));
    zr7480_fc card;

    auto *splash = new QSplashScreen(zr7480fp_splash::picture(card));
    splash->show();

    {
        // Connects (or ends the program) inside its constructor.
        zr7480fp_App window(&card);
        centerWidget(&window);
        window.show();
        splash->finish(&window);
        QApplication::exec();
        delete splash;
    }
    return 0;
}

#include <QApplication>
#include <QSplashScreen>

#include "zr6200fp_app.h"
#include "zr6200fp_splashLabel.h"
#include "zr7480_fc.h"
#include "zr7480fp_App.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zr7480sfp"));
    QApplication::setApplicationVersion(QStringLiteral(ZR_VERSION));
    zr7480_fc card;

    QString description = card.getDescription();
    description.replace(QLatin1String(" FC"), QLatin1String(" Function Card"));
    auto *splash =
        new QSplashScreen(zr6200fp_splashLabel(1.0f, 20, card.modelCode, true, card.getCopyright(), description));
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

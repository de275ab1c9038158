#include <QApplication>
#include <QSplashScreen>

#include "zr6200fp_splashLabel.h"
#include "zr7480_fc.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    zr7480_fc card;
    QString description = card.getDescription();
    description.replace(QLatin1String(" FC"), QLatin1String(" Function Card"));
    auto *splash = new QSplashScreen(
        zr6200fp_splashLabel(1.0f, 20, card.modelCode, true, card.getCopyright(), description));
    splash->show();
    app.processEvents();
    delete splash;
    return 0;
}

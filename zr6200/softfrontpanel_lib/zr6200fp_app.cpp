#include "zr6200fp_app.h"

#include <QGuiApplication>
#include <QScreen>

void centerWidget(QWidget *w)
{
    const QScreen *screen = QGuiApplication::screens().value(0);
    if (!screen || !w)
        return;
    const QRect available = screen->availableGeometry();
    const QRect g = w->geometry();
    w->move((available.width() - g.width()) / 2, (available.height() - g.height()) / 2);
}

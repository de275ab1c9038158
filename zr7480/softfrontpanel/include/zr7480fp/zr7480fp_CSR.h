#pragma once

#include <QWidget>

#include "visa.h"

class QComboBox;
class QPushButton;
class zr6200fp_genFC;
class zr6200fp_led;
class zr7480fp_App;

// The "Command/Status" page: the card's three commands and, on request,
// its status in two lamps. Every button press is one driver call.
class zr7480fp_CSR final : public QWidget
{
    Q_OBJECT
public:
    zr7480fp_CSR(zr7480fp_App *window, zr6200fp_genFC *card);

    QComboBox *edgeCombo = nullptr;
    zr6200fp_led *ddsErrorLed = nullptr;
    zr6200fp_led *syncStatusLed = nullptr;
    ViSession session = 0;

public slots:
    void arm();
    void fpso();
    void reset();
    void update();

signals:
    // After a reset that did not fail, and after Reset in demo mode: the
    // card holds its defaults again.
    void cardReset();

private:
    QPushButton *button(const QString &text, const QString &help, void (zr7480fp_CSR::*slot)());
};

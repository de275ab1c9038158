#pragma once

#include <QString>

#include "fc/zr6200fp_AppFC.h"
#include "visa.h"

class QTabWidget;
class zr7480fp_CSR;
class zr7480fp_Config;

// The card's main window: the function-card window base (which connects
// at construction) with the Configuration and Command/Status pages.
class zr7480fp_App final : public zr6200fp_AppFC
{
    Q_OBJECT
public:
    explicit zr7480fp_App(zr6200fp_genFC *card);
    ~zr7480fp_App() override;

    // The About dialog's hardware texts.
    static QString serialNumberText(ViUInt32 serialNumber);
    static QString deviceModelText(const QString &optionCode);

    // What the pages and tests read of the connection's outcome.
    ViSession driverSession() const { return session; }
    bool inDemoMode() const { return demoMode != 0; }
    zr6200fp_About *about() const { return aboutDialog; }

    QTabWidget *tabs = nullptr;
    zr7480fp_Config *configPage = nullptr;
    zr7480fp_CSR *csrPage = nullptr;

private:
    void addHardwareInfo();
};

#include "zr7480fp/zr7480fp_App.h"

#include <QTabWidget>
#include <QVBoxLayout>

#include "about/zr6200fp_About.h"
#include "driver/zr6200fp_driverText.h"
#include "zr7480.h"
#include "zr7480fp/zr7480fp_CSR.h"
#include "zr7480fp/zr7480fp_Config.h"
#include "zr7480fp_cardCall.h"

zr7480fp_App::zr7480fp_App(zr6200fp_genFC *card)
    : zr6200fp_AppFC(card, 0, false)
{
    auto *layout = new QVBoxLayout;
    tabs = new QTabWidget(this);
    tabs->setAccessibleName(tr("Pages"));
    setPanelLayout(layout);
    layout->addWidget(tabs);

    configPage = new zr7480fp_Config(this, card);
    tabs->addTab(configPage, tr("Configuration"));
    csrPage = new zr7480fp_CSR(this, card);
    tabs->addTab(csrPage, tr("Command/Status"));
    // The page must not go on showing what the card no longer holds.
    connect(csrPage, &zr7480fp_CSR::cardReset, configPage, &zr7480fp_Config::showStartValues);
    // The frame's column was made first and would take the keyboard first:
    // the window opens on the page tabs, and Tab goes through the page, then
    // the column.
    tabs->setFocus();

    addHardwareInfo();
}

zr7480fp_App::~zr7480fp_App() = default;

QString zr7480fp_App::serialNumberText(ViUInt32 serialNumber)
{
    return QStringLiteral("%1").arg(serialNumber, 8, 16, QLatin1Char('0'));
}

QString zr7480fp_App::deviceModelText(const QString &optionCode)
{
    return QStringLiteral("7480-%1").arg(optionCode);
}

void zr7480fp_App::addHardwareInfo()
{
    if (demoMode) {
        aboutDialog->addHardwareInfo(tr("74809481 (DEMO)"), tr("1.0.1.0 (DEMO)"), tr("7480-AA (DEMO)"));
        return;
    }
    for (int i = 0; i < fcCount; ++i) {
        ViUInt32 serialNumber = 0;
        // The driver writes short texts; the buffers leave room and stay terminated.
        ViChar option[16] = {};
        ZR_CARD_CALL_UNLESS_DEMO_EXIT_ON_ERROR(zr7480_getSerialNumber, session, &serialNumber, option);
        ViChar driverRevision[ZR7480_DRIVER_REVISION_SIZE] = {};
        ViChar instrumentRevision[ZR7480_DRIVER_REVISION_SIZE] = {};
        ZR_CARD_CALL_UNLESS_DEMO_EXIT_ON_ERROR(zr7480_revision_query, session, driverRevision, instrumentRevision);
        aboutDialog->addHardwareInfo(serialNumberText(serialNumber),
                                     zr6200fp_driverText::fromBuffer(instrumentRevision),
                                     deviceModelText(zr6200fp_driverText::fromBuffer(option)));
    }
}

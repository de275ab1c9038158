#include "zr7480fp_CSR.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "zr6200fp_driverTrace.h"
#include "zr6200fp_led.h"
#include "zr7480.h"
#include "zr7480fp_App.h"
#include "zr7480fp_status.h"

zr7480fp_CSR::zr7480fp_CSR(zr7480fp_App *window, zr6200fp_genFC *)
    : session(window->driverSession())
{
    auto *page = new QVBoxLayout(this);

    auto *syncOutBox = new QGroupBox(tr("Front Panel Sync Out"));
    auto *syncOutGrid = new QGridLayout(syncOutBox);
    syncOutGrid->setAlignment(Qt::AlignCenter);
    syncOutGrid->addWidget(new QLabel(tr("Edge")), 0, 0);
    edgeCombo = new QComboBox;
    edgeCombo->addItems({tr("Falling"), tr("Raising")});
    edgeCombo->setWhatsThis(tr("Specifies to which clock edge the generated signal will be synchronized."));
    syncOutGrid->addWidget(edgeCombo, 0, 1);
    auto *pulseButton = new QPushButton(tr("Pulse"));
    pulseButton->setWhatsThis(tr("Generates the pulse of the Front Panel Synch signal."));
    connect(pulseButton, &QPushButton::clicked, this, &zr7480fp_CSR::fpso);
    syncOutGrid->addWidget(pulseButton, 0, 2);
    page->addWidget(syncOutBox);

    auto *statusBox = new QGroupBox(tr("Status"));
    statusBox->setWhatsThis(tr("Shows the status of the function card."));
    auto *statusGrid = new QGridLayout(statusBox);
    statusGrid->setAlignment(Qt::AlignCenter);
    // An invalid off colour, not the palette marker: the lamps' dark state
    // does not follow the palette.
    const QColor offColor{QString()};
    statusGrid->addWidget(new QLabel(tr("DDS Error")), 1, 0);
    ddsErrorLed = new zr6200fp_led(QString(), QColor(Qt::red), offColor, nullptr);
    ddsErrorLed->setWhatsThis(tr("Shows the status of DDS Update procedure."));
    statusGrid->addWidget(ddsErrorLed, 1, 1);
    statusGrid->addWidget(new QLabel(tr("Sync Status")), 1, 2);
    syncStatusLed = new zr6200fp_led(QString(), QColor(Qt::red), offColor, nullptr);
    syncStatusLed->setWhatsThis(tr("Shows whether the DDS synchronization complete or not."));
    statusGrid->addWidget(syncStatusLed, 1, 3);
    auto *updateButton = new QPushButton(tr("Update"));
    updateButton->setWhatsThis(tr("Retrieves the current status of the function card."));
    connect(updateButton, &QPushButton::clicked, this, &zr7480fp_CSR::update);
    statusGrid->addWidget(updateButton, 1, 4);
    page->addWidget(statusBox);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *armButton = new QPushButton(tr("Arm"));
    armButton->setWhatsThis(tr("Performs \"ARM\" command on the function card."));
    connect(armButton, &QPushButton::clicked, this, &zr7480fp_CSR::arm);
    buttons->addWidget(armButton);
    auto *resetButton = new QPushButton(tr("Reset"));
    resetButton->setWhatsThis(tr("Performs Software Reset command on the function card."));
    connect(resetButton, &QPushButton::clicked, this, &zr7480fp_CSR::reset);
    buttons->addWidget(resetButton);
    buttons->addStretch();
    page->addLayout(buttons);
}

void zr7480fp_CSR::arm()
{
    if (session)
        checkDriverStatus(ZR_DRIVER_CALL(zr7480_arm, session));
}

void zr7480fp_CSR::fpso()
{
    if (session)
        checkDriverStatus(ZR_DRIVER_CALL(zr7480_fpSyncPulse, session, edgeCombo->currentIndex()));
}

void zr7480fp_CSR::reset()
{
    if (session)
        checkDriverStatus(ZR_DRIVER_CALL(zr7480_reset, session));
}

void zr7480fp_CSR::update()
{
    if (!session)
        return;
    ViUInt16 syncState = 0;
    ViInt16 ddsError = 0;
    checkDriverStatus(ZR_DRIVER_CALL(zr7480_getStatus, session, &syncState, &ddsError));
    ddsErrorLed->setValue(ddsError);
    syncStatusLed->setValue(syncState == 0 ? 1 : 0);
}

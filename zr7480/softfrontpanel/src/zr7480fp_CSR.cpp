#include "zr7480fp/zr7480fp_CSR.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <limits>

#include "app/zr6200fp_help.h"
#include "led/zr6200fp_led.h"
#include "zr7480.h"
#include "zr7480fp/zr7480fp_App.h"
#include "zr7480fp_cardCall.h"
#include "zr7480fp_pageLayout.h"

using namespace zr7480fp_pageLayout;

zr7480fp_CSR::zr7480fp_CSR(zr7480fp_App *window, zr6200fp_genFC *)
    : session(window->driverSession())
{
    auto *page = new QVBoxLayout(this);

    auto *syncOutBox = new QGroupBox(tr("Front Panel Sync Out"));
    auto *syncOutGrid = centredGrid(syncOutBox);
    edgeCombo = combo({tr("Falling"), tr("Raising")},
                      tr("Specifies to which clock edge the generated signal will be synchronized."));
    addRow(syncOutGrid, 0, 0, tr("Edge"), edgeCombo);
    syncOutGrid->addWidget(
        button(tr("Pulse"), tr("Generates the pulse of the Front Panel Synch signal."), &zr7480fp_CSR::fpso), 0, 2);
    page->addWidget(syncOutBox);

    auto *statusBox = new QGroupBox(tr("Status"));
    zr6200fp_help::setHelp(statusBox, tr("Shows the status of the function card."));
    auto *statusGrid = centredGrid(statusBox);
    // An invalid off colour, not the palette marker: the lamps' dark state
    // does not follow the palette.
    const QColor offColor{QString()};
    ddsErrorLed = new zr6200fp_led(QString(), QColor(Qt::red), offColor, nullptr);
    zr6200fp_help::setHelp(ddsErrorLed, tr("Shows the status of DDS Update procedure."));
    addRow(statusGrid, 1, 0, tr("DDS Error"), ddsErrorLed);
    syncStatusLed = new zr6200fp_led(QString(), QColor(Qt::red), offColor, nullptr);
    zr6200fp_help::setHelp(syncStatusLed, tr("Shows whether the DDS synchronization complete or not."));
    addRow(statusGrid, 1, 2, tr("Sync Status"), syncStatusLed);
    statusGrid->addWidget(
        button(tr("Update"), tr("Retrieves the current status of the function card."), &zr7480fp_CSR::update), 1, 4);
    page->addWidget(statusBox);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button(tr("Arm"), tr("Performs \"ARM\" command on the function card."), &zr7480fp_CSR::arm));
    buttons->addWidget(
        button(tr("Reset"), tr("Performs Software Reset command on the function card."), &zr7480fp_CSR::reset));
    buttons->addStretch();
    page->addLayout(buttons);
}

QPushButton *zr7480fp_CSR::button(const QString &text, const QString &help, void (zr7480fp_CSR::*slot)())
{
    auto *pushButton = new QPushButton(text);
    zr6200fp_help::setHelp(pushButton, help);
    connect(pushButton, &QPushButton::clicked, this, slot);
    return pushButton;
}

void zr7480fp_CSR::arm()
{
    ZR_CARD_CALL_UNLESS_DEMO_EXIT_ON_ERROR(zr7480_arm, session);
}

void zr7480fp_CSR::fpso()
{
    ZR_CARD_CALL_UNLESS_DEMO_EXIT_ON_ERROR(zr7480_fpSyncPulse, session, edgeCombo->currentIndex());
}

void zr7480fp_CSR::reset()
{
    // A failed reset has ended the program.
    ZR_CARD_CALL_UNLESS_DEMO_EXIT_ON_ERROR(zr7480_reset, session);
    emit cardReset();
}

void zr7480fp_CSR::update()
{
    // The driver answers 0 or 1 for the sync state and 0 or -1 for the DDS
    // error: a word still holding its mark was not written (a warning can
    // come without a status), and its lamp keeps what it showed.
    constexpr ViUInt16 kSyncUnread = 0xFFFF;
    constexpr ViInt16 kDdsUnread = std::numeric_limits<ViInt16>::min();
    ViUInt16 syncState = kSyncUnread;
    ViInt16 ddsError = kDdsUnread;
    if (!ZR_CARD_CALL_UNLESS_DEMO_EXIT_ON_ERROR(zr7480_getStatus, session, &syncState, &ddsError))
        return;
    if (ddsError != kDdsUnread)
        ddsErrorLed->setValue(ddsError);
    if (syncState != kSyncUnread)
        syncStatusLed->setValue(syncState == 0 ? 1 : 0);
}
